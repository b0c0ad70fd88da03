// The named vector constants. Their constructors are constexpr, so they are
// constant-initialised: valid before any static constructor of other code runs.
#include <cfloat>

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

const cVec2 cVec2::Zero(0, 0);
const cVec2 cVec2::One(1, 1);
const cVec2 cVec2::AxisX(1, 0);
const cVec2 cVec2::AxisY(0, 1);
const cVec2 cVec2::AxisNegX(-1, 0);
const cVec2 cVec2::AxisNegY(0, -1);
const cVec2 cVec2::Infinity(FLT_MAX, FLT_MAX);

const cVec3 cVec3::Zero(0, 0, 0);
const cVec3 cVec3::One(1, 1, 1);
const cVec3 cVec3::Infinity(FLT_MAX, FLT_MAX, FLT_MAX);
const cVec3 cVec3::AxisX(1, 0, 0);
const cVec3 cVec3::AxisY(0, 1, 0);
const cVec3 cVec3::AxisZ(0, 0, 1);
const cVec3 cVec3::AxisNegX(-1, 0, 0);
const cVec3 cVec3::AxisNegY(0, -1, 0);
const cVec3 cVec3::AxisNegZ(0, 0, -1);

const cVec4 cVec4::Zero(0, 0, 0, 0);
const cVec4 cVec4::One(1, 1, 1, 1);
const cVec4 cVec4::Infinity(FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX);
const cVec4 cVec4::AxisX(1, 0, 0, 0);
const cVec4 cVec4::AxisY(0, 1, 0, 0);
const cVec4 cVec4::AxisZ(0, 0, 1, 0);
const cVec4 cVec4::AxisW(0, 0, 0, 1);
const cVec4 cVec4::AxisNegX(-1, 0, 0, 0);
const cVec4 cVec4::AxisNegY(0, -1, 0, 0);
const cVec4 cVec4::AxisNegZ(0, 0, -1, 0);
const cVec4 cVec4::AxisNegW(0, 0, 0, -1);

}  // namespace zozud
