// cBsp: a binary space partition of triangles. Each node holds one triangle
// (its splitter) and the subtrees in front of and behind its plane; a
// triangle that straddles a splitter is cut, so the tree holds pieces of the
// triangles added, each piece keeping its triangle's id. Nodes come from the
// small-block pool (120 bytes each). Every walk over the tree uses an
// explicit stack, so a degenerate tree (a long chain read from a file) cannot
// exhaust the call stack.
//
// Byte form (little-endian, no header): one 41-byte record per node, the root
// first and then, depth first, its front subtree and its back subtree:
// vertices a, b, c (9 x f32), id (i32), flags (u8: 1 a front subtree follows,
// 2 a back subtree follows). An empty tree is no bytes at all.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Plane.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cMat4;

class cBsp {
public:
    struct Triangle {
        cVec3  v[3];
        int    id;
        cPlane plane;     // unit normal; counter-clockwise v[0] v[1] v[2] faces it
        cPlane edges[3];  // through edge v[i] v[i+1], perpendicular to plane, normals inward

        bool  CalcPlanes();                        // false for a degenerate triangle (planes zero)
        bool  IsAbove(const cVec3& p) const;       // p projects onto the triangle (edges included)
        cVec3 ClosestPoint(const cVec3& p) const;  // nearest point of the triangle to p
        // Cuts the triangle by the plane: up to three pieces, front ones first,
        // in pieces[0 .. *frontCount + *backCount). Vertices within epsilon of
        // the plane count as on it; a triangle wholly on one side (or on the
        // plane, which counts as front) is returned whole. Degenerate slivers
        // are dropped.
        void  Split(Triangle pieces[3], int* frontCount, int* backCount, const cPlane& plane, float epsilon) const;
    };

    struct Node {
        Triangle triangle;  // the splitter
        Node*    front;
        Node*    back;

        static Node* New(const Triangle& triangle);  // from the pool, no children
        static void  Delete(Node* node);             // the whole subtree
        // Builds a subtree of the triangles (the list is consumed). Each level
        // tries `candidates` splitters spread over the list and keeps the one
        // with the smallest |front - back| + splitWeight * cuts; straddling
        // triangles are cut with Triangle::Split and epsilon. Null for none.
        static Node* Build(cList<Triangle>* triangles, int candidates, int splitWeight, float epsilon);
    };

    cBsp() : m_Root(nullptr), m_Epsilon(DefaultEpsilon) {}
    ~cBsp() { Free(); }
    cBsp(const cBsp&) = delete;
    cBsp& operator=(const cBsp&) = delete;

    static constexpr float DefaultEpsilon = 0.001f;

    // ---- Building ----
    bool AddTriangle(const cVec3& a, const cVec3& b, const cVec3& c, int id);  // pending; false (skipped) when degenerate
    // The pending triangles (and those already in the tree) into a new tree.
    void Build(int candidates = 3, int splitWeight = 1, float epsilon = DefaultEpsilon);
    void Transform(const cMat4& m);  // every vertex; planes recomputed, sides swapped by a mirroring m
    void Free();                     // tree and pending triangles

    // ---- Queries (over the built tree) ----
    const Node* GetRoot() const { return m_Root; }
    int  GetPendingCount() const { return m_Pending.Count(); }
    int  GetNodeCount() const;
    // The nearest crossing of segment a-b with a triangle: point and triangle (each optional).
    bool Intersects(const cVec3& a, const cVec3& b, cVec3* hit, const Triangle** triangle) const;
    void GetAllTriangles(cList<const Triangle*>* list) const;                                   // appends
    void GetTrianglesWithinRadius(const cVec3& center, float radius, cList<const Triangle*>* list) const;  // appends
    static cVec3 PlaneHit(const cVec3& a, const cVec3& b, const cPlane& plane) { return cPlane::PlaneHit(a, b, plane); }

    // ---- Byte form ----
    static const int RecordSize = 41;
    bool Save(cList<unsigned char>* bytes) const;  // appends; nothing for an empty tree; false (bytes unchanged) when they cannot grow
    // Frees the old tree first. False, with the tree left empty, unless the
    // bytes are exactly one whole tree (or none).
    bool Load(const void* data, int size);

private:
    Node*           m_Root;
    cList<Triangle> m_Pending;
    float           m_Epsilon;  // of the last build: queries look that far past each plane
};

static_assert(sizeof(cBsp::Triangle) == 104, "a triangle is vertices, id and four planes");
static_assert(sizeof(cBsp::Node) <= 120, "a node fits a 120-byte pool block");

}  // namespace zozud
