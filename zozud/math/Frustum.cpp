// cFrustum: planes from corners, culling of points, spheres and boxes, and
// scaling of the cross-section.
#include "zozud/math/Frustum.h"

#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Sphere.h"

namespace zozud {

const int cFrustum::Triangles[12][3] = {{0, 1, 2}, {0, 2, 3}, {4, 7, 5}, {5, 7, 6}, {0, 4, 1}, {1, 4, 5},
                                        {3, 2, 7}, {2, 6, 7}, {3, 7, 4}, {3, 4, 0}, {2, 5, 6}, {2, 1, 5}};
const int cFrustum::Segments[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                       {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

const cFrustum cFrustum::Zero = {
    {cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 0, 0),
     cVec3(0, 0, 0), cVec3(0, 0, 0)},
    {cVec4(0, 0, 0, 0), cVec4(0, 0, 0, 0), cVec4(0, 0, 0, 0), cVec4(0, 0, 0, 0), cVec4(0, 0, 0, 0),
     cVec4(0, 0, 0, 0)}};

bool cFrustum::FromViewProjection(const cMat4& viewProjection, float ndcNear) {
    cMat4 inv;
    if (!cMat4::Invert(viewProjection, &inv)) return false;
    static const float xy[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    for (int i = 0; i < 8; i++) {
        cVec3 ndc(xy[i % 4][0], xy[i % 4][1], i < 4 ? ndcNear : 1.0f);
        corners[i] = cVec3::TransformCoordinate(ndc, inv);
    }
    CalcPlanes();
    return true;
}

void cFrustum::CalcPlanes() {
    for (int face = 0; face < 6; face++) {
        const int* t = Triangles[face * 2];
        const cVec3& p0 = corners[t[0]];
        cVec3 n = (corners[t[1]] - p0).Cross(corners[t[2]] - p0);
        if (n.LengthSq() < cMath::EpsilonSq) {
            planes[face] = cVec4(0, 0, 0, 0);  // a collapsed face culls nothing
            continue;
        }
        n.Normalize();
        planes[face] = cVec4(n, -n.Dot(p0));
    }
}

static float PlaneDistance(const cVec4& plane, const cVec3& p) {
    return plane.x * p.x + plane.y * p.y + plane.z * p.z + plane.w;
}

bool cFrustum::CullPoint(const cVec3& p) const {
    for (const cVec4& plane : planes)
        if (PlaneDistance(plane, p) < 0) return true;
    return false;
}

bool cFrustum::CullSphere(const cSphere& s) const {
    for (const cVec4& plane : planes)
        if (PlaneDistance(plane, s.center) < -s.radius) return true;
    return false;
}

// Conservative: a box is culled only when all its corners lie outside one
// plane; a box that straddles two planes outside the frustum is kept.
bool cFrustum::CullBounds(const cBounds& bounds, const cMat4& m) const {
    if (bounds.IsEmpty()) return false;
    cVec3 c[8];
    bounds.ToPoints(c);
    cVec3::TransformCoordinate(c, 8, m);
    for (const cVec4& plane : planes) {
        int outside = 0;
        while (outside < 8 && PlaneDistance(plane, c[outside]) < 0) outside++;
        if (outside == 8) return true;
    }
    return false;
}

// Each face is centre +- half-width R +- half-height U; both halves are scaled.
void cFrustum::Scale(const cVec2& s) {
    for (int base = 0; base < 8; base += 4) {
        cVec3* p = corners + base;  // bottom-left, top-left, top-right, bottom-right
        cVec3 center = (p[0] + p[1] + p[2] + p[3]) * 0.25f;
        cVec3 r = ((p[3] - p[0]) + (p[2] - p[1])) * (0.25f * s.x);
        cVec3 u = ((p[1] - p[0]) + (p[2] - p[3])) * (0.25f * s.y);
        p[0] = center - r - u;
        p[1] = center - r + u;
        p[2] = center + r + u;
        p[3] = center + r - u;
    }
    CalcPlanes();
}

}  // namespace zozud
