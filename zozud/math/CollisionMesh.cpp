// cCollisionMesh: a swept sphere against two-sided triangles, and the slide.
//
// The sweep finds the first time t in 0..1 at which the sphere moving from
// `from` by `move` touches a triangle: first the face (when the sphere
// reaches the plane at a point inside the triangle), else the edges (a
// cylinder) and corners (a sphere), each a quadratic in t. Collide stops the
// sphere at the contact, lifted off the surface by a small skin (a thousandth
// of the radius), keeps the part of the remaining motion that runs along the
// surface, and sweeps again; after the last sweep Fix removes whatever
// overlap rounding left. Both use the BSP to find the triangles near the path.
#include "zozud/math/CollisionMesh.h"

#include <cmath>
#include <cstring>

#include "zozud/math/Mat4.h"

namespace zozud {

namespace {

float Skin(float radius) { return radius * 1e-3f > 1e-6f ? radius * 1e-3f : 1e-6f; }

// The roots are taken in double: the edge's quadratic subtracts products of
// squared lengths, which in float loses the difference between touching a
// face and touching an edge next to the contact.
struct D3 {
    double x, y, z;
    D3(const cVec3& v) : x(v.x), y(v.y), z(v.z) {}
    D3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    D3     operator-(const D3& b) const { return D3(x - b.x, y - b.y, z - b.z); }
    double Dot(const D3& b) const { return x * b.x + y * b.y + z * b.z; }
};

// The smallest root of a t^2 + b t + c = 0 in [0, maxT), below maxT so that a
// face met at the same time keeps the contact.
bool LowestRoot(double a, double b, double c, float maxT, float* root) {
    if (a == 0) return false;
    double det = b * b - 4 * a * c;
    if (det < 0) return false;
    double s = std::sqrt(det);
    double r1 = (-b - s) / (2 * a), r2 = (-b + s) / (2 * a);
    if (r1 > r2) { double t = r1; r1 = r2; r2 = t; }
    if (r1 >= 0 && r1 < maxT) { *root = (float)r1; return true; }
    if (r2 >= 0 && r2 < maxT) { *root = (float)r2; return true; }
    return false;
}

// The sphere's centre meets the sphere of radius r around a corner.
bool SweepCorner(const cVec3& from, const cVec3& move, const cVec3& corner, float r, float* t) {
    D3 d = D3(from) - D3(corner), m(move);
    return LowestRoot(m.Dot(m), 2 * m.Dot(d), d.Dot(d) - (double)r * r, *t, t);
}

// The centre meets the cylinder of radius r around edge p-q, within the edge.
bool SweepEdge(const cVec3& from, const cVec3& move, const cVec3& p, const cVec3& q, float r, float* t,
               cVec3* point) {
    D3 edge = D3(q) - D3(p), base = D3(p) - D3(from), m(move);
    double edgeSq = edge.Dot(edge), edgeMove = edge.Dot(m), edgeBase = edge.Dot(base);
    if (edgeSq == 0) return false;
    double a = edgeSq * -m.Dot(m) + edgeMove * edgeMove;
    double b = edgeSq * 2 * m.Dot(base) - 2 * edgeMove * edgeBase;
    double c = edgeSq * ((double)r * r - base.Dot(base)) + edgeBase * edgeBase;
    float root;
    if (!LowestRoot(a, b, c, *t, &root)) return false;
    double f = (edgeMove * root - edgeBase) / edgeSq;
    if (f < 0 || f > 1) return false;
    *t = root;
    *point = p + (q - p) * (float)f;
    return true;
}

// The point of the plane lies on the triangle, allowing for rounding at its
// edges (a contact on the seam of two triangles belongs to a face).
bool OnFace(const cBsp::Triangle& tri, const cVec3& p, float radius) {
    float allowance = radius * 1e-5f;
    for (const cPlane& e : tri.edges)
        if (!(e.Distance(p) >= -allowance)) return false;
    return true;
}

}  // namespace

// ---- Adding triangles ----

void cCollisionMesh::AddTriangle(const cVec3& a, const cVec3& b, const cVec3& c, int id) {
    Triangle t;
    t.v[0] = a;
    t.v[1] = b;
    t.v[2] = c;
    t.id = id;
    Triangles.Add(t);
}

int cCollisionMesh::AddTriangles(const void* positions, int stride, int vertexCount, const int* indices,
                                 int indexCount, const cMat4& m, int id) {
    if (!positions || !indices || vertexCount <= 0) return 0;
    if (stride <= 0) stride = sizeof(cVec3);
    const unsigned char* base = static_cast<const unsigned char*>(positions);
    auto at = [&](int i) {
        cVec3 p;
        memcpy(&p, base + (size_t)i * (size_t)stride, sizeof p);
        return cVec3::TransformCoordinate(p, m);
    };
    int added = 0;
    for (int i = 0; i + 2 < indexCount; i += 3) {
        const int* k = indices + i;
        if (k[0] < 0 || k[1] < 0 || k[2] < 0 || k[0] >= vertexCount || k[1] >= vertexCount || k[2] >= vertexCount)
            continue;
        AddTriangle(at(k[0]), at(k[1]), at(k[2]), id);
        added++;
    }
    return added;
}

void cCollisionMesh::BuildBsp() {
    Bsp.Free();
    for (const Triangle& t : Triangles) Bsp.AddTriangle(t.v[0], t.v[1], t.v[2], t.id);
    Bsp.Build(3, 1, 0.001f);
}

void cCollisionMesh::Free() {
    Triangles.Free();
    Bsp.Free();
}

// ---- Sweeping ----

bool cCollisionMesh::TestTriangle(const cBsp::Triangle& tri, const cVec3& from, const cVec3& move, float radius,
                                  Contact* contact) {
    cPlane plane = tri.plane;
    if (plane.normal.LengthSq() == 0) return false;
    float s0 = plane.Distance(from);
    if (s0 < 0) {  // two-sided: face the side the sphere starts on
        plane = cPlane(-plane.normal, -plane.d);
        s0 = -s0;
    }
    float best = contact->t;
    if (s0 < radius) {
        // Already touching the plane: an overlap now is a contact at once when
        // the motion goes further in; anything else is met at an edge or corner.
        cVec3 q = tri.ClosestPoint(from);
        cVec3 toward = q - from;
        if (toward.LengthSq() < radius * radius) {
            if (!(move.Dot(toward) > 1e-6f * std::sqrt(move.LengthSq() * toward.LengthSq()))) return false;
            *contact = Contact{0, q, tri.id};
            return true;
        }
    } else {
        float nd = plane.normal.Dot(move);
        if (nd >= 0) return false;  // never comes closer than radius to the plane
        float t0 = (radius - s0) / nd;
        if (t0 > best) return false;
        cVec3 p = from + move * t0 - plane.normal * radius;
        if (OnFace(tri, p, radius)) {
            *contact = Contact{t0, p, tri.id};
            return true;
        }
    }
    bool found = false;
    for (int i = 0; i < 3; i++) {
        float t = best;
        if (SweepCorner(from, move, tri.v[i], radius, &t)) {
            best = t;
            *contact = Contact{t, tri.v[i], tri.id};
            found = true;
        }
    }
    for (int i = 0; i < 3; i++) {
        float t = best;
        cVec3 point;
        if (SweepEdge(from, move, tri.v[i], tri.v[(i + 1) % 3], radius, &t, &point)) {
            best = t;
            *contact = Contact{t, point, tri.id};
            found = true;
        }
    }
    return found;
}

bool cCollisionMesh::ProcessCollision(const cVec3& from, const cVec3& move, float radius, Contact* contact) const {
    cList<const cBsp::Triangle*> near;
    float reach = move.Length() * 0.5f + radius + Skin(radius);
    Bsp.GetTrianglesWithinRadius(from + move * 0.5f, reach, &near);
    contact->t = 1;
    bool found = false;
    for (const cBsp::Triangle* tri : near) found |= TestTriangle(*tri, from, move, radius, contact);
    return found;
}

bool cCollisionMesh::Collide(const cVec3& from, const cVec3& to, float radius, float slide, cVec3* result,
                             int* id) const {
    float skin = Skin(radius);
    cVec3 pos = from;
    ProcessFix(&pos, radius, skin);
    cVec3 move = to - pos;
    bool met = false;
    for (int i = 0; i < MaxSlides && move.LengthSq() > skin * skin * 1e-4f; i++) {
        Contact c;
        if (!ProcessCollision(pos, move, radius, &c)) {
            pos += move;
            move = cVec3(0, 0, 0);
            break;
        }
        if (!met && id) *id = c.id;
        met = true;
        cVec3 center = pos + move * c.t;
        cVec3 normal = (center - c.point).ToNormal();
        pos = center + normal * skin;
        cVec3 rest = move * (1 - c.t);
        move = (rest - normal * normal.Dot(rest)) * slide;
    }
    ProcessFix(&pos, radius, skin);
    *result = pos;
    return met;
}

// ---- Fixing overlaps ----

bool cCollisionMesh::FixTriangle(const cBsp::Triangle& tri, cVec3* position, float radius, float skin) {
    cVec3 away = *position - tri.ClosestPoint(*position);
    float dist = away.Length();
    if (dist >= radius) return false;
    if (dist > 0) {
        *position += away * ((radius + skin - dist) / dist);
    } else {
        if (tri.plane.normal.LengthSq() == 0) return false;
        *position += tri.plane.normal * (radius + skin);
    }
    return true;
}

bool cCollisionMesh::ProcessFix(cVec3* position, float radius, float skin) const {
    bool moved = false;
    cList<const cBsp::Triangle*> near;
    for (int pass = 0; pass < 8; pass++) {
        near.Clear();
        Bsp.GetTrianglesWithinRadius(*position, radius, &near);
        bool any = false;
        for (const cBsp::Triangle* tri : near) any |= FixTriangle(*tri, position, radius, skin);
        moved |= any;
        if (!any) break;
    }
    return moved;
}

bool cCollisionMesh::Fix(cVec3* position, float radius) const { return ProcessFix(position, radius, Skin(radius)); }

}  // namespace zozud
