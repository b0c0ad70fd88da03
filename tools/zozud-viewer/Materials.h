// The textures a mesh is lit with. The material library resolves a mesh's
// material name into its maps; until it is part of the framework the viewer
// looks for image files named after the material beside the model:
// NAME.(tga|bmp|dds|pvr) as the diffuse map and NAME_normal.* or NAME_local.*
// as the tangent-space normal map. ResolveMaterial is the one place to change
// when the library lands.
#pragma once

#include <string>

#include "zozud/model/Model.h"

namespace viewer {

struct MaterialMaps {
    int Diffuse = -1;  // texture ids, -1 for none
    int Normal = -1;
};

MaterialMaps ResolveMaterial(const zozud::cModel::Mesh& mesh, const std::string& modelPath);
void FreeMaterialTextures();

}  // namespace viewer
