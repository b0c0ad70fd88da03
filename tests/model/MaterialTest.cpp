// Materials and their registry: texts, members, the decal at known times, ids and library files.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "support/Process.h"
#include "zozud/core/Timer.h"
#include "zozud/model/Materials.h"
#include "zozud/model/Model.h"
#include "zozud/render/Render.h"

using namespace zozud;

namespace {

// Runs the button of that name through the reflection interface.
bool PressButton(cClass& object, const char* name) {
    int i = object.FindElementByName(name);
    if (i < 0) return false;
    cClass* button = object.GetElementClass(i);
    if (!button || !button->CheckIfFunction()) return false;
    button->call(&object, object.GetElementPtr(i, &object));
    return true;
}

void ExpectColor(const cColor& c, float r, float g, float b, float a, const char* what) {
    EXPECT_NEAR(c.r, r, 1e-4f) << what;
    EXPECT_NEAR(c.g, g, 1e-4f) << what;
    EXPECT_NEAR(c.b, b, 1e-4f) << what;
    EXPECT_NEAR(c.a, a, 1e-4f) << what;
}

template <class T>
T* NewMaterial(const char* name) {
    T* m = new T;
    m->MaterialName = name;
    return m;
}

cMaterialGroup* NewGroup(const char* name, std::initializer_list<cMaterial*> materials) {
    cMaterialGroup* g = new cMaterialGroup;
    g->Name = name;
    for (cMaterial* m : materials) g->Materials.Add(m);
    return g;
}

cMaterialLibrary* NewLibrary(const char* name, std::initializer_list<cMaterialGroup*> groups) {
    cMaterialLibrary* l = new cMaterialLibrary;
    l->Name = name;
    for (cMaterialGroup* g : groups) l->Groups.Add(g);
    return l;
}

// A renderer whose textures are numbered by file name, counting the reloads.
struct TextureDevice : cRender::Stub {
    std::map<std::string, int> ids;
    std::string                reloads;
    int  GetTextureID(const char* name) override { return ids.emplace(name, 100 + (int)ids.size()).first->second; }
    void ReloadTexture(const char* name) override { reloads += std::string(name) + " "; }
};
TextureDevice* s_Device = nullptr;

// A registry of its own per test (g_Materials is the program's).
struct Registry : ::testing::Test {
    cMaterials reg;
};

}  // namespace

