// cMaterial and its kinds: how a mesh is shaded (textures, colours, shading
// coefficients). Materials are reflected, so they save and load as XML and
// show in property panels. Surprise: texture members hold file names (that
// is what is saved); the renderer texture ids behind them are looked up by
// Create() and answered by the Get...MapID queries, -1 before that.
#pragma once

#include "zozud/image/Color.h"
#include "zozud/math/Mat4.h"
#include "zozud/reflect/Button.h"
#include "zozud/reflect/Class.h"

namespace zozud {

class cMaterial : public cClass {
public:
    ZOZUD_CLASS(cMaterial)
    cMaterial();

    // Values of GetType(); Glass has no class here.
    struct Type {
        enum Enum { None = 0, Bump = 1, Glass = 2, Decal = 3, Interface = 4 };
    };
    static const char* GetTypeName(int type);  // "None" ... "Interface"; null outside 0..4

    int  RegisterMembers() override;
    void CustomCtor() override { MaterialName.Clear(); }
    using cClass::ToString;
    cStr ToString() override;  // "rock (Bump)"; the kind alone, "(Bump)", when unnamed

    // ---- Queries, overridden by the kinds that have them ----
    virtual int    GetType() const { return Type::None; }
    virtual int    GetDiffuseMapID() const { return -1; }
    virtual float  GetDiffuseMapModulator() const { return 1.0f; }
    virtual int    GetNormalMapID() const { return -1; }
    virtual int    GetDecalMapID() const { return -1; }
    virtual int    GetInterfaceMapID() const { return -1; }
    virtual bool   UseSpecular() const { return false; }
    virtual bool   GetForceShadows() const { return false; }
    virtual cColor GetColor() const { return cColor::White; }
    virtual cMat4  GetTextureMatrix() const { return cMat4::Identity; }
    virtual float  GetAmbientCoeff() const { return 0.2f; }
    virtual float  GetDiffuseCoeff() const { return 0.8f; }
    virtual float  GetMixRatio() const { return 0.0f; }      // reflection against refraction (glass)
    virtual int    GetReflectionDepth() const { return 0; }  // bounces; none without glass
    virtual int    GetRefractionDepth() const { return 0; }

    // ---- Resources ----
    // Looks the textures up once; later calls do nothing until ReCreate.
    virtual void Create();
    // Reloads the textures from their files and looks them up again.
    virtual void ReCreate();
    bool IsCreated() const { return m_Created; }
    // After an edit in a property panel: a created material looks its
    // textures up again, so a new file name takes effect at once.
    bool OnChangeMember(cClass* memberClass, void* memberData, void* extra, const char* name) override;

    cStr MaterialName;

    static cStr ImportPath;  // the folder the import buttons open at; empty at start

protected:
    // Renderer texture of a file (reloaded first when reload is set); -1 for
    // an empty name or without a renderer.
    static int LookUpTexture(const cStr& file, bool reload);

    bool m_Created = false;
};

// A diffuse map and a normal map.
class cMaterial_Bump : public cMaterial {
public:
    ZOZUD_CLASS(cMaterial_Bump)
    cMaterial_Bump() { CallCtor(this); }
    int  RegisterMembers() override;
    void CustomCtor() override;

    int   GetType() const override { return Type::Bump; }
    int   GetDiffuseMapID() const override { return m_DiffuseMapID; }
    float GetDiffuseMapModulator() const override { return DiffuseMapModulator; }
    int   GetNormalMapID() const override { return m_NormalMapID; }
    void  Create() override;
    void  ReCreate() override;

    // ---- Buttons ----
    void ImportDiffuseMap();
    void ImportNormalMap();
    void ImportHeightMap();
    void ImportNormalMapPlusHeightMap();

    cStr  DiffuseMap;
    float DiffuseMapModulator;
    cStr  NormalMap;
    bool  ImportDiffuseMapKeepAlpha;
    bool  ImportNormalMapKeepAlpha;
    bool  ImportNormalMapInvertGreen;
    bool  ImportHeightMapSaveHeightAsAlpha;
    float ImportHeightMapScaleZ;

private:
    int m_DiffuseMapID = -1;
    int m_NormalMapID = -1;
};

// A decal texture under a colour that swings between two colours, with
// texture coordinates that scroll with time. Time counts from the
// material's construction on the framework clock (cTimer::GetTimeSec).
class cMaterial_Decal : public cMaterial {
public:
    ZOZUD_CLASS(cMaterial_Decal)
    cMaterial_Decal();
    int  RegisterMembers() override;
    void CustomCtor() override;

    int    GetType() const override { return Type::Decal; }
    int    GetDecalMapID() const override { return m_DecalMapID; }
    bool   GetForceShadows() const override { return ForceShadows; }
    cColor GetColor() const override { return GetColorAt(GetElapsedSec()); }
    cMat4  GetTextureMatrix() const override { return GetTextureMatrixAt(GetElapsedSec()); }
    void   Create() override;
    void   ReCreate() override;

    // The colour and the texture matrix a given time after construction.
    cColor GetColorAt(double elapsedSec) const;
    cMat4  GetTextureMatrixAt(double elapsedSec) const;
    double GetElapsedSec() const;

    // ---- Buttons ----
    void ImportDecalMap();
    void SwapColors();

    cStr   DecalMap;
    cColor Color0;
    cColor Color1;
    float  PeriodSec;   // one swing from Color0 to Color1; 0 keeps Color0
    float  UPeriodSec;  // one whole texture along u; 0 stands still, the sign is the direction
    float  VPeriodSec;
    bool   ForceShadows;

private:
    int    m_DecalMapID = -1;
    double m_StartSec = 0;
};

// A flat map for interface surfaces.
class cMaterial_Interface : public cMaterial {
public:
    ZOZUD_CLASS(cMaterial_Interface)
    cMaterial_Interface() { CallCtor(this); }
    int  RegisterMembers() override;
    void CustomCtor() override;

    int  GetType() const override { return Type::Interface; }
    int  GetInterfaceMapID() const override { return m_InterfaceMapID; }
    bool UseSpecular() const override { return Specular; }
    void Create() override;
    void ReCreate() override;

    // ---- Buttons ----
    void ImportInterfaceMap();

    cStr InterfaceMap;
    bool Specular;

private:
    int m_InterfaceMapID = -1;
};

// Enters the material classes in the class registry (once), so that lists
// and files can make them by name. The library and group constructors call it.
void cMaterial_RegisterClasses();

}  // namespace zozud
