// The folders and files that the framework's file dialogs open with, and the
// folders remembered per dialog name. Setters copy; null stores "".
#include "zozud/io/IOState.h"

namespace zozud {

namespace {

cIO_FileDialogPref* FindPref(const char* key) {
    for (cIO_FileDialogPref& pref : cIO_Facade().dialogPrefs)
        if (pref.key == (key ? key : "")) return &pref;
    return nullptr;
}

}  // namespace

const cStr& cIO::GetModelAnimCameraBspDialogsInitialPath() { return cIO_Facade().modelAnimCameraBspPath; }
void cIO::SetModelAnimCameraBspDialogsInitialPath(const char* path) { cIO_Facade().modelAnimCameraBspPath = path; }
void cIO::SetModelDialogInitialFile(const char* file) { cIO_Facade().modelFile = file; }
void cIO::SetAnimDialogInitialFile(const char* file) { cIO_Facade().animFile = file; }
void cIO::SetBspDialogInitialFile(const char* file) { cIO_Facade().bspFile = file; }
void cIO::SetCameraDialogInitialFile(const char* file) { cIO_Facade().cameraFile = file; }

const cStr& cIO::GetSoundDialogInitialPath() { return cIO_Facade().soundPath; }
void cIO::SetSoundDialogInitialPath(const char* path) { cIO_Facade().soundPath = path; }
const cStr& cIO::GetSoundDialogInitialFile() { return cIO_Facade().soundFile; }
void cIO::SetSoundDialogInitialFile(const char* file) { cIO_Facade().soundFile = file; }

const cStr& cIO::GetImageDialogInitialPath() { return cIO_Facade().imagePath; }
void cIO::SetImageDialogInitialPath(const char* path) { cIO_Facade().imagePath = path; }
const cStr& cIO::GetImageDialogInitialFile() { return cIO_Facade().imageFile; }
void cIO::SetImageDialogInitialFile(const char* file) { cIO_Facade().imageFile = file; }

const cStr& cIO::GetXmlDialogInitialPath() { return cIO_Facade().xmlPath; }
void cIO::SetXmlDialogInitialPath(const char* path) { cIO_Facade().xmlPath = path; }
const cStr& cIO::GetXmlDialogInitialFile() { return cIO_Facade().xmlFile; }
void cIO::SetXmlDialogInitialFile(const char* file) { cIO_Facade().xmlFile = file; }

// Keys keep the order of their first use; a known key gets the new folder.
void cIO::SetFileDialogInitialFolder(const char* key, const char* folder) {
    cStr absolute = EnsureAbsolutePath(folder);
    if (cIO_FileDialogPref* pref = FindPref(key)) {
        pref->folder = absolute;
        return;
    }
    cIO_FileDialogPref pref;
    pref.key = key;
    pref.folder = absolute;
    cIO_Facade().dialogPrefs.Add(pref);
}

cStr cIO::GetFileDialogInitialFolder(const char* key) {
    const cIO_FileDialogPref* pref = FindPref(key);
    return pref ? pref->folder : GetDefaultSourceFolder();
}

bool cIO::GetFileDialogPrefExists(const char* key) {
    return FindPref(key) != nullptr;
}

}  // namespace zozud