TEST(Material, KindsTextsAndButtons) {
    cMaterial base;
    cMaterial_Bump bump;
    cMaterial_Decal decal;
    cMaterial_Interface face;
    const struct {
        cMaterial*  m;
        int         type;
        const char *kind, *name, *unnamed, *named;
    } cases[] = {
        {&base, 0, "None", "plain", "(None)", "plain (None)"},
        {&bump, 1, "Bump", "rock", "(Bump)", "rock (Bump)"},
        {&decal, 3, "Decal", "scorch", "(Decal)", "scorch (Decal)"},
        {&face, 4, "Interface", "panel glass", "(Interface)", "panel glass (Interface)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.m->GetType(), c.type);
        EXPECT_STREQ(cMaterial::GetTypeName(c.type), c.kind);
        EXPECT_STREQ(c.m->ToString(), c.unnamed);
        c.m->MaterialName = c.name;
        EXPECT_STREQ(c.m->ToString(), c.named);
    }
    EXPECT_STREQ(cMaterial::GetTypeName(2), "Glass");
    EXPECT_TRUE(!cMaterial::GetTypeName(-1) && !cMaterial::GetTypeName(5));

    // The buttons act on the object they are pressed on.
    decal.Color0 = cColor(1, 0, 0, 1);
    decal.Color1 = cColor(0, 0, 1, 0.5f);
    EXPECT_TRUE(PressButton(decal, "&cMaterial_Decal::SwapColors"));
    ExpectColor(decal.Color0, 0, 0, 1, 0.5f, "swapped Color0");
    ExpectColor(decal.Color1, 1, 0, 0, 1, "swapped Color1");
    EXPECT_TRUE(PressButton(face, "&cMaterial_Interface::ReCreate"));
    EXPECT_TRUE(face.IsCreated());
    EXPECT_FALSE(PressButton(face, "Specular"));  // a value is no button
}

TEST(Material, TexturesAreLookedUpByFileName) {
    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return s_Device = new TextureDevice; });
    ASSERT_TRUE(cRender::Init(1));
    cMaterial_Bump bump;
    cMaterial_Decal decal;
    cMaterial_Interface face;
    bump.DiffuseMap = "Textures/a.tga";
    bump.NormalMap = "Textures/b.tga";
    decal.DecalMap = "Textures/a.tga";
    face.InterfaceMap = "Textures/c.tga";
    bump.Create();
    decal.Create();
    face.Create();
    EXPECT_EQ(bump.GetDiffuseMapID(), 100);
    EXPECT_EQ(bump.GetNormalMapID(), 101);
    EXPECT_EQ(decal.GetDecalMapID(), 100);  // the same file, the same texture
    EXPECT_EQ(face.GetInterfaceMapID(), 102);
    EXPECT_EQ(s_Device->reloads, "");
    bump.NormalMap = "Textures/d.tga";
    bump.Create();  // already created: nothing changes
    EXPECT_EQ(bump.GetNormalMapID(), 101);
    bump.OnChangeMember(nullptr, &bump.NormalMap, nullptr, "NormalMap");  // an edit looks up again
    EXPECT_EQ(bump.GetNormalMapID(), 103);
    bump.DiffuseMap.Clear();
    EXPECT_TRUE(PressButton(bump, "&cMaterial_Bump::ReCreate"));  // reloads from the files
    EXPECT_EQ(bump.GetDiffuseMapID(), -1);
    EXPECT_EQ(s_Device->reloads, "Textures/d.tga ");
    cRender::Free();
    cRender::SetDeviceFactory(nullptr);
}

// The swing: weight sin(phase * pi/2 / period), reversed in every odd period.
TEST(Material, DecalColorAtKnownTimes) {
    cMaterial_Decal d;
    d.Color0 = cColor(0, 0, 0, 1);
    d.Color1 = cColor(1, 0.5f, 0, 0);
    const float s8 = 0.382683f, s4 = 0.707107f, s38 = 0.923880f;  // sin(pi/8), sin(pi/4), sin(3pi/8)
    struct Case {
        float  period;
        double t;
        float  weight;
    } cases[] = {
        {0, 0.75, 0},  {1, 0.25, s8}, {1, 0.75, s38}, {1, 1.0, 1},     {1, 1.25, s38},  // no period: Color0
        {1, 2.0, 0},   {1, 101.25, s38}, {2, 1.0, s4},  {2, 2.5, s38},   {-1, 0.25, s8},  // the sign is ignored
    };
    for (const Case& c : cases) {
        d.PeriodSec = c.period;
        cColor got = d.GetColorAt(c.t);
        std::string what = "period " + std::to_string(c.period) + " at " + std::to_string(c.t);
        ExpectColor(got, c.weight, 0.5f * c.weight, 0, 1 - c.weight, what.c_str());
    }
}

TEST(Material, DecalTextureScrollAtKnownTimes) {
    cMaterial_Decal d;
    struct Case {
        float  uPeriod, vPeriod;
        double t;
        float  u, v;
    } cases[] = {
        {0, 0, 3.3, 0, 0},     {4, 0, 1, 0.25f, 0},    {4, 0, 5, 0.25f, 0},  // no periods; whole textures drop out
        {-4, 0, 1, -0.25f, 0}, {0, -2, 1.5, 0, -0.75f}, {8, 0.5, 3, 0.375f, 0},  // the sign gives the direction
        {0, 2, 0.5, 0, 0.25f},
    };
    for (const Case& c : cases) {
        d.UPeriodSec = c.uPeriod;
        d.VPeriodSec = c.vPeriod;
        cMat4 m = d.GetTextureMatrixAt(c.t);
        EXPECT_LT((m.GetTranslation() - cVec3(c.u, c.v, 0)).Length(), 1e-5f) << c.uPeriod << " " << c.vPeriod << " at " << c.t;
        EXPECT_TRUE(m.m[0] == 1 && m.m[5] == 1 && m.m[10] == 1);  // a pure shift
    }
}

