// The material registry: libraries of groups of materials, the ids that
// address them and the library class files they come from.
#include "zozud/model/Materials.h"

#include <algorithm>

#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

cMaterials& g_Materials = *new cMaterials;

// ---- Groups and libraries ----

cMaterialGroup::cMaterialGroup() {
    cMaterial_RegisterClasses();
    CallCtor(this);
}

int cMaterialGroup::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cStr", &Name, "Name");
    cClass_RegAuto(this, Materials, "Materials");
    return EndRegisterMembers();
}

cMaterialLibrary::cMaterialLibrary() {
    cMaterial_RegisterClasses();
    CallCtor(this);
}

int cMaterialLibrary::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cStr", &Name, "Name");
    cClass_RegAuto(this, Groups, "Groups");
    return EndRegisterMembers();
}

cMaterialGroup* cMaterialLibrary::FindGroup(const char* name) {
    for (cMaterialGroup* g : Groups)
        if (g && cStr::CompareNoCase(g->Name, name ? name : "") == 0) return g;
    return nullptr;
}

// ---- Ids ----

void cMaterials::DecomposeID(int id, int* library, int* group, int* index) {
    if (library) *library = id & 0xFF;
    if (group) *group = (id >> 8) & 0xFF;
    if (index) *index = id >> 16;
}

const cMaterial* cMaterials::GetMaterial(int id) const {
    return const_cast<cMaterials*>(this)->GetMaterialMutable(id);
}

cMaterial* cMaterials::GetMaterialMutable(int id) {
    if (id < 0) return nullptr;
    int l, g, i;
    DecomposeID(id, &l, &g, &i);
    if (l >= m_Libraries.Count()) return nullptr;
    cClassList<cMaterialGroup>& groups = m_Libraries[l]->Groups;
    if (g >= groups.Count() || !groups[g]) return nullptr;
    cClassList<cMaterial>& materials = groups[g]->Materials;
    return i < materials.Count() ? materials[i] : nullptr;
}

// ---- Lookup by name ----

namespace {

// The group and material parts of "Group_material"; false with fewer than two.
bool SplitName(const char* name, cStr* group, cStr* material) {
    cList<cStr> parts;
    cStr::Split(name ? name : "", &parts, "._/\\");
    if (parts.Count() < 2) return false;
    *group = parts[0];
    *material = parts[1];
    return true;
}

}  // namespace

int cMaterials::GetMaterialID(const char* name) {
    cStr group, material;
    if (!SplitName(name, &group, &material)) return -1;
    for (int l = 0; l < m_Libraries.Count(); l++) {
        cClassList<cMaterialGroup>& groups = m_Libraries[l]->Groups;
        for (int g = 0; g < groups.Count() && g < MaxGroups; g++) {
            if (!groups[g] || cStr::CompareNoCase(groups[g]->Name, group) != 0) continue;
            cClassList<cMaterial>& materials = groups[g]->Materials;
            for (int i = 0; i < materials.Count() && i < MaxMaterials; i++) {
                if (!materials[i] || cStr::CompareNoCase(materials[i]->MaterialName, material) != 0) continue;
                materials[i]->Create();
                return ComposeID(l, g, i);
            }
        }
    }
    return -1;
}

bool cMaterials::RemoveMaterial(const char* name) {
    int id = GetMaterialID(name);
    if (id < 0) return false;
    int l, g, i;
    DecomposeID(id, &l, &g, &i);
    m_Libraries[l]->Groups[g]->Materials.RemoveAt(i);
    return true;
}

// ---- Libraries ----

int cMaterials::AddLibrary(cMaterialLibrary* library) {
    if (!library) return -1;
    if (m_Libraries.Count() >= MaxLibraries) {
        delete library;
        return -1;
    }
    return m_Libraries.Add(library);
}

cMaterialLibrary* cMaterials::GetLibrary(int library) {
    return library >= 0 && library < m_Libraries.Count() ? m_Libraries[library] : nullptr;
}

int cMaterials::LoadLibrary(const char* path, LoadFailure::Enum* failure, cStr* details) {
    cFile file;
    if (!path || !cIO::LoadFile(path, &file, false)) {
        if (failure) *failure = LoadFailure::CantRead;
        if (details) *details = cStr::Format("can't read \"%s\"", path ? path : "");
        return -1;
    }
    return LoadLibraryFromText(reinterpret_cast<const char*>(file.GetData()), (int)file.GetSize(), failure, details);
}

int cMaterials::LoadLibraryFromText(const char* text, int length, LoadFailure::Enum* failure, cStr* details) {
    LoadFailure::Enum why = LoadFailure::NoFailure;
    cStr error;
    cXml root;
    cMaterialLibrary* library = new cMaterialLibrary;
    cErrorPager pager(false);  // the messages go to the caller, not to the log dialog
    pager.SetCollect(true);
    if (!text || length <= 0 || root.Load(text, length, &error) <= 0) {
        why = LoadFailure::BadXml;
        if (error.IsEmpty()) error = "empty text";
    } else if (cStr::Compare(root.GetQuoteName(), cMaterialLibrary::StaticClassName()) != 0) {
        why = LoadFailure::NotALibrary;
        error = cStr::Format("the root element is <%s>, not <%s>", root.GetQuoteName().ToChar(),
                             cMaterialLibrary::StaticClassName());
    } else {
        library->Load(root, library, &pager, nullptr);
        error = pager.GetText();
    }
    if (why == LoadFailure::NoFailure && m_Libraries.Count() >= MaxLibraries) why = LoadFailure::TooMany;
    if (failure) *failure = why;
    if (details) *details = error;
    if (why != LoadFailure::NoFailure) {
        delete library;
        return -1;
    }
    return m_Libraries.Add(library);
}

int cMaterials::LoadLibraries(const char* folder) {
    cList<cStr> files;
    cIO::SearchFiles(folder ? folder : "", &files, true);
    std::sort(files.begin(), files.end(), [](const cStr& a, const cStr& b) { return cStr::Compare(a, b) < 0; });
    int added = 0;
    for (const cStr& file : files)
        if (cStr::CompareNoCase(file.GetFileExtension(), "xml") == 0 && LoadLibrary(file) >= 0) added++;
    return added;
}

bool cMaterials::SaveLibrary(int library, const char* path) {
    cMaterialLibrary* lib = GetLibrary(library);
    return lib && path && lib->WriteToFile(path);
}

void cMaterials::Free() {
    for (cMaterialLibrary* l : m_Libraries) delete l;
    m_Libraries.Free();
}

}  // namespace zozud
