// Fuzzes loading material libraries: any bytes either fail with a reason or
// give a library whose materials resolve by name, create their resources,
// answer their time-dependent queries, and save into a text that loads again
// into the same numbers of groups and materials.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "zozud/model/Materials.h"

using namespace zozud;

namespace {

void Exercise(cMaterial* m) {
    m->Create();
    cStr text = m->ToString();
    if (auto* decal = dynamic_cast<cMaterial_Decal*>(m)) {
        for (double t : {0.0, 0.5, 1e9, -3.0}) {
            decal->GetColorAt(t);
            cMat4 shift = decal->GetTextureMatrixAt(t);
            if (std::fabs(shift.m[12]) >= 1.0f || std::fabs(shift.m[13]) >= 1.0f) abort();  // within one texture
        }
        decal->SwapColors();
    }
}

int CountMaterials(cMaterialLibrary* library) {
    int n = 0;
    for (cMaterialGroup* g : library->Groups) n += g ? g->Materials.Count() : 0;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 20)) return 0;
    cMaterials registry;
    cMaterials::LoadFailure::Enum why = cMaterials::LoadFailure::NoFailure;
    cStr details;
    int index = registry.LoadLibraryFromText(reinterpret_cast<const char*>(data), (int)size, &why, &details);
    if (index < 0) {
        if (why == cMaterials::LoadFailure::NoFailure) abort();  // a failure always has its reason
        return 0;
    }
    cMaterialLibrary* library = registry.GetLibrary(index);
    for (cMaterialGroup* g : library->Groups)
        for (cMaterial* m : g->Materials) {
            Exercise(m);
            cStr name = g->Name;
            name += "_";
            name += m->MaterialName;
            int id = registry.GetMaterialID(name);
            if (id >= 0 && !registry.GetMaterial(id)) abort();
        }

    cStr saved;
    if (!library->WriteToString(&saved)) abort();
    cMaterials again;
    int back = again.LoadLibraryFromText(saved.ToChar(), saved.Length(), &why, &details);
    if (back < 0) abort();
    cMaterialLibrary* reloaded = again.GetLibrary(back);
    if (reloaded->Groups.Count() != library->Groups.Count()) abort();
    if (CountMaterials(reloaded) != CountMaterials(library)) abort();
    return 0;
}
