// What every math test uses: the math headers, element-wise nearness, GLM
// conversions and seeded random draws. Our row-vector matrices are the
// transposes of GLM's column-vector ones, so both lie in memory alike: the 16
// floats of a cMat4 equal the 16 floats of the matching glm::mat4.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"
#include "zozud/math/Rotation.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec4.h"
#include "zozud/math/VecT.h"

namespace mathtest {

using namespace zozud;

// Every float of a within eps * (1 + |b|) of b, or within eps when not relative;
// for any type made of packed floats.
template <class T>
::testing::AssertionResult Near(const T& a, const T& b, float eps, bool relative = true) {
    const float *x = reinterpret_cast<const float*>(&a), *y = reinterpret_cast<const float*>(&b);
    for (size_t i = 0; i < sizeof(T) / sizeof(float); i++)
        if (!(std::fabs(x[i] - y[i]) <= eps * (relative ? 1 + std::fabs(y[i]) : 1)))
            return ::testing::AssertionFailure() << "element " << i << ": " << x[i] << " vs " << y[i];
    return ::testing::AssertionSuccess();
}

// Equal as rotations: q and -q are the same.
inline ::testing::AssertionResult SameRotation(const cQuat& a, const cQuat& b, float eps) {
    if (std::fabs(std::fabs(a.Dot(b)) - 1) <= eps && std::fabs(a.Length() - 1) <= eps)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b;
}

inline cMat4 FromGlm(const glm::mat4& g) {
    cMat4 m;
    std::memcpy(m.m, glm::value_ptr(g), 64);
    return m;
}
inline cMat3 FromGlm(const glm::mat3& g) {
    cMat3 m;
    std::memcpy(m.m, glm::value_ptr(g), 36);
    return m;
}
inline glm::mat4 ToGlm(const cMat4& m) { return glm::make_mat4(m.m); }
inline glm::quat ToGlm(const cQuat& q) { return glm::quat(q.w, q.x, q.y, q.z); }
inline cQuat     FromGlm(const glm::quat& q) { return cQuat(q.x, q.y, q.z, q.w); }
inline glm::vec3 ToGlm(const cVec3& v) { return glm::vec3(v.x, v.y, v.z); }
inline glm::mat4 GlmRotate(const cVec3& axis, float degrees) {
    return glm::rotate(glm::mat4(1), glm::radians(degrees), ToGlm(axis));
}

// Yaw kept off the +-90 gimbal lock.
inline cAngles RandomAngles() {
    return cAngles(cMath::RandRange1() * 180, cMath::RandRange1() * 89.5f, cMath::RandRange1() * 180);
}

inline cQuat RandomQuat() {
    cQuat q;
    do q = cQuat(cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1());
    while (q.LengthSq() < 0.01f || q.LengthSq() > 1);
    return q.ToNormal();
}

}  // namespace mathtest
