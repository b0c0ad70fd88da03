// cMaterials (g_Materials): the registry of every material. It holds
// libraries, each a list of named groups, each a list of materials; a mesh's
// material name "Group_material" (any of "._/\\" separates) resolves to a
// compact id: library + (group << 8) + (index << 16), -1 for none.
// Surprise: removing a material shifts the ids of the materials after it in
// its group; resolve names again after a removal.
//
// A library file is the saved library object:
//   <cMaterialLibrary>
//    <Name>Base</Name>
//    <Groups>
//     <cMaterialGroup>
//      <Name>Rocks</Name>
//      <Materials>
//       <cMaterial_Bump>
//        <MaterialName>granite</MaterialName>
//        <DiffuseMap>Textures/granite.tga</DiffuseMap>
//       </cMaterial_Bump>
//      </Materials>
//     </cMaterialGroup>
//    </Groups>
//   </cMaterialLibrary>
#pragma once

#include "zozud/model/Material.h"
#include "zozud/reflect/ClassList.h"

namespace zozud {

// A named list of materials; its name is the first part of a material name.
class cMaterialGroup : public cClass {
public:
    ZOZUD_CLASS(cMaterialGroup)
    cMaterialGroup();
    int  RegisterMembers() override;
    void CustomCtor() override { Name.Clear(); }

    cStr                   Name;
    cClassList<cMaterial>  Materials;
};

// A named list of groups, saved as one XML class file.
class cMaterialLibrary : public cClass {
public:
    ZOZUD_CLASS(cMaterialLibrary)
    cMaterialLibrary();
    int  RegisterMembers() override;
    void CustomCtor() override { Name.Clear(); }

    cMaterialGroup* FindGroup(const char* name);  // ignoring letter case; null when none

    cStr                       Name;
    cClassList<cMaterialGroup> Groups;
};

class cMaterials {
public:
    static constexpr int MaxLibraries = 256;   // one byte of the id
    static constexpr int MaxGroups = 256;      // one byte
    static constexpr int MaxMaterials = 32768; // the bits from 16 up of a positive int

    cMaterials() {}
    ~cMaterials() { Free(); }
    cMaterials(const cMaterials&) = delete;
    cMaterials& operator=(const cMaterials&) = delete;

    // ---- Ids ----
    static int  ComposeID(int library, int group, int index) { return library + (group << 8) + (index << 16); }
    static void DecomposeID(int id, int* library, int* group, int* index);

    // ---- Lookup ----
    const cMaterial* GetMaterial(int id) const;  // null for -1 or any part out of range
    cMaterial*       GetMaterialMutable(int id);
    // "Group_material": the first group of that name (in library order) that
    // holds a material of that name, both ignoring letter case; the material
    // creates its resources. -1 with fewer than two parts or when none matches.
    int  GetMaterialID(const char* name);
    bool RemoveMaterial(const char* name);  // the material GetMaterialID would find; false when none

    // ---- Libraries ----
    struct LoadFailure {
        enum Enum { NoFailure = 0, CantRead, BadXml, NotALibrary, TooMany };
    };
    // Reads a library class file and appends it; its index, or -1 with the
    // reason in *failure and the details (parser or loader messages) in *details.
    int  LoadLibrary(const char* path, LoadFailure::Enum* failure = nullptr, cStr* details = nullptr);
    int  LoadLibraryFromText(const char* text, int length, LoadFailure::Enum* failure = nullptr, cStr* details = nullptr);
    // Every library file (".xml" holding a library) of a folder, in name
    // order; other files are passed over. The number of libraries added.
    int  LoadLibraries(const char* folder);
    bool SaveLibrary(int library, const char* path);
    int  AddLibrary(cMaterialLibrary* library);  // takes ownership; -1 (library deleted) when full
    int  GetLibraryCount() const { return m_Libraries.Count(); }
    cMaterialLibrary* GetLibrary(int library);   // null out of range
    void Free();                                 // every library and material

private:
    cList<cMaterialLibrary*> m_Libraries;
};

extern cMaterials& g_Materials;  // made on first use of the program, lives until exit

}  // namespace zozud
