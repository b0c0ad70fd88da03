// cSettings: registration, the per-frame work and the buttons.
#include "zozud/widgets/Settings.h"

#include <cstdio>
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"
#include "zozud/reflect/Button.h"
#include "zozud/reflect/ClassRegister.h"
#include "zozud/reflect/Enum.h"
#include "zozud/render/FontMaker.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/widgets/FpsDisplay.h"

namespace zozud {

cSettings* g_Settings = nullptr;

const char* const cSettings::LanguageNames[9] = {"English", "Russian", "German",   "Polish", "French",
                                                 "Italian", "Spanish", "Japanese", "Chinese"};
const char* const cSettings::ResourcesNames[7] = {"Materials", "Textures", "Models", "Anims", "Cameras", "BSP", "Sounds"};
const char* const cSettings::ShadersPlatformNames[2] = {"PC", "Xbox 360"};
const char* const cSettings::PlatformNames[2] = {"iOS", "Tizen"};

namespace {

struct SettingsState {
    cSettings::ShellHooks shell;
    cSettings::Procedures procedures;
    void (*toggleClassExplorer)() = nullptr;
    void (*forgetObject)(const cClass* object) = nullptr;
};

SettingsState& State() {
    static SettingsState s;
    return s;
}

// Where the frame-rate box sits: 10 pixels in from the left, 10 down from
// the top of the current viewer's viewport (from the bottom without one).
const float FpsMargin = 10;

float FpsTop() {
    const cViewer* viewer = cRender::GetViewer();
    float height = viewer ? viewer->Viewport.GetHeight() : 0;
    return height > FpsMargin + cFpsDisplay::Height ? height - FpsMargin - cFpsDisplay::Height : FpsMargin;
}

// What ListUnused asks about for each kind, in the order of ResourcesNames.
struct ResourceKind {
    const char* folder;
    const char* subfolder;
    const char* className;
    bool special;  // materials and textures also list the reserved ones
};
const ResourceKind Kinds[7] = {
    {"Materials", "", "cMaterial", true}, {"Textures", "", "cTexture", true}, {"Models", "", "cModel", false},
    {"Models", "Anims", "cAnim", false},  {"Models", "Cameras", "cCamera", false},
    {"Models", "", "cBSP", false},        {"Sounds", "", "caf", false},
};

template <int N>
const char* NameOf(const char* const (&names)[N], unsigned index) {
    return index < (unsigned)N ? names[index] : names[0];
}

template <int N>
void RegisterEnum(cClass* owner, unsigned* value, const char* name, const char* enumName,
                  const char* const (&names)[N]) {
    cEnum* e = cEnums::Get(enumName);
    for (int i = 0; i < N; i++) e->Add(names[i], (unsigned)i);
    cClass_RegIndex(owner, value, name, enumName);
}

bool Confirm(const char* title, const char* text) {
    return State().shell.confirm && State().shell.confirm(title, text);
}

cStr JoinNames(const cList<cStr>& names) {
    cStr out;
    for (int i = 0; i < names.Count(); i++) {
        out += " ";
        out += names[i];
    }
    return out;
}

}  // namespace

// ---- cSettings_ClearColor ----

void cSettings_ClearColor::CustomCtor() {
    Rgba[0] = Rgba[1] = Rgba[2] = 0.63f;
    Rgba[3] = 1;
}

// ---- Life ----

cSettings::~cSettings() {
    if (State().forgetObject) State().forgetObject(this);
    if (m_FpsDisplayID >= 0) cWidgets::FreeWidget(m_FpsDisplayID);
    if (g_Settings == this) g_Settings = nullptr;
}

void cSettings::CustomCtor() {
    MenuSceneXmlFile = "";
    Title = "";
    Language = Resources = ShadersPlatform = Platform = 0;
    FullScreen = ShowGrid = Wireframe = ShowFps = ShowClassExplorerOnStartup = false;
    ControlViewerWithGamepad = Mute = LowQuality = false;
    HomeButtonOnTheRight = HomeButtonOnTheLeft = IncludeNormalMaps = false;
    Multithreading = true;
    TimeScale = 1;
}

int cSettings::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cXmlFile", &MenuSceneXmlFile, "MenuSceneXmlFile");
    RegisterEnum(this, &Language, "Language", "cSettings_Language", LanguageNames);
    cClass_RegMember(this, "_cSeparator", nullptr, "Reload Resources");
    cClass_RegButton(this, &cSettings::ReloadTextures, "&cSettings::ReloadTextures");
    cClass_RegButton(this, &cSettings::ReloadModels, "&cSettings::ReloadModels");
    cClass_RegButton(this, &cSettings::ReloadAnims, "&cSettings::ReloadAnims");
    cClass_RegButton(this, &cSettings::ReloadCameras, "&cSettings::ReloadCameras");
    cClass_RegButton(this, &cSettings::ReloadSounds, "&cSettings::ReloadSounds");
    cClass_RegButton(this, &cSettings::ReloadShaders, "&cSettings::ReloadShaders");
    cClass_RegMember(this, "_cBool", &FullScreen, "FullScreen");
    cClass_RegMember(this, "_cBool", &ShowGrid, "ShowGrid");
    cClass_RegMember(this, "_cBool", &Wireframe, "Wireframe");
    cClass_RegMember(this, "_cBool", &ShowFps, "ShowFps");
    cClass_RegMember(this, "_cBool", &ShowClassExplorerOnStartup, "ShowClassExplorerOnStartup");
    cClass_RegMember(this, "_cBool", &ControlViewerWithGamepad, "ControlViewerWithGamepad");
    cClass_RegMember(this, "_cBool", &Multithreading, "Multithreading");
    cClass_RegMember(this, "_cBool", &Mute, "Mute");
    cClass_RegMember(this, "_cFloat", &TimeScale, "TimeScale");
    cClass_RegButton(this, &cSettings::GenFont, "&cSettings::GenFont");
    cClass_RegButton(this, &cSettings::SaveLogToFile, "&cSettings::SaveLogToFile");
    cClass_RegMember(this, "_cStr", &Title, "Title");
    cClass_RegButton(this, &cSettings::ImportParticle, "&cSettings::ImportParticle");
    RegisterEnum(this, &Resources, "Resources", "cSettings_Resources", ResourcesNames);
    cClass_RegButton(this, &cSettings::ListUnused, "&cSettings::ListUnused");
    cClass_RegMember(this, "_cSeparator", nullptr, "Precompile Shaders");
    RegisterEnum(this, &ShadersPlatform, "Platform", "cSettings_ShadersPlatform", ShadersPlatformNames);
    cClass_RegButton(this, &cSettings::PrecompileShaders, "&cSettings::PrecompileShaders");
    cClass_RegMember(this, "_cSeparator", nullptr, "Mobile Platform");
    cClass_RegMember(this, "_cBool", &LowQuality, "LowQuality");
    cClass_RegMember(this, "_cBool", &HomeButtonOnTheRight, "HomeButtonOnTheRight");
    cClass_RegMember(this, "_cBool", &HomeButtonOnTheLeft, "HomeButtonOnTheLeft");
    cClass_RegMember(this, "_cSeparator", nullptr, "Build Data");
    RegisterEnum(this, &Platform, "Platform", "cSettings_Platform", PlatformNames);
    cClass_RegMember(this, "_cBool", &IncludeNormalMaps, "Include Normal Maps");
    cClass_RegButton(this, &cSettings::BuildData, "&cSettings::BuildData");
    return EndRegisterMembers();
}

