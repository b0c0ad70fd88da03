#include "Materials.h"

#include <unistd.h>

#include <map>
#include <set>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/model/Materials.h"
#include "zozud/render/Render.h"

using namespace zozud;

namespace viewer {

namespace {

std::map<std::string, int> s_Textures;  // by file; -1 remembers a miss

int TextureOf(const std::string& stem) {
    for (const char* ext : {".tga", ".bmp", ".dds", ".pvr", ".TGA", ".BMP", ".DDS"}) {
        std::string path = stem + ext;
        auto known = s_Textures.find(path);
        if (known != s_Textures.end()) {
            if (known->second >= 0) return known->second;
            continue;
        }
        int id = -1;
        cImage image;
        if (access(path.c_str(), R_OK) == 0 && cIO::LoadImage(path.c_str(), &image)) {
            if (image.MipMapCount <= 1) image.CreateMipMaps();
            int sampler = cRender::GetSamplerStateID(cFilter::Trilinear, cAddressMode::Wrap, cAddressMode::Wrap,
                                                     cAddressMode::Wrap);
            id = cRender::AddTexture(image, sampler);
        }
        s_Textures[path] = id;
        if (id >= 0) return id;
    }
    return -1;
}

}  // namespace

MaterialMaps ResolveMaterial(const cModel::Mesh& mesh, const std::string& modelPath) {
    static std::set<std::string> s_Folders;  // whose libraries are loaded
    MaterialMaps maps;
    if (mesh.Material.IsEmpty()) return maps;
    size_t slash = modelPath.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : modelPath.substr(0, slash);
    if (s_Folders.insert(folder).second) g_Materials.LoadLibraries(folder.c_str());
    maps.MaterialID = g_Materials.GetMaterialID(mesh.Material);
    if (maps.MaterialID >= 0) return maps;
    std::string name = mesh.Material.ToChar();
    if (name.find("..") != std::string::npos) return maps;
    std::string stem = folder + "/" + name;
    maps.Diffuse = TextureOf(stem);
    maps.Normal = TextureOf(stem + "_normal");
    if (maps.Normal < 0) maps.Normal = TextureOf(stem + "_local");
    return maps;
}

cMaterial* GetMaterial(const MaterialMaps& maps) {
    return maps.MaterialID >= 0 ? g_Materials.GetMaterialMutable(maps.MaterialID) : nullptr;
}

MaterialMaps CurrentMaps(const MaterialMaps& resolved) {
    MaterialMaps maps = resolved;
    if (const cMaterial* m = GetMaterial(resolved)) {
        maps.Diffuse = m->GetDiffuseMapID();
        maps.Normal = m->GetNormalMapID();
    }
    return maps;
}

void FreeMaterialTextures() {
    for (auto& entry : s_Textures)
        if (entry.second >= 0) cRender::FreeTexture(entry.second);
    s_Textures.clear();
}

}  // namespace viewer