// GetColor and GetTextureMatrix count from the material's construction on the framework clock.
TEST(Material, DecalFollowsTheFrameworkClock) {
    static double s_Now = 1000.0;
    cTimer::SetClockOverride([] { return s_Now; });
    cTimer::Acquire();
    cMaterial_Decal d;
    d.Color0 = cColor(0, 0, 0, 1);
    d.Color1 = cColor(1, 1, 1, 1);
    d.PeriodSec = 2;
    d.UPeriodSec = 4;
    s_Now += 1.0;
    cTimer::Acquire();
    float elapsed = (float)d.GetElapsedSec();
    cColor c = d.GetColor();
    cVec3 shift = d.GetTextureMatrix().GetTranslation();
    cTimer::SetClockOverride(nullptr);
    ASSERT_NEAR(elapsed, 1.0f * cTimer::GetTimeScale(), 1e-3f);
    EXPECT_NEAR(c.r, std::sin(elapsed * M_PI / 4), 1e-3f);
    EXPECT_NEAR(shift.x, elapsed / 4, 1e-3f);
}

TEST(Materials, ComposeAndDecompose) {
    int l = -1, g = -1, i = -1;
    // Round trips over the whole ranges: every library and group, indices at steps and at the ends.
    for (int lib = 0; lib < cMaterials::MaxLibraries; lib += 5)
        for (int grp = 0; grp < cMaterials::MaxGroups; grp += 3)
            for (int idx : {0, 1, 255, 256, 4097, cMaterials::MaxMaterials - 1}) {
                int id = cMaterials::ComposeID(lib, grp, idx);
                ASSERT_GE(id, 0);
                cMaterials::DecomposeID(id, &l, &g, &i);
                ASSERT_EQ(l, lib);
                ASSERT_EQ(g, grp);
                ASSERT_EQ(i, idx);
            }
    EXPECT_EQ(cMaterials::ComposeID(255, 255, cMaterials::MaxMaterials - 1), 0x7FFFFFFF);  // the largest id
}

TEST_F(Registry, GetAndRemoveMaterialsById) {
    cMaterial_Bump* granite = NewMaterial<cMaterial_Bump>("granite");
    cMaterial_Decal* moss = NewMaterial<cMaterial_Decal>("moss");
    cMaterial_Bump* slate = NewMaterial<cMaterial_Bump>("slate");
    reg.AddLibrary(NewLibrary("base", {NewGroup("Rocks", {granite, moss, slate}), NewGroup("Empty", {})}));
    EXPECT_EQ(reg.GetMaterial(cMaterials::ComposeID(0, 0, 0)), granite);
    EXPECT_EQ(reg.GetMaterialMutable(cMaterials::ComposeID(0, 0, 1)), moss);
    const int outside[] = {
        cMaterials::ComposeID(1, 0, 0),  // no second library
        cMaterials::ComposeID(0, 2, 0),  // no third group
        cMaterials::ComposeID(0, 0, 3),  // no fourth material
        cMaterials::ComposeID(0, 1, 0),  // an empty group
        -1, -2, INT32_MIN,
    };
    for (int id : outside) EXPECT_EQ(reg.GetMaterial(id), nullptr) << std::hex << id;

    EXPECT_TRUE(reg.RemoveMaterial("rocks_MOSS"));
    EXPECT_EQ(reg.GetMaterialID("Rocks_moss"), -1);
    EXPECT_EQ(reg.GetMaterial(cMaterials::ComposeID(0, 0, 1)), slate);  // the later ones move up
    EXPECT_FALSE(reg.RemoveMaterial("Rocks_moss") || reg.RemoveMaterial("nothing"));
    EXPECT_TRUE(reg.RemoveMaterial("Rocks.granite") && reg.RemoveMaterial("Rocks.slate"));
    EXPECT_EQ(reg.GetMaterial(cMaterials::ComposeID(0, 0, 0)), nullptr);
}