cSettings* cSettings::Create() {
    if (g_Settings) return g_Settings;
    g_Settings = new cSettings;
    cWidgets::AddWidget(g_Settings, Layer);
    return g_Settings;
}

// ---- Once a frame ----

void cSettings::OnRender() {
    if (!m_FirstFrameDone) {
        m_FirstFrameDone = true;
        if (ShowClassExplorerOnStartup && State().toggleClassExplorer) State().toggleClassExplorer();
    }
    // A box the user closed some other way leaves an id that names nothing (or another widget).
    if (m_FpsDisplayID >= 0 && !dynamic_cast<cFpsDisplay*>(cWidgets::GetWidget(m_FpsDisplayID))) m_FpsDisplayID = -1;
    if (ShowFps && m_FpsDisplayID < 0) {
        m_FpsDisplayID = cWidgets::GetWidgetID(new cFpsDisplay(4, FpsMargin, FpsTop()));
    } else if (!ShowFps && m_FpsDisplayID >= 0) {
        cWidgets::FreeWidget(m_FpsDisplayID, true);
        m_FpsDisplayID = -1;
    }
    cTimer::SetTimeScale(TimeScale);
    cInput::SetHomeButtonOnTheRight(HomeButtonOnTheRight);
    cInput::SetHomeButtonOnTheLeft(HomeButtonOnTheLeft);
}

bool cSettings::OnButtonDown(int key) {
    if (key != cInput::Tilde || !cInput::IsDown(cInput::Control)) return false;
    cLog::ShowDialog(cLog::Mode::Log);
    return true;
}

bool cSettings::OnButtonUp(int) { return false; }

void cSettings::ClearScreen() const { cRender::Clear(true, true, ClearColor.ToColor()); }

// ---- Buttons ----

void cSettings::ReloadTextures() { cRender::ReloadTextures(); }
void cSettings::ReloadModels() { cIO::ReloadModels(); }
void cSettings::ReloadAnims() { cIO::ReloadAnims(); }
void cSettings::ReloadCameras() { cIO::ReloadCameras(); }
void cSettings::ReloadShaders() { cRender::ReloadShaders(); }
// Sounds are played from their files as they are asked for; nothing is kept to reload.
void cSettings::ReloadSounds() { cLog::Message("Sounds are read from their files when played"); }

