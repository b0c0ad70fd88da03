// The material kinds: their members as registered, their texture lookups
// and the decal's time-dependent colour and texture scroll.
#include "zozud/model/Material.h"

#include <cmath>

#include "zozud/core/Timer.h"
#include "zozud/model/MaterialImport.h"
#include "zozud/model/Materials.h"
#include "zozud/render/Render.h"
#include "zozud/reflect/Wrappers.h"

namespace zozud {

cStr cMaterial::ImportPath;

namespace {

const char* const s_TypeNames[] = {"None", "Bump", "Glass", "Decal", "Interface"};

// The base of an imported texture's file name.
const char* ImportName(const cMaterial& m) { return m.MaterialName.IsEmpty() ? nullptr : m.MaterialName.ToChar(); }

// Runs the import worker into one texture member, the written file named
// after the material (or the image) and the member.
void ImportInto(const cMaterial& m, const cMaterial_ImportOptions& options, cStr* texture, int* textureID,
                const char* member, const char* folder = "Textures") {
    cMaterial_ImportArgs args;
    args.Options = options;
    args.Texture = texture;
    args.TextureID = textureID;
    args.Folder = folder;
    args.Name = ImportName(m);
    args.Member = member;
    cMaterial_Import(args);
}

}  // namespace

// ---- cMaterial ----

cMaterial::cMaterial() { CallCtor(this); }

const char* cMaterial::GetTypeName(int type) {
    return type >= 0 && type < (int)(sizeof(s_TypeNames) / sizeof(s_TypeNames[0])) ? s_TypeNames[type] : nullptr;
}

int cMaterial::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cStr", &MaterialName, "MaterialName");
    cClass_RegMember(this, "_cSeparator", nullptr, "Separator");
    return EndRegisterMembers();
}

cStr cMaterial::ToString() {
    cStr text = MaterialName;
    if (!text.IsEmpty()) text += " ";
    const char* kind = GetTypeName(GetType());
    text.AppendFormat("(%s)", kind ? kind : "");
    return text;
}

void cMaterial::Create() { m_Created = true; }
void cMaterial::ReCreate() { m_Created = true; }

bool cMaterial::OnChangeMember(cClass*, void*, void*, const char*) {
    if (m_Created) {
        m_Created = false;
        Create();
    }
    return false;
}

int cMaterial::LookUpTexture(const cStr& file, bool reload) {
    if (file.IsEmpty()) return -1;
    if (reload) cRender::ReloadTexture(file);
    return cRender::GetTextureID(file, -1);
}

// ---- cMaterial_Bump ----

void cMaterial_Bump::CustomCtor() {
    cMaterial::CustomCtor();
    DiffuseMap.Clear();
    NormalMap.Clear();
    DiffuseMapModulator = 1.0f;
    ImportDiffuseMapKeepAlpha = false;
    ImportNormalMapKeepAlpha = false;
    ImportNormalMapInvertGreen = false;
    ImportHeightMapSaveHeightAsAlpha = true;
    ImportHeightMapScaleZ = 1.0f;
}

int cMaterial_Bump::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cMaterial parent;
    cClass_RegParent(this, &parent);
    cClass_RegMember(this, "_cImageFile", &DiffuseMap, "DiffuseMap");
    cClass_RegMember(this, "_cFloat", &DiffuseMapModulator, "DiffuseMapModulator");
    cClass_RegMember(this, "_cImageFile", &NormalMap, "NormalMap");
    cClass_RegMember(this, "_cBool", &ImportDiffuseMapKeepAlpha, "ImportDiffuseMapKeepAlpha");
    cClass_RegMember(this, "_cBool", &ImportNormalMapKeepAlpha, "ImportNormalMapKeepAlpha");
    cClass_RegMember(this, "_cBool", &ImportNormalMapInvertGreen, "ImportNormalMapInvertGreen");
    cClass_RegMember(this, "_cBool", &ImportHeightMapSaveHeightAsAlpha, "ImportHeightMapSaveHeightAsAlpha");
    cClass_RegMember(this, "_cFloat", &ImportHeightMapScaleZ, "ImportHeightMapScaleZ");
    cClass_RegButton(this, &cMaterial_Bump::ImportDiffuseMap, "&cMaterial_Bump::ImportDiffuseMap");
    cClass_RegButton(this, &cMaterial_Bump::ImportNormalMap, "&cMaterial_Bump::ImportNormalMap");
    cClass_RegButton(this, &cMaterial_Bump::ImportHeightMap, "&cMaterial_Bump::ImportHeightMap");
    cClass_RegButton(this, &cMaterial_Bump::ImportNormalMapPlusHeightMap,
                     "&cMaterial_Bump::ImportNormalMapPlusHeightMap");
    cClass_RegButton<cMaterial_Bump>(this, &cMaterial_Bump::ReCreate, "&cMaterial_Bump::ReCreate");
    return EndRegisterMembers();
}

