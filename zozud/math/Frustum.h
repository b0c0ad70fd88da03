// cFrustum: 8 corners followed by 6 planes (cVec4: normal, d) whose normals
// point inwards. Corners 0..3 are the near face and 4..7 the far face, each
// bottom-left, top-left, top-right, bottom-right as seen by the viewer; the
// planes are near, far, left, right, bottom, top. A face whose corners
// coincide gets the plane (0, 0, 0, 0), which culls nothing.
#pragma once

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

class cMat4;
class cBounds;
class cSphere;

class cFrustum {
public:
    cVec3 corners[8];
    cVec4 planes[6];

    static const int Triangles[12][3];  // two per face, the first of each pair defines the plane
    static const int Segments[12][2];   // the 12 edges

    // Corners from the inverse of a view-projection: the clip cube's corners at
    // depth ndcNear (-1 for Perspective, 0 for Ortho) and 1. False when singular.
    bool FromViewProjection(const cMat4& viewProjection, float ndcNear = -1.0f);
    void CalcPlanes();                      // from the corners
    bool CullPoint(const cVec3& p) const;   // outside some plane
    bool CullSphere(const cSphere& s) const;
    // The box transformed by m lies entirely outside one plane.
    bool CullBounds(const cBounds& bounds, const cMat4& m) const;
    // Scales both faces about their centres, along their own horizontal (s.x) and
    // vertical (s.y) directions, then recomputes the planes.
    void Scale(const cVec2& s);

    static const cFrustum Zero;
};

static_assert(sizeof(cFrustum) == 8 * 12 + 6 * 16, "cFrustum: 8 corners, 6 planes");

}  // namespace zozud
