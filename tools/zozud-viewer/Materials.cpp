#include "Materials.h"

#include <unistd.h>

#include <map>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
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
    MaterialMaps maps;
    if (mesh.Material.IsEmpty()) return maps;
    std::string name = mesh.Material.ToChar();
    if (name.find("..") != std::string::npos) return maps;
    size_t slash = modelPath.find_last_of('/');
    std::string stem = (slash == std::string::npos ? std::string() : modelPath.substr(0, slash + 1)) + name;
    maps.Diffuse = TextureOf(stem);
    maps.Normal = TextureOf(stem + "_normal");
    if (maps.Normal < 0) maps.Normal = TextureOf(stem + "_local");
    return maps;
}

void FreeMaterialTextures() {
    for (auto& entry : s_Textures)
        if (entry.second >= 0) cRender::FreeTexture(entry.second);
    s_Textures.clear();
}

}  // namespace viewer
