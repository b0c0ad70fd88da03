// cSolver: polynomial roots, the symmetric eigen problem, plane fitting and
// point in polygon. Everything is computed in double and returned as float.
#include "zozud/math/Solver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zozud {

// ---- Quadratic ----

int cSolver::GetRoots2(float a, float b, float c, float roots[2]) {
    if (a == 0) {
        if (b == 0) return c == 0 ? -3 : -2;
        roots[0] = -c / b;
        return -1;
    }
    // In double the discriminant of float inputs has an exact sign: b*b and
    // 4*a*c are exact, and their difference is correctly rounded.
    double d = double(b) * b - 4.0 * a * c;
    if (d == 0) {
        roots[0] = float(-double(b) / (2.0 * a));
        return 1;
    }
    if (d < 0) {
        roots[0] = float(-double(b) / (2.0 * a));
        roots[1] = float(std::sqrt(-d) / (2.0 * a));
        return 0;
    }
    double q = b >= 0 ? -0.5 * (b + std::sqrt(d)) : -0.5 * (b - std::sqrt(d));
    roots[0] = float(q / a);
    roots[1] = float(c / q);
    return 2;
}

int cSolver::GetLowestPositiveRoot2(float a, float b, float c, float maxValue, float* root) {
    float r[2];
    int n = GetRoots2(a, b, c, r);
    if (n < 1) return 0;
    bool found = false;
    float best = maxValue;
    for (int i = 0; i < n; i++) {
        if (r[i] > 0 && r[i] < best) {
            best = r[i];
            found = true;
        }
    }
    if (!found) return 0;
    *root = best;
    return 1;
}

// ---- Cubic ----

static double Cubic(double a, double b, double c, double x) { return ((x + a) * x + b) * x + c; }

// One real root of the monic cubic: Cardano's formula in its cancellation-free
// form when there is one real root, the trigonometric form (the largest root)
// when there are three.
static double OneRealRoot(double a, double b, double c) {
    double p = b - a * a / 3.0;
    double q = 2.0 * a * a * a / 27.0 - a * b / 3.0 + c;
    double disc = q * q / 4.0 + p * p * p / 27.0;
    double y;
    if (disc > 0) {
        double A = -std::copysign(std::cbrt(std::fabs(q) / 2.0 + std::sqrt(disc)), q);
        y = A + (A != 0 ? -p / (3.0 * A) : 0.0);
    } else if (p == 0) {
        y = 0;
    } else {
        double m = 2.0 * std::sqrt(-p / 3.0);
        double arg = std::max(-1.0, std::min(1.0, 3.0 * q / (p * m)));
        y = m * std::cos(std::acos(arg) / 3.0);
    }
    return y - a / 3.0;
}

// Newton steps that are kept only while they reduce the residual and stay
// small: near a double root the derivative vanishes, and a long step could
// land on another root whose residual happens to be smaller.
static double Polish(double a, double b, double c, double x) {
    for (int i = 0; i < 8; i++) {
        double f = Cubic(a, b, c, x);
        double df = (3.0 * x + 2.0 * a) * x + b;
        if (f == 0 || df == 0) break;
        double nx = x - f / df;
        if (std::fabs(nx - x) > 1e-3 * (1.0 + std::fabs(x))) break;
        if (!(std::fabs(Cubic(a, b, c, nx)) < std::fabs(f))) break;
        x = nx;
    }
    return x;
}

// How far below zero the remaining quadratic's discriminant may fall from
// rounding alone. The coefficients are floats, known only to within their
// last bits, and a double root may have become a complex pair whose
// imaginary part is that uncertainty. q(x) = x^2 + e x + f with e = a + r and
// f = b + r e; at its vertex xm, q = -disc / 4. The bound follows the
// coefficients' errors (and the error they cause in r) into q(xm).
static double DiscriminantSlack(double a, double b, double c, double r, double e) {
    const double eps = 4.0 * FLT_EPSILON;
    double xm = -e / 2.0;
    double dp = (3.0 * r + 2.0 * a) * r + b;  // p'(r)
    if (dp == 0) return HUGE_VAL;             // r itself is a multiple root
    double dr = eps * (std::fabs(a) * r * r + std::fabs(b) * std::fabs(r) + std::fabs(c)) / std::fabs(dp);
    double dq = eps * (std::fabs(a) * std::fabs(xm + r) + std::fabs(b)) + dr * std::fabs(e / 2.0 + r);
    return 4.0 * dq;
}

// Finds one real root r, then solves the quadratic that remains after
// dividing by (x - r). A positive discriminant always gives two roots; one
// within rounding below zero is a double root (float coefficients of a cubic
// with a double root rarely have one exactly).
int cSolver::GetRoots3(float fa, float fb, float fc, float roots[3]) {
    double a = fa, b = fb, c = fc;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c)) return 0;
    double r = Polish(a, b, c, OneRealRoot(a, b, c));
    double e = a + r;
    double f1 = b + r * e;                 // forward deflation
    double f2 = r != 0 ? -c / r : f1;      // from the constant term
    double f = std::fabs(c + r * f1) <= std::fabs(b + r * e - f2) + std::fabs(c + r * f2) ? f1 : f2;
    double disc = e * e - 4.0 * f;
    double x[3] = {r, 0, 0};
    int n = 1;
    if (disc > 0) {
        double q = -0.5 * (e + std::copysign(std::sqrt(disc), e));
        x[1] = Polish(a, b, c, q);
        x[2] = Polish(a, b, c, q != 0 ? f / q : 0.0);
        n = 3;
    } else if (disc >= -DiscriminantSlack(a, b, c, r, e)) {
        x[1] = x[2] = -e / 2.0;  // Newton is of no help at a double root
        n = 3;
    }
    std::sort(x, x + n);
    for (int i = 0; i < n; i++) roots[i] = float(x[i]);
    return n;
}