void cMaterial_Bump::Create() {
    if (m_Created) return;
    m_DiffuseMapID = LookUpTexture(DiffuseMap, false);
    m_NormalMapID = LookUpTexture(NormalMap, false);
    m_Created = true;
}

void cMaterial_Bump::ReCreate() {
    m_DiffuseMapID = LookUpTexture(DiffuseMap, true);
    m_NormalMapID = LookUpTexture(NormalMap, true);
    m_Created = true;
}

void cMaterial_Bump::ImportDiffuseMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::Diffuse;
    options.KeepAlpha = ImportDiffuseMapKeepAlpha;
    ImportInto(*this, options, &DiffuseMap, &m_DiffuseMapID, "DiffuseMap");
}

void cMaterial_Bump::ImportNormalMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::Normal;
    options.KeepAlpha = ImportNormalMapKeepAlpha;
    options.InvertGreen = ImportNormalMapInvertGreen;
    ImportInto(*this, options, &NormalMap, &m_NormalMapID, "NormalMap");
}

void cMaterial_Bump::ImportHeightMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::Height;
    options.HeightInAlpha = ImportHeightMapSaveHeightAsAlpha;
    options.ScaleZ = ImportHeightMapScaleZ;
    ImportInto(*this, options, &NormalMap, &m_NormalMapID, "NormalMap");
}

void cMaterial_Bump::ImportNormalMapPlusHeightMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::NormalPlusHeight;
    options.InvertGreen = ImportNormalMapInvertGreen;
    ImportInto(*this, options, &NormalMap, &m_NormalMapID, "NormalMap");
}

// ---- cMaterial_Decal ----

cMaterial_Decal::cMaterial_Decal() {
    CallCtor(this);
    m_StartSec = cTimer::GetTimeSec();
}

void cMaterial_Decal::CustomCtor() {
    cMaterial::CustomCtor();
    DecalMap.Clear();
    Color0 = cColor::White;
    Color1 = cColor::Black;
    PeriodSec = 0.0f;
    UPeriodSec = 0.0f;
    VPeriodSec = 0.0f;
    ForceShadows = false;
}

int cMaterial_Decal::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cMaterial parent;
    cClass_RegParent(this, &parent);
    cClass_RegMember(this, "_cImageFile", &DecalMap, "DecalMap");
    cClass_RegMember(this, "_cColor", &Color0, "Color0");
    cClass_RegMember(this, "_cColor", &Color1, "Color1");
    cClass_RegMember(this, "_cFloat", &PeriodSec, "PeriodSec");
    cClass_RegMember(this, "_cFloat", &UPeriodSec, "UPeriodSec");
    cClass_RegMember(this, "_cFloat", &VPeriodSec, "VPeriodSec");
    cClass_RegMember(this, "_cBool", &ForceShadows, "ForceShadows");
    cClass_RegButton(this, &cMaterial_Decal::ImportDecalMap, "&cMaterial_Decal::ImportDecalMap");
    cClass_RegButton(this, &cMaterial_Decal::SwapColors, "&cMaterial_Decal::SwapColors");
    cClass_RegButton<cMaterial_Decal>(this, &cMaterial_Decal::ReCreate, "&cMaterial_Decal::ReCreate");
    return EndRegisterMembers();
}

