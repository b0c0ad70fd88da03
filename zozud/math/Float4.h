// cFloat4: four floats in one vector register, for the 4x4 matrix kernels.
// Lane-wise arithmetic is plain IEEE float arithmetic: a kernel written with
// it gives exactly the bits of the same expressions written element by element.
#pragma once

#include <cstring>

namespace zozud {

typedef float cFloat4 __attribute__((vector_size(16)));

inline cFloat4 LoadFloat4(const float* p) {
    cFloat4 v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

inline void StoreFloat4(float* p, const cFloat4& v) { std::memcpy(p, &v, sizeof(v)); }

inline cFloat4 SplatFloat4(float f) { return cFloat4{f, f, f, f}; }

}  // namespace zozud