// ---- Symmetric eigen problem ----

// Cyclic Jacobi rotations: slow to write down, but accurate for every
// symmetric matrix, including repeated eigenvalues. Columns of v are vectors.
static bool Jacobi3(double a[3][3], double v[3][3]) {
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) v[i][j] = i == j ? 1.0 : 0.0;
    for (int sweep = 0; sweep < 64; sweep++) {
        double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        double diag = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
        if (off == 0 || off <= 1e-32 * diag) return true;
        for (int p = 0; p < 2; p++) {
            for (int q = p + 1; q < 3; q++) {
                if (a[p][q] == 0) continue;
                double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                double t = std::copysign(1.0, theta) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                double cs = 1.0 / std::sqrt(t * t + 1.0), sn = t * cs;
                for (int k = 0; k < 3; k++) {  // A = J^T A J, columns then rows
                    double akp = a[k][p], akq = a[k][q];
                    a[k][p] = cs * akp - sn * akq;
                    a[k][q] = sn * akp + cs * akq;
                }
                for (int k = 0; k < 3; k++) {
                    double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = cs * apk - sn * aqk;
                    a[q][k] = sn * apk + cs * aqk;
                }
                for (int k = 0; k < 3; k++) {
                    double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = cs * vkp - sn * vkq;
                    v[k][q] = sn * vkp + cs * vkq;
                }
            }
        }
    }
    return true;
}

// Eigenvalues ascending; vectors[2] made the cross product of the first two.
static bool SolveSymmetric(double a[3][3], double values[3], double vectors[3][3]) {
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            if (!std::isfinite(a[i][j])) return false;
    double v[3][3];
    Jacobi3(a, v);
    int order[3] = {0, 1, 2};
    std::sort(order, order + 3, [&](int x, int y) { return a[x][x] < a[y][y]; });
    for (int i = 0; i < 3; i++) {
        values[i] = a[order[i]][order[i]];
        for (int k = 0; k < 3; k++) vectors[i][k] = v[k][order[i]];
    }
    const double* u = vectors[0];
    const double* w = vectors[1];
    double c[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    for (int k = 0; k < 3; k++) vectors[2][k] = c[k];
    return true;
}

bool cSolver::EigenSolve(const cMat3& m, float values[3], cVec3 vectors[3]) {
    double a[3][3];
    for (int i = 0; i < 3; i++)
        for (int j = i; j < 3; j++) a[i][j] = a[j][i] = m.At(i, j);
    double vals[3], vecs[3][3];
    if (!SolveSymmetric(a, vals, vecs)) return false;
    for (int i = 0; i < 3; i++) {
        values[i] = float(vals[i]);
        vectors[i] = cVec3(float(vecs[i][0]), float(vecs[i][1]), float(vecs[i][2])).ToNormal();
    }
    return true;
}

bool cSolver::ApproximatePoints(const cVec3* points, int n, cVec3* center, cVec3* normal, cVec3* axisU,
                                cVec3* axisV) {
    if (!points || n < 1) return false;
    double c[3] = {0, 0, 0};
    for (int i = 0; i < n; i++)
        for (int k = 0; k < 3; k++) c[k] += points[i][k];
    for (int k = 0; k < 3; k++) c[k] /= n;
    double cov[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    for (int i = 0; i < n; i++) {
        double d[3] = {points[i].x - c[0], points[i].y - c[1], points[i].z - c[2]};
        for (int r = 0; r < 3; r++)
            for (int s = 0; s < 3; s++) cov[r][s] += d[r] * d[s];
    }
    double vals[3], vecs[3][3];
    if (!SolveSymmetric(cov, vals, vecs)) return false;
    auto toVec = [](const double* v) { return cVec3(float(v[0]), float(v[1]), float(v[2])).ToNormal(); };
    if (center) *center = cVec3(float(c[0]), float(c[1]), float(c[2]));
    if (normal) *normal = toVec(vecs[0]);
    // U along the widest spread, V across it, U x V = normal.
    if (axisU) *axisU = toVec(vecs[2]);
    if (axisV) *axisV = toVec(vecs[0]).Cross(toVec(vecs[2])).ToNormal();
    return true;
}

// ---- Polygons ----

bool cSolver::PointInPolygon(const cList<cVec2>& polygon, const cVec2& p) {
    int n = polygon.Count();
    if (n < 3) return false;
    int winding = 0;
    for (int i = 0; i < n; i++) {
        const cVec2& a = polygon[i];
        const cVec2& b = polygon[(i + 1) % n];
        double side = (double(b.x) - a.x) * (double(p.y) - a.y) - (double(p.x) - a.x) * (double(b.y) - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0) winding++;  // upward crossing with p on the left
        } else if (b.y <= p.y && side < 0) {
            winding--;  // downward crossing with p on the right
        }
    }
    return winding != 0;
}

}  // namespace zozud
