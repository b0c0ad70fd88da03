// The load, save and folder choosers. Each shows the files whose extension is
// in the given list (or, in executable mode, the executables), opens in the
// folder last used for that list and remembers the folder of what was chosen.
#include <strings.h>
#include <sys/stat.h>

#include <string>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"

using zozud::cList;
using zozud::cStr;

zozud::cList<zozud::cStr> cLinuxMain_FileDialogExtensions;

namespace {

bool s_ExeMode = false;

// The folders are remembered per extension list.
std::string FolderKey(const cList<cStr>& extensions) {
    std::string key = "FileDialog";
    for (const cStr& ext : extensions) key += std::string(".") + ext.ToChar();
    return key;
}

const char* ExtensionOf(const char* name) {
    const char* slash = strrchr(name, '/');
    const char* dot = strrchr(name, '.');
    return dot && (!slash || dot > slash) ? dot + 1 : "";
}

bool InList(const char* ext, const cList<cStr>& extensions) {
    for (const cStr& e : extensions)
        if (strcasecmp(e.ToChar(), ext) == 0) return true;
    return false;
}

GtkWidget* NewChooser(const char* title, GtkFileChooserAction action, const char* accept,
                      const cList<cStr>* extensions) {
    zozud::cPause::SetSystemPause(true);
    GtkWidget* parent = cLinuxMain_GetWindow();
    GtkWidget* dialog = gtk_file_chooser_dialog_new(title ? title : "", parent ? GTK_WINDOW(parent) : nullptr, action,
                                                    GTK_STOCK_CANCEL, GTK_RESPONSE_CANCEL, accept,
                                                    GTK_RESPONSE_ACCEPT, nullptr);
    if (extensions && extensions->Count() > 0) {  // no list: every file
        cLinuxMain_FileDialogExtensions = *extensions;
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_FILENAME, cLinuxMain_FileDialogFilter, nullptr, nullptr);
        gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(dialog), filter);
    }
    return dialog;
}

// Opens at the given file (relative names against the program folder) or
// else in the remembered folder.
void Preselect(GtkWidget* dialog, const cStr* file, const std::string& key, bool save) {
    if (file && !file->IsEmpty()) {
        std::string path = file->ToChar();
        for (char& c : path)
            if (c == '\\') c = '/';
        cStr absolute = zozud::cIO::EnsureAbsolutePath(path.c_str());
        struct stat st;
        if (save && stat(absolute.ToChar(), &st) != 0) {
            std::string full = absolute.ToChar();
            size_t slash = full.rfind('/');
            if (slash != std::string::npos) {
                gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), full.substr(0, slash + 1).c_str());
                gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(dialog), full.c_str() + slash + 1);
            }
        } else {
            gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(dialog), absolute.ToChar());
        }
        return;
    }
    cStr folder = zozud::cIO::GetFileDialogInitialFolder(key.c_str());
    if (!folder.IsEmpty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), folder.ToChar());
}

void RememberFolder(const std::string& key, const char* path) {
    std::string folder = path;
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos) zozud::cIO::SetFileDialogInitialFolder(key.c_str(), folder.substr(0, slash + 1).c_str());
}

bool Run(GtkWidget* dialog) {
    bool accepted = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT;
    return accepted;
}

void Close(GtkWidget* dialog) {
    gtk_widget_destroy(dialog);
    cLinuxMain_RepeatedClear();
}

}  // namespace

void cLinuxMain_SetExeMode(bool on) { s_ExeMode = on; }

gboolean cLinuxMain_FileDialogFilter(const GtkFileFilterInfo* info, void*) {
    if (!info || !info->filename) return FALSE;
    struct stat st;
    if (s_ExeMode)
        return stat(info->filename, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH));
    if (stat(info->filename, &st) == 0 && S_ISDIR(st.st_mode)) return TRUE;  // folders stay reachable
    return InList(ExtensionOf(info->filename), cLinuxMain_FileDialogExtensions);
}

bool cLinuxMain_LoadFileDialog(const char* title, const cList<cStr>& extensions, cStr* file, cList<cStr>* files) {
    std::string key = FolderKey(extensions);
    GtkWidget* dialog = NewChooser(title, GTK_FILE_CHOOSER_ACTION_OPEN, GTK_STOCK_OPEN, &extensions);
    gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(dialog), files != nullptr);
    Preselect(dialog, file, key, false);
    bool accepted = Run(dialog);
    if (accepted) {
        GSList* chosen = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(dialog));
        if (files) files->Clear();
        bool first = true;
        for (GSList* item = chosen; item; item = item->next) {
            const char* name = static_cast<const char*>(item->data);
            if (first && file) *file = name;
            if (first) RememberFolder(key, name);
            if (files) files->Add(cStr(name));
            first = false;
            g_free(item->data);
        }
        g_slist_free(chosen);
        accepted = !first;
    }
    Close(dialog);
    return accepted;
}

// The extension combo box of the save dialog: "<ext> files (*.<ext>)".
bool cLinuxMain_SaveFileDialog(const char* title, const cList<cStr>& extensions, cStr* file, const char*, const char*,
                               const char*) {
    std::string key = FolderKey(extensions);
    GtkWidget* dialog = NewChooser(title, GTK_FILE_CHOOSER_ACTION_SAVE, GTK_STOCK_SAVE, &extensions);
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(dialog), TRUE);
    GtkWidget* combo = nullptr;
    if (extensions.Count() > 0) {
        combo = gtk_combo_box_new_text();
        for (const cStr& ext : extensions) {
            std::string label = std::string(ext.ToChar()) + " files (*." + ext.ToChar() + ")";
            gtk_combo_box_append_text(GTK_COMBO_BOX(combo), label.c_str());
        }
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo), 0);
        gtk_file_chooser_set_extra_widget(GTK_FILE_CHOOSER(dialog), combo);
    }
    Preselect(dialog, file, key, true);
    bool accepted = Run(dialog);
    if (accepted) {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
        accepted = name != nullptr;
        if (name) {
            std::string chosen = name;
            int active = combo ? gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) : -1;
            if (active >= 0 && active < extensions.Count() && !InList(ExtensionOf(name), extensions))
                chosen += std::string(".") + extensions[active].ToChar();
            if (file) *file = chosen.c_str();
            RememberFolder(key, chosen.c_str());
            g_free(name);
        }
    }
    Close(dialog);
    return accepted;
}

bool cLinuxMain_SelectFolderDialog(const char* title, cStr* folder, const char* initialFolder) {
    GtkWidget* dialog = NewChooser(title, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, GTK_STOCK_OPEN, nullptr);
    if (initialFolder && *initialFolder) {
        cStr absolute = zozud::cIO::EnsureAbsolutePath(initialFolder);
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), absolute.ToChar());
    }
    bool accepted = Run(dialog);
    if (accepted) {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
        accepted = name != nullptr;
        if (name && folder) *folder = name;
        g_free(name);
    }
    Close(dialog);
    return accepted;
}
