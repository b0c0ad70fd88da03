// cVec4: normalisation, the row-vector product with a cMat4, text.
#include "zozud/math/Vec4.h"

#include "zozud/core/Str.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"

namespace zozud {

float cVec4::Normalize() { return cMath::NormalizeComponents<4>(*this); }

cVec4 cVec4::ToNormal() const {
    cVec4 r = *this;
    r.Normalize();
    return r;
}

cVec4 cVec4::operator*(const cMat4& t) const {
    const float* m = t.m;
    return cVec4(x * m[0] + y * m[4] + z * m[8] + w * m[12], x * m[1] + y * m[5] + z * m[9] + w * m[13],
                 x * m[2] + y * m[6] + z * m[10] + w * m[14], x * m[3] + y * m[7] + z * m[11] + w * m[15]);
}

cStr cVec4::ToString(int precision) const { return cStr::ToString(&x, 4, precision, " "); }

}  // namespace zozud
