#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

const cVec2 cVec2::Zero(0, 0);
const cVec3 cVec3::Zero(0, 0, 0);

}  // namespace zozud
