// cSettings: the framework's global settings, g_Settings. A reflected
// object (edited in the class explorer, saved as XML with ReadFromFile and
// WriteToFile) that is also a widget: once a frame it shows or hides the
// frame-rate box, sets the time scale and the screen orientation, and it
// opens the log window on Control + "~". The shell makes the window follow
// FullScreen; frames are cleared with ClearColor.
// Surprises: g_Settings is null until Create, and the widget registry owns
// it (FreeAll deletes it and clears g_Settings). The two members named
// "Platform" load in order: the first element of that name is the shaders'
// platform, the second the build platform, so files hold every member. The scene, data-building,
// shader-precompiling and listing procedures belong to the application,
// which lends them through SetProcedures; without them the buttons log why
// nothing happened. Toolkit thread only, no locks.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/reflect/Class.h"
#include "zozud/widgets/ColorSwatch.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

// The colour frames are cleared with; (0.63, 0.63, 0.63, 1) by default.
class cSettings_ClearColor : public cColorEdit {
public:
    ZOZUD_CLASS(cSettings_ClearColor)
    cSettings_ClearColor() { CallCtor(this); }
    void CustomCtor() override;  // the colour editor's members, another default
};

class cSettings : public cClass, public cWidget {
public:
    ZOZUD_CLASS(cSettings)
    cSettings() { CallCtor(this); }
    ~cSettings() override;
    void CustomCtor() override;
    int  RegisterMembers() override;
    // Every member is written: a short form could drop the first of the two
    // "Platform" members and the second would then load into it.
    bool ShouldSaveInShortForm() override { return false; }

    // ---- The one instance ----
    static const int Layer = cWidgets::LayerCount - 1;  // the top layer: it hears keys first
    static cSettings* Create();  // g_Settings, made and added to the widget registry on the first call

    // ---- Once a frame, as a widget ----
    void OnRender() override;
    bool OnButtonDown(int key) override;  // consumes Control + "~" only
    bool OnButtonUp(int key) override;    // consumes nothing
    int  GetFpsDisplayID() const { return m_FpsDisplayID; }  // -1 while none is shown
    void ClearScreen() const;              // colour (ClearColor) and depth

    // ---- Buttons ----
    void ReloadTextures();
    void ReloadModels();
    void ReloadAnims();
    void ReloadCameras();
    void ReloadSounds();
    void ReloadShaders();
    void GenFont();            // asks for "FILE SIZE [bold]" and writes Fonts/"FAMILY SIZE" to the write folder
    void SaveLogToFile();      // "Log.txt"
    void ImportParticle();
    void ListUnused();         // of the kind Resources names
    void PrecompileShaders();  // after a confirmation
    void BuildData();          // after a confirmation

    // ---- Scenes ----
    bool GoToScene(const char* file);
    bool ReturnToMenuScene();  // MenuSceneXmlFile

    // A font from a font file: Fonts/<name>.cFont and .bmp under folder (the
    // write folder for null). False with the reason in *error.
    static bool MakeFont(const char* fontFile, int size, bool bold, const char* folder, cStr* name, cStr* error);

    // ---- Seams ----
    // Lent by the shell: the modal Yes/No question. Without it nothing is confirmed.
    struct ShellHooks {
        bool (*confirm)(const char* title, const char* text) = nullptr;
    };
    // Lent by the application: what depends on its data folders.
    struct Procedures {
        bool (*loadScene)(const char* file) = nullptr;
        bool (*precompileShaders)(const char* platform) = nullptr;
        bool (*buildData)(const char* platform, bool includeNormalMaps) = nullptr;
        bool (*importParticle)() = nullptr;
        // Unused resources of a kind; reserved only for materials and textures.
        bool (*listUnused)(const char* folder, const char* subfolder, const char* className, cList<cStr>* reserved,
                           cList<cStr>* unused) = nullptr;
    };
    static void SetShellHooks(const ShellHooks& hooks);
    static void SetProcedures(const Procedures& procedures);
    // The class explorer, above this layer, lends its toggle, and the call
    // that drops a freed object from its list (settings freed with the registry).
    static void SetToggleClassExplorer(void (*toggle)());
    static void SetForgetObject(void (*forget)(const cClass* object));

    // Unused resources of one kind, logged; false when no procedure lists them.
    static bool ListUnusedResources(const char* folder, const char* subfolder, const char* className, bool special);

    // ---- Enumeration names, in value order ----
    static const char* const LanguageNames[9];
    static const char* const ResourcesNames[7];
    static const char* const ShadersPlatformNames[2];
    static const char* const PlatformNames[2];

    // ---- Members, in registration order ----
    cStr     MenuSceneXmlFile;
    unsigned Language;
    bool     FullScreen;
    bool     ShowGrid;
    bool     Wireframe;
    bool     ShowFps;
    bool     ShowClassExplorerOnStartup;
    bool     ControlViewerWithGamepad;
    bool     Multithreading;  // true
    bool     Mute;
    float    TimeScale;       // 1
    cStr     Title;
    unsigned Resources;
    unsigned ShadersPlatform;
    bool     LowQuality;
    bool     HomeButtonOnTheRight;
    bool     HomeButtonOnTheLeft;
    unsigned Platform;
    bool     IncludeNormalMaps;

    cSettings_ClearColor ClearColor;  // its own reflected object, not a member of the table

private:
    int  m_FpsDisplayID = -1;
    bool m_FirstFrameDone = false;
};

extern cSettings* g_Settings;

}  // namespace zozud
