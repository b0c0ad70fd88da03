// cSolver: small numeric solvers: quadratic and cubic roots, the eigen
// decomposition of a symmetric 3x3 matrix, the best-fit plane of a point set
// and point in polygon. Computed in double where cancellation would hurt.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cSolver {
public:
    // a x^2 + b x + c = 0. Returns -3 (every x: all zero), -2 (none: a = b = 0),
    // -1 (linear, roots[0]), 0 (complex: roots[0] real part, roots[1] imaginary part),
    // 1 (double root) or 2 (two real roots).
    static int GetRoots2(float a, float b, float c, float roots[2]);
    // The smallest root r with 0 < r < maxValue: 1 and *root, or 0.
    static int GetLowestPositiveRoot2(float a, float b, float c, float maxValue, float* root);
    // x^3 + a x^2 + b x + c = 0: the real roots in ascending order, counted with
    // multiplicity (1 or 3; a double root appears twice).
    static int GetRoots3(float a, float b, float c, float roots[3]);
    // Symmetric m (the upper triangle is used): eigenvalues in ascending order and
    // unit eigenvectors forming a right-handed basis. False only for non-finite input.
    static bool EigenSolve(const cMat3& m, float values[3], cVec3 vectors[3]);
    // Best-fit plane: the centroid and the unit normal (eigenvector of the smallest
    // covariance eigenvalue); axisU, axisV (optional) span the plane, U the widest
    // spread. False for n < 1.
    static bool ApproximatePoints(const cVec3* points, int n, cVec3* center, cVec3* normal,
                                  cVec3* axisU = nullptr, cVec3* axisV = nullptr);
    // Winding number of the closed outline around p; true when non-zero.
    static bool PointInPolygon(const cList<cVec2>& polygon, const cVec2& p);
};

}  // namespace zozud