double cMaterial_Decal::GetElapsedSec() const {
    double t = (double)cTimer::GetTimeSec() - m_StartSec;
    return t > 0 ? t : 0;
}

// Even periods swing Color0 -> Color1, odd ones back, each along a quarter
// sine so the colour leaves Color0 fast and settles on Color1.
cColor cMaterial_Decal::GetColorAt(double t) const {
    double period = std::fabs((double)PeriodSec);
    if (period == 0 || !std::isfinite(period) || !std::isfinite(t)) return Color0;
    double turns = std::floor(t / period);
    double phase = t - turns * period;
    if (std::fmod(turns, 2.0) != 0) phase = period - phase;
    float weight = (float)std::sin(phase * (M_PI / 2) / period);
    return Color0 + (Color1 - Color0) * weight;
}

namespace {

// The part of a whole texture passed after t seconds, in [0, 1), negative
// for a negative period.
float Scroll(double t, float periodSec) {
    if (periodSec == 0 || !std::isfinite(periodSec) || !std::isfinite(t)) return 0;
    double turns = t / std::fabs((double)periodSec);
    float  part = (float)(turns - std::floor(turns));
    if (!(part < 1.0f)) part = 0;  // a whole turn after rounding to float
    return periodSec < 0 ? -part : part;
}

}  // namespace

cMat4 cMaterial_Decal::GetTextureMatrixAt(double t) const {
    return cMat4::Translation(Scroll(t, UPeriodSec), Scroll(t, VPeriodSec));
}

void cMaterial_Decal::SwapColors() {
    cColor c = Color0;
    Color0 = Color1;
    Color1 = c;
}

void cMaterial_Decal::Create() {
    if (m_Created) return;
    m_DecalMapID = LookUpTexture(DecalMap, false);
    m_Created = true;
}

void cMaterial_Decal::ReCreate() {
    m_DecalMapID = LookUpTexture(DecalMap, true);
    m_Created = true;
}

void cMaterial_Decal::ImportDecalMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::Decal;
    ImportInto(*this, options, &DecalMap, &m_DecalMapID, "DecalMap", "Textures/Particles");
}

// ---- cMaterial_Interface ----

void cMaterial_Interface::CustomCtor() {
    cMaterial::CustomCtor();
    InterfaceMap.Clear();
    Specular = false;
}

int cMaterial_Interface::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cMaterial parent;
    cClass_RegParent(this, &parent);
    cClass_RegMember(this, "_cImageFile", &InterfaceMap, "InterfaceMap");
    cClass_RegMember(this, "_cBool", &Specular, "Specular");
    cClass_RegButton(this, &cMaterial_Interface::ImportInterfaceMap, "&cMaterial_Interface::ImportInterfaceMap");
    cClass_RegButton<cMaterial_Interface>(this, &cMaterial_Interface::ReCreate, "&cMaterial_Interface::ReCreate");
    return EndRegisterMembers();
}

void cMaterial_Interface::Create() {
    if (m_Created) return;
    m_InterfaceMapID = LookUpTexture(InterfaceMap, false);
    m_Created = true;
}

void cMaterial_Interface::ReCreate() {
    m_InterfaceMapID = LookUpTexture(InterfaceMap, true);
    m_Created = true;
}

void cMaterial_Interface::ImportInterfaceMap() {
    cMaterial_ImportOptions options;
    options.Kind = cMaterial_ImportKind::Interface;
    ImportInto(*this, options, &InterfaceMap, &m_InterfaceMapID, "InterfaceMap");
}

// ---- Registration ----

void cMaterial_RegisterClasses() {
    static bool s_Done = false;
    if (s_Done) return;
    s_Done = true;
    cMaterial material;
    cMaterial_Bump bump;
    cMaterial_Decal decal;
    cMaterial_Interface face;
    cClass_RegClass(&material, "Material");
    cClass_RegClass(&bump, "Bump material");
    cClass_RegClass(&decal, "Decal material");
    cClass_RegClass(&face, "Interface material");
    cMaterialGroup group;
    cMaterialLibrary library;
    cClass_RegClass(&group, "Material group");
    cClass_RegClass(&library, "Material library");
}

}  // namespace zozud