TEST_F(Registry, GetMaterialIdSplitsAndIgnoresCase) {
    cMaterial_Bump* granite1 = NewMaterial<cMaterial_Bump>("granite");
    cMaterial_Bump* granite2 = NewMaterial<cMaterial_Bump>("Granite");
    cMaterial_Decal* slate = NewMaterial<cMaterial_Decal>("slate");
    cMaterial_Interface* lcd = NewMaterial<cMaterial_Interface>("lcd");
    reg.AddLibrary(NewLibrary("first", {NewGroup("Metals", {}), NewGroup("Stone", {slate})}));
    reg.AddLibrary(NewLibrary("second", {NewGroup("rocks", {NewMaterial<cMaterial_Bump>("basalt"), granite1})}));
    reg.AddLibrary(NewLibrary("third", {NewGroup("ROCKS", {granite2}), NewGroup("Ui", {lcd})}));
    const int g1 = cMaterials::ComposeID(1, 0, 1), s = cMaterials::ComposeID(0, 1, 0);
    struct Case {
        const char* name;
        int         id;
    } cases[] = {
        {"Rocks_granite", g1},          {"rocks.GRANITE", g1},          {"ROCKS/Granite", g1},
        {"Rocks\\granite", g1},         {"Rocks__granite", g1},         {"_Rocks_granite_", g1},
        {"Rocks_granite_wet", g1},      // parts after the second are not looked at
        {"Stone.slate", s},             {"Ui/lcd", cMaterials::ComposeID(2, 1, 0)},
        {"Rocksgranite", -1},           {"granite", -1},                {"Rocks", -1},
        {"Rocks_", -1},                 {"", -1},                       {nullptr, -1},
        {"Rocks_marble", -1},           {"Metals_granite", -1},         {"Rock_granite", -1},
        {"Rocks-granite", -1},          {"Rocks granite", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(reg.GetMaterialID(c.name), c.id) << (c.name ? c.name : "(null)");
    EXPECT_TRUE(granite1->IsCreated());   // found: resources created
    EXPECT_FALSE(granite2->IsCreated());  // shadowed by the earlier library
    EXPECT_TRUE(slate->IsCreated());
}

TEST_F(Registry, LibraryCountIsLimitedByTheId) {
    for (int i = 0; i < cMaterials::MaxLibraries; i++) ASSERT_EQ(reg.AddLibrary(new cMaterialLibrary), i);
    EXPECT_EQ(reg.AddLibrary(new cMaterialLibrary), -1);  // deleted, not kept
    EXPECT_EQ(reg.AddLibrary(nullptr), -1);
    cMaterials::LoadFailure::Enum why = cMaterials::LoadFailure::NoFailure;
    const char text[] = "<cMaterialLibrary></cMaterialLibrary>";
    EXPECT_EQ(reg.LoadLibraryFromText(text, sizeof(text) - 1, &why), -1);
    EXPECT_EQ(why, cMaterials::LoadFailure::TooMany);
    EXPECT_EQ(reg.GetLibraryCount(), cMaterials::MaxLibraries);
}

// Every member away from its default; the file loads back into a library
// that saves the same text, and the values are there by name.
TEST_F(Registry, LibraryFileRoundTrip) {
    cMaterial_Bump* rock = NewMaterial<cMaterial_Bump>("granite");
    rock->DiffuseMap = "Textures/granite.tga", rock->NormalMap = "Textures/granite_n.tga";
    rock->DiffuseMapModulator = 0.5f, rock->ImportHeightMapScaleZ = 3.25f;
    rock->ImportDiffuseMapKeepAlpha = rock->ImportNormalMapKeepAlpha = rock->ImportNormalMapInvertGreen = true;
    rock->ImportHeightMapSaveHeightAsAlpha = false;
    cMaterial_Decal* fire = NewMaterial<cMaterial_Decal>("fire");
    fire->DecalMap = "Textures/Particles/fire.tga";
    fire->Color0 = cColor(1, 0.5f, 0.25f, 1), fire->Color1 = cColor(0, 0.125f, 1, 0.75f);
    fire->PeriodSec = 1.5f, fire->UPeriodSec = -2, fire->VPeriodSec = 0.25f, fire->ForceShadows = true;
    cMaterial_Interface* lcd = NewMaterial<cMaterial_Interface>("lcd");
    lcd->InterfaceMap = "Textures/lcd.tga", lcd->Specular = true;
    reg.AddLibrary(NewLibrary("Base", {NewGroup("Rocks", {rock, NewMaterial<cMaterial_Bump>("plain")}),
                                       NewGroup("Fx", {fire}), NewGroup("Ui", {lcd}), NewGroup("Empty", {})}));
    testsupport::TempDir dir;
    std::string path = dir / "Base.xml";
    ASSERT_TRUE(reg.SaveLibrary(0, path.c_str()));
    EXPECT_FALSE(reg.SaveLibrary(1, path.c_str()));

    cMaterials back;
    cMaterials::LoadFailure::Enum why = cMaterials::LoadFailure::CantRead;
    cStr details, before, after;
    ASSERT_EQ(back.LoadLibrary(path.c_str(), &why, &details), 0) << details.ToChar();
    EXPECT_EQ(why, cMaterials::LoadFailure::NoFailure);
    EXPECT_TRUE(details.IsEmpty()) << details.ToChar();
    ASSERT_TRUE(reg.GetLibrary(0)->WriteToString(&before));
    ASSERT_TRUE(back.GetLibrary(0)->WriteToString(&after));
    EXPECT_STREQ(after, before);
    const char* values[] = {"granite_n.tga", "<DiffuseMapModulator>0.500<", "<ImportHeightMapSaveHeightAsAlpha>false<",
                            "<Color1>0.000 0.125 1.000 0.750<", "<UPeriodSec>-2.000<", "<Specular>true<",
                            "<Name>Empty</Name>"};
    for (const char* v : values) EXPECT_NE(strstr(before, v), nullptr) << v;  // the values really were written

    // Found by name, of the class written (the text is the same only if the values are).
    EXPECT_EQ(back.GetMaterial(back.GetMaterialID("ui.LCD"))->GetType(), cMaterial::Type::Interface);
}

TEST_F(Registry, LibrariesOfAFolderLoadInNameOrder) {
    testsupport::TempDir dir;
    reg.AddLibrary(NewLibrary("A", {NewGroup("G", {NewMaterial<cMaterial_Bump>("m")})}));
    reg.AddLibrary(NewLibrary("B", {NewGroup("G", {NewMaterial<cMaterial_Decal>("m")})}));
    ASSERT_TRUE(reg.SaveLibrary(1, (dir / "b.xml").c_str()));
    ASSERT_TRUE(reg.SaveLibrary(0, (dir / "a.XML").c_str()));
    ASSERT_TRUE(reg.SaveLibrary(0, (dir / "a.txt").c_str()));  // not an xml file
    testsupport::WriteFile(dir / "broken.xml", "<cMaterialLibrary>");
    cMaterials loaded;
    EXPECT_EQ(loaded.LoadLibraries(dir.Path().c_str()), 2);
    ASSERT_EQ(loaded.GetLibraryCount(), 2);
    EXPECT_STREQ(loaded.GetLibrary(0)->Name, "A");
    EXPECT_EQ(loaded.GetMaterial(loaded.GetMaterialID("g_m"))->GetType(), cMaterial::Type::Bump);  // the first library wins
    EXPECT_EQ(loaded.LoadLibraries((dir / "missing").c_str()), 0);
}

TEST_F(Registry, BrokenLibraryFilesFailClearly) {
    using F = cMaterials::LoadFailure;
    struct Case {
        const char* text;
        F::Enum     why;
        const char* detail;  // a piece of the details, or "" for none expected
    } cases[] = {
        {"", F::BadXml, "empty"}, {"   \n  ", F::BadXml, ""}, {"no markup at all", F::BadXml, ""},
        {"<cMaterialLibrary><Name>x</Name>", F::BadXml, ""},  // never closed
        {"<cMaterialGroup><Name>Rocks</Name></cMaterialGroup>", F::NotALibrary, "cMaterialGroup"},
        {"<cMaterial_Bump></cMaterial_Bump>", F::NotALibrary, "cMaterial_Bump"},
    };
    for (const Case& c : cases) {
        F::Enum why = F::NoFailure;
        cStr details;
        EXPECT_EQ(reg.LoadLibraryFromText(c.text, (int)strlen(c.text), &why, &details), -1) << c.text;
        EXPECT_EQ(why, c.why) << c.text;
        EXPECT_FALSE(details.IsEmpty()) << c.text;
        EXPECT_NE(strstr(details.ToChar(), c.detail), nullptr) << c.text << " -> " << details.ToChar();
    }
    EXPECT_EQ(reg.GetLibraryCount(), 0);

    for (const char* path : {"/nonexistent/folder/Lib.xml", (const char*)nullptr}) {
        F::Enum why = F::NoFailure;
        EXPECT_EQ(reg.LoadLibrary(path, &why), -1);
        EXPECT_EQ(why, F::CantRead);
    }
}

// Unknown members and classes are skipped and reported; the rest loads.
TEST_F(Registry, LibraryWithUnknownPartsLoadsTheRest) {
    const char text[] =
        "<cMaterialLibrary>\n"
        " <Name>Odd</Name>\n"
        " <Colour>red</Colour>\n"
        " <Groups>\n"
        "  <cMaterialGroup>\n"
        "   <Name>Rocks</Name>\n"
        "   <Materials>\n"
        "    <cMaterial_Glass><MaterialName>ice</MaterialName></cMaterial_Glass>\n"
        "    <_cStr>not an object</_cStr>\n"
        "    <cMaterial_Bump><MaterialName>granite</MaterialName><DiffuseMapModulator>x</DiffuseMapModulator>"
        "</cMaterial_Bump>\n"
        "    <cMaterialGroup><Name>inner</Name></cMaterialGroup>\n"
        "   </Materials>\n"
        "  </cMaterialGroup>\n"
        " </Groups>\n"
        "</cMaterialLibrary>\n";
    cMaterials::LoadFailure::Enum why = cMaterials::LoadFailure::CantRead;
    cStr details;
    ASSERT_EQ(reg.LoadLibraryFromText(text, sizeof(text) - 1, &why, &details), 0);
    EXPECT_EQ(why, cMaterials::LoadFailure::NoFailure);
    EXPECT_NE(strstr(details.ToChar(), "Colour"), nullptr) << details.ToChar();
    EXPECT_NE(strstr(details.ToChar(), "cMaterial_Glass"), nullptr) << details.ToChar();
    ASSERT_EQ(reg.GetLibrary(0)->Groups.Count(), 1);
    ASSERT_EQ(reg.GetLibrary(0)->Groups[0]->Materials.Count(), 1);  // only the material
    int id = reg.GetMaterialID("rocks_granite");
    ASSERT_EQ(id, 0);
    EXPECT_EQ(reg.GetMaterial(id)->GetType(), cMaterial::Type::Bump);
}

TEST(Materials, ModelsResolveTheirMaterialNames) {
    cMaterial_Bump* wall = NewMaterial<cMaterial_Bump>("wall");
    cMaterialLibrary* lib = NewLibrary("Models", {NewGroup("Brick", {NewMaterial<cMaterial_Decal>("moss"), wall})});
    int index = g_Materials.AddLibrary(lib);
    ASSERT_GE(index, 0);
    cModel model;
    const char* names[] = {"brick_wall", "Brick/moss", "brick_window", "default"};
    for (const char* n : names) model.Meshes[model.Meshes.Add(cModel::Mesh())].Material = n;
    model.GetMaterialsID();
    EXPECT_EQ(model.Meshes[0].MaterialID, cMaterials::ComposeID(index, 0, 1));
    EXPECT_EQ(model.Meshes[1].MaterialID, cMaterials::ComposeID(index, 0, 0));
    EXPECT_EQ(model.Meshes[2].MaterialID, -1);
    EXPECT_EQ(model.Meshes[3].MaterialID, -1);
    EXPECT_TRUE(wall->IsCreated());
    g_Materials.Free();
}