void cSettings::SaveLogToFile() { cLog::SaveToFile("Log.txt"); }

// The request is one line, "FILE SIZE" with an optional "bold"; the font is
// named like the framework's fonts, "FAMILY SIZE" or "FAMILY BSIZE".
void cSettings::GenFont() {
    cStr request("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf 11");
    if (!cIO::InputString(0, 0, &request, 0)) return;
    char file[1024] = {}, bold[8] = {};
    int size = 0;
    if (sscanf(request.ToChar(), "%1023s %d %7s", file, &size, bold) < 2) {
        cLog::Warning("GenFont: expected \"FILE SIZE [bold]\", got \"%s\"", request.ToChar());
        return;
    }
    cStr name, error;
    if (MakeFont(file, size, strcmp(bold, "bold") == 0, nullptr, &name, &error))
        cLog::Message("GenFont: Fonts/%s written", name.ToChar());
    else
        cLog::Warning("GenFont: %s", error.ToChar());
}

bool cSettings::MakeFont(const char* fontFile, int size, bool bold, const char* folder, cStr* name, cStr* error) {
    cFontMaker::Options options;
    options.From = fontFile ? fontFile : "";
    options.Size = size;
    options.Bold = bold;
    cFontMaker::ParseRanges("32-126", &options.Codes);
    cFont font;
    cImage image;
    cStr family;
    if (!cFontMaker::Make(options, &font, &image, error, &family)) return false;
    cStr made = cStr::Format("%s %s%d", family.ToChar(), bold ? "B" : "", size);
    cStr path = cStr::Format("%s%sFonts/%s", folder ? folder : "", folder ? "/" : "", made.ToChar());
    if (!cFontMaker::Save(path.ToChar(), font, image, error)) return false;
    if (name) *name = made;
    return true;
}

void cSettings::ImportParticle() {
    if (State().procedures.importParticle) State().procedures.importParticle();
    else cLog::Warning("ImportParticle: the application imports no particle materials");
}

void cSettings::ListUnused() {
    const ResourceKind& k = Kinds[Resources < 7 ? Resources : 0];
    ListUnusedResources(k.folder, k.subfolder, k.className, k.special);
}

bool cSettings::ListUnusedResources(const char* folder, const char* subfolder, const char* className, bool special) {
    if (!State().procedures.listUnused) {
        cLog::Warning("ListUnused: the application lists no resources");
        return false;
    }
    cList<cStr> reserved, unused;
    if (!State().procedures.listUnused(folder, subfolder, className, &reserved, &unused)) return false;
    if (special) {
        const char* kind = strcmp(className, "cTexture") == 0 ? "textures" : "materials";
        cLog::Message("Reserved %s (%d):%s", kind, reserved.Count(), JoinNames(reserved).ToChar());
        cLog::Message("Unused %s (%d):%s", kind, unused.Count(), JoinNames(unused).ToChar());
        return true;
    }
    cLog::Message("Unused %s (%d):", className, unused.Count());
    for (int i = 0; i < unused.Count(); i++) cLog::Message("%s", unused[i].ToChar());
    return true;
}

void cSettings::PrecompileShaders() {
    const char* platform = NameOf(ShadersPlatformNames, ShadersPlatform);
    cStr question = cStr::Format("Precompile the shaders for \"%s\"?", platform);
    if (!Confirm("Confirm Precompile Shaders", question.ToChar())) return;
    if (State().procedures.precompileShaders) State().procedures.precompileShaders(platform);
    else cLog::Warning("PrecompileShaders: the application precompiles no shaders");
}

void cSettings::BuildData() {
    const char* platform = NameOf(PlatformNames, Platform);
    cStr question = cStr::Format("Build the data for \"%s\"?", platform);
    if (!Confirm(cStr::Format("Confirm Build Data For %s", platform).ToChar(), question.ToChar())) return;
    if (State().procedures.buildData) State().procedures.buildData(platform, IncludeNormalMaps);
    else cLog::Warning("BuildData: the application builds no platform data");
}

// ---- Scenes ----

bool cSettings::GoToScene(const char* file) {
    if (!file || !*file || !State().procedures.loadScene) return false;
    return State().procedures.loadScene(file);
}

bool cSettings::ReturnToMenuScene() { return GoToScene(MenuSceneXmlFile.ToChar()); }

// ---- Seams ----

void cSettings::SetShellHooks(const ShellHooks& hooks) { State().shell = hooks; }
void cSettings::SetProcedures(const Procedures& procedures) { State().procedures = procedures; }
void cSettings::SetToggleClassExplorer(void (*toggle)()) { State().toggleClassExplorer = toggle; }
void cSettings::SetForgetObject(void (*forget)(const cClass*)) { State().forgetObject = forget; }

}  // namespace zozud
