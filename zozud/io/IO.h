// cIO: the static facade through which the framework touches the file system.
// Paths are made absolute against the program folder with their letter case
// corrected; writes under the program folder go to the write folder when one
// is set. The facade starts itself on its first call. The clipboard, text
// input and file dialogs it also carries are implemented by the platform shell.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/io/File.h"

namespace zozud {

class cImage;
class cModel;
class cAnim;
class cCamera;
class cBsp;
class cMat4;
template <class Codec> struct cIO_CodecEntry;  // extension and codec (zozud/io/Codec.h)

class cIO {
public:
    // A place files are loaded from and saved to, searched in list order.
    class Source {
    public:
        virtual ~Source() {}
        virtual bool Load(const char* path, cFile* file) const = 0;
        virtual bool Save(const char* path, const void* data, unsigned long size, bool append) const = 0;
        virtual const cStr& GetPath() const = 0;
    };

    // ---- Environment ----
    static cStr  GetEnvironmentVariable(const char* name);
    static cStr  GetUserFolder();
    static cStr  GetCacheFolder();
    static cStr& GetThisFilePathName();
    static int   RestartThisApplication();
    static bool  CheckProcessInMemory(const char* name);
    static float GetDiskFreeSpace();  // MiB on the default source's file system

    // ---- Paths ----
    static bool PathIsAbsolute(const char* path);
    static cStr EnsureAbsolutePath(const char* path);
    static bool ReplaceReadPath(cStr* path);
    static bool CheckReadPath(const char* path);
    static bool CreatePath(const char* path);  // always true
    static void SetFilePermissions(const char* path);
    static void SetFolderPermissions(const char* path);
    static bool RemoveFile(const char* path);
    static bool RemoveFolder(const char* path, bool recursive);

    // ---- Listings ----
    static void SearchFiles(const char* folder, cList<cStr>* list, bool withWrite);
    static void SearchFolders(const char* folder, cList<cStr>* list);
    static void SearchFilesRecursive(const char* folder, cList<cStr>* list);
    static void SearchFilesRecursive(const char* folder, cList<cStr>* list, const char* extensions);
    static bool CompareFileChangeTimes(const char* a, const char* b);
    static bool CheckDifferentDisks(const char* a, const char* b);

    // ---- Starting programs ----
    static bool Explore(const char* path);
    static bool Exec(const char* file, const char* args = nullptr, bool wait = false);

    // ---- Loading and saving ----
    static bool LoadFile(const char* path, cFile* file, bool warn = true);
    static bool SaveFile(const char* path, const void* data, unsigned long size, bool append = false, bool warn = true);
    static bool SaveFile(const char* path, const cFile& file, bool append = false, bool warn = true);

    // ---- Codecs: chosen by file extension, one registry per kind (zozud/io/Codec.h) ----
    class ImageCodec;
    class ModelCodec;
    class AnimCodec;
    class CameraCodec;
    // False (codec not taken) when the extension is already registered for the kind.
    static bool AddCodec(const char* ext, ImageCodec* codec);
    static bool AddCodec(const char* ext, ModelCodec* codec);
    static bool AddCodec(const char* ext, AnimCodec* codec);
    static bool AddCodec(const char* ext, CameraCodec* codec);
    static const cList<cIO_CodecEntry<ImageCodec>>&  GetImageCodecs();
    static const cList<cIO_CodecEntry<ModelCodec>>&  GetModelCodecs();
    static const cList<cIO_CodecEntry<AnimCodec>>&   GetAnimCodecs();
    static const cList<cIO_CodecEntry<CameraCodec>>& GetCameraCodecs();
    static bool LoadImage(const char* path, cImage* image);
    static bool SaveImage(const char* path, const cImage& image);
    static bool LoadModel(const char* path, cModel* model);
    static bool SaveModel(const char* path, const cModel& model);
    static bool LoadAnim(const char* path, cAnim* anim);
    static bool SaveAnim(const char* path, const cAnim& anim);
    static bool LoadCamera(const char* path, cCamera* camera);
    static bool SaveCamera(const char* path, const cCamera& camera);
    // The BSP's byte form (zozud/math/Bsp.h), default extension "cBsp", no
    // registry. A file that does not decode leaves the BSP empty (CantDecode).
    static bool LoadBsp(const char* path, cBsp* bsp);
    static bool SaveBsp(const char* path, const cBsp& bsp);
    // Why the last Load* or Save* of this thread failed, NoFailure after a success
    // (like stb's failure reason): read it right after the call that failed.
    struct CodecFailure {
        enum Enum { NoFailure = 0, NoCodec, CantLoad, CantDecode, CantEncode, CantSave };
    };
    static CodecFailure::Enum GetCodecFailure();
    static const char*        GetCodecFailureReason();  // the same in words; "" for NoFailure

