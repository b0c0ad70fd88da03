// cImage::ToNormalMap: a tangent-space normal map from the heights of level 0.
// Heights are the image's luminance (0 to 1). The slope at each pixel comes
// from the 3x3 Sobel kernel, which averages the central difference over the
// two neighbouring rows (columns) with weights 1, 2, 1 and so resists noise
// better than a plain difference; divided by 8 it is the height change per
// pixel. The normal is normalize(-scale * dh/dx, -scale * dh/dy, 1) with x to
// the right and y up the picture (row 0 is the bottom row), the usual
// OpenGL convention. Integer formats store each component as n * 0.5 + 0.5,
// half and float formats store it signed; a fourth channel receives the
// height. Edges repeat the border pixel, or wrap around for tiling textures.
// Each slice or cube face is handled on its own; the result has one level.
#include <cmath>
#include <vector>

#include "zozud/image/Image.h"

namespace zozud {

namespace {

struct HeightField {
    const float* h;
    int          w, hgt;
    bool         wrap;

    float At(int x, int y) const {
        if (wrap) {
            x = (x % w + w) % w;
            y = (y % hgt + hgt) % hgt;
        } else {
            x = x < 0 ? 0 : (x >= w ? w - 1 : x);
            y = y < 0 ? 0 : (y >= hgt ? hgt - 1 : y);
        }
        return h[(size_t)y * w + x];
    }
};

void SobelSlice(const HeightField& f, float scale, bool signedOut, float* rgba) {
    for (int y = 0; y < f.hgt; y++)
        for (int x = 0; x < f.w; x++, rgba += 4) {
            float dx = (f.At(x + 1, y - 1) + 2 * f.At(x + 1, y) + f.At(x + 1, y + 1)) -
                       (f.At(x - 1, y - 1) + 2 * f.At(x - 1, y) + f.At(x - 1, y + 1));
            float dy = (f.At(x - 1, y + 1) + 2 * f.At(x, y + 1) + f.At(x + 1, y + 1)) -
                       (f.At(x - 1, y - 1) + 2 * f.At(x, y - 1) + f.At(x + 1, y - 1));
            float n[3] = {-scale * dx / 8.0f, -scale * dy / 8.0f, 1.0f};
            float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (int c = 0; c < 3; c++) rgba[c] = signedOut ? n[c] / len : n[c] / len * 0.5f + 0.5f;
            rgba[3] = f.At(x, y);
        }
}

}  // namespace

bool cImage::ToNormalMap(cFormat::Enum format, float scale, bool wrap) {
    if (!cFormat::IsColor(format) || cFormat::GetChannelCount(format) < 2 || !std::isfinite(scale)) return false;
    cImage heights;
    if (!heights.Copy(*this) || !heights.RemoveMipMaps() || !heights.Uncompress() || !heights.ToFormat(cFormat::R32f))
        return false;
    cImage normals;
    if (!normals.Create(cFormat::Rgba32f, Width, Height, Depth, 1)) return false;
    cFormat::Type type = cFormat::GetType(format);
    bool signedOut = type == cFormat::TypeHalf || type == cFormat::TypeFloat;
    for (int s = 0; s < GetSliceCount(0); s++) {
        HeightField f = {(const float*)heights.GetSlice(0, s), Width, Height, wrap};
        SobelSlice(f, scale, signedOut, (float*)normals.GetSlice(0, s));
    }
    if (!normals.ToFormat(format)) return false;
    Swap(normals);
    return true;
}

}  // namespace zozud
