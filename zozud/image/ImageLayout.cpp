// cImage::Make2D: lays the slices of a volume out side by side in one 2D
// image, as a reader would see them: slice 0 at the top of the picture, the
// next ones below it (or to its right in a square grid). Rows are stored
// bottom-up, so the picture's top slice lands in the last rows of the buffer.
#include <cstring>

#include "zozud/image/Image.h"

namespace zozud {

namespace {

int IntSqrt(int n) {
    int r = 0;
    while ((int64_t)(r + 1) * (r + 1) <= n) r++;
    return r;
}

}  // namespace

bool cImage::Make2D(bool square, int* slicesPerImage) {
    if (!Pixels || Depth < 2 || !cFormat::IsColor(Format)) return false;
    int cols = 1, rows = Depth;
    if (square) {
        cols = rows = IntSqrt(Depth);
        if (cols * cols != Depth) return false;
    }
    if ((int64_t)Width * cols > 0x7FFFFFFF || (int64_t)Height * rows > 0x7FFFFFFF) return false;
    cImage out;
    if (!out.Create(Format, Width * cols, Height * rows, 1, 1)) return false;
    size_t row = (size_t)GetRowSize(0), outRow = (size_t)out.GetRowSize(0);
    for (int s = 0; s < Depth; s++) {
        const unsigned char* slice = GetSlice(0, s);
        int gx = s % cols, gy = rows - 1 - s / cols;  // grid cell, gy counted from the bottom
        unsigned char* dst = out.Pixels + (size_t)gy * Height * outRow + (size_t)gx * row;
        for (int y = 0; y < Height; y++) memcpy(dst + (size_t)y * outRow, slice + (size_t)y * row, row);
    }
    Swap(out);
    if (slicesPerImage) *slicesPerImage = cols;
    return true;
}

}  // namespace zozud