    // ---- Resource tables: one stable id per loaded file (ids are never reused
    // while a table lives). They create models, animations and cameras, so
    // they live with them in the model layer (zozud/model/Resources.cpp);
    // only code above that layer calls them. ----
    static int           GetModelID(const char* path, bool proxy);  // proxy: no materials, no render buffers
    static cModel*       GetModelPtr(int id);
    static const cStr&   GetModelFilePn(int id);
    static void          ReloadModel(int id);
    static void          ReloadModel(const char* path);
    static void          ReloadModels();
    static void          UnloadModels();
    static void          FreeModels();
    static int           GetAnimID(const char* path, int param, const cMat4& transform);
    static const cAnim*  GetAnimPtr(int id);
    static cAnim*        GetAnimMutablePtr(int id);
    static const cStr&   GetAnimFilePn(int id);
    static void          ReloadAnim(int id);
    static void          ReloadAnim(const char* path);
    static void          ReloadAnims();
    static void          UnloadAnims();
    static void          FreeAnims();
    static int           GetCameraID(const char* path);
    static const cCamera* GetCameraPtr(int id);
    static void          ReloadCamera(int id);
    static void          ReloadCamera(const char* path);
    static void          ReloadCameras();
    static void          UnloadCameras();
    static void          FreeCameras();

    // ---- Sources ----
    static const cList<Source*>& GetSources();
    static cList<Source*>&       GetSourcesMutable();
    static const cStr&           GetDefaultSourceFolder();
    static void SetDefaultSourceWriteFolder(const char* path);
    static void AddSourceZip(const char* path);
    static void AddSourceZips(const char* folder);
    static bool ExtractZip(const char* archive, const char* folder, void (*progress)(float));
    static bool CreateZip(const char* folder, const char* archive, bool, void (*progress)(float));

    // ---- Dialog folders ----
    static const cStr& GetModelAnimCameraBspDialogsInitialPath();
    static void SetModelAnimCameraBspDialogsInitialPath(const char* path);
    static void SetModelDialogInitialFile(const char* file);
    static void SetAnimDialogInitialFile(const char* file);
    static void SetBspDialogInitialFile(const char* file);
    static void SetCameraDialogInitialFile(const char* file);
    static const cStr& GetSoundDialogInitialPath();
    static void SetSoundDialogInitialPath(const char* path);
    static const cStr& GetSoundDialogInitialFile();
    static void SetSoundDialogInitialFile(const char* file);
    static const cStr& GetImageDialogInitialPath();
    static void SetImageDialogInitialPath(const char* path);
    static const cStr& GetImageDialogInitialFile();
    static void SetImageDialogInitialFile(const char* file);
    static const cStr& GetXmlDialogInitialPath();
    static void SetXmlDialogInitialPath(const char* path);
    static const cStr& GetXmlDialogInitialFile();
    static void SetXmlDialogInitialFile(const char* file);
    static void SetFileDialogInitialFolder(const char* key, const char* folder);
    static cStr GetFileDialogInitialFolder(const char* key);
    static bool GetFileDialogPrefExists(const char* key);

    // ---- Platform shell: clipboard, modal text input and file dialogs (see ShellHooks) ----
    static bool CopyToClipboard(const char* text);
    static bool CopyFromClipboard(cStr* text);
    static bool InputText(int x, int y, int width, int height, cStr* text, const char* title);
    static bool InputString(int x, int y, cStr* text, int);
    // Asks for an image file of a registered image codec, opening at the image
    // dialog's initial path and file; on acceptance *file is the chosen path
    // and the initial path and file become its folder and name. False when
    // the user cancels or no shell lent a dialog (file left alone).
    static bool LoadImageDialog(cStr* file, const char* title = "Load image");

    // ---- Seams ----
    // The clipboard and the modal text input belong to the platform shell
    // above the framework; the shell lends them here at start-up. Until then
    // each call fails (false) and leaves its text alone.
    struct ShellHooks {
        bool (*copyToClipboard)(const char* text) = nullptr;
        bool (*copyFromClipboard)(cStr* text) = nullptr;
        bool (*inputText)(int x, int y, int width, int height, cStr* text, const char* title) = nullptr;
        bool (*inputString)(int x, int y, cStr* text, int) = nullptr;
        // The load file chooser over the extensions; *file is the file to
        // preselect on entry and the chosen file on acceptance.
        bool (*loadFileDialog)(const char* title, const cList<cStr>& extensions, cStr* file) = nullptr;
    };
    static void SetShellHooks(const ShellHooks& hooks);

    // The codecs live in the layers above (images, models); the framework's
    // start-up hands in the one function that registers the built-in ones, in
    // their lookup order. The facade's own start-up runs it once, after the
    // default source exists; handed in after that start-up, it runs at once.
    static void SetBuiltInCodecs(void (*registerCodecs)());

    // Lends the core log (one layer down) its file writer: SaveFile and
    // RemoveFile of this facade (cLog::FileHooks). Part of the start-up.
    static void LendLogFiles();
};

bool cIO_PathIsURL(const char* path);  // http://, https:// or ftp://, any letter case

}  // namespace zozud
