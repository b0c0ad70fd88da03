// The textures a mesh is lit with. A mesh's material name resolves through
// the framework's material registry (g_Materials): libraries given on the
// command line or lying beside the model (".xml" library files of its
// folder). Where no library names the material, image files named after it
// beside the model stand in: NAME.(tga|bmp|dds|pvr) as the diffuse map and
// NAME_normal.* or NAME_local.* as the tangent-space normal map.
#pragma once

#include <string>

#include "zozud/model/Model.h"

namespace zozud { class cMaterial; }

namespace viewer {

struct MaterialMaps {
    int Diffuse = -1;      // texture ids, -1 for none
    int Normal = -1;
    int MaterialID = -1;   // in g_Materials, -1 when no library names it
};

MaterialMaps ResolveMaterial(const zozud::cModel::Mesh& mesh, const std::string& modelPath);
// The maps to draw with now: a registered material's current textures (an
// edit in the explorer takes effect at once), else the resolved files.
MaterialMaps CurrentMaps(const MaterialMaps& resolved);
zozud::cMaterial* GetMaterial(const MaterialMaps& maps);
void FreeMaterialTextures();

}  // namespace viewer
