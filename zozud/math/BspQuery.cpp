// cBsp queries: segment crossings and triangles near a point. A subtree is
// entered when the query reaches its side of the splitter's plane, widened by
// the epsilon the tree was built with, since pieces sorted to one side may lie
// that far across the plane.
#include <cfloat>
#include <cmath>
#include <vector>

#include "zozud/math/Bsp.h"

namespace zozud {

namespace {

// The crossing of segment a + dir * t (t in 0..1) with the triangle, by its
// planes: edges are tested with a small allowance so that a segment through
// the seam of two pieces of a cut triangle hits one of them.
bool SegmentTriangle(const cBsp::Triangle& tri, const cVec3& a, const cVec3& dir, float* t) {
    float da = tri.plane.Distance(a), dd = tri.plane.normal.Dot(dir);
    if (dd == 0) return false;
    float s = -da / dd;
    if (!(s >= 0 && s <= 1)) return false;
    cVec3 p = a + dir * s;
    float allowance = 1e-6f * (1 + std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z));
    for (const cPlane& e : tri.edges)
        if (!(e.Distance(p) >= -allowance)) return false;
    *t = s;
    return true;
}

}  // namespace

int cBsp::GetNodeCount() const {
    int count = 0;
    std::vector<const Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        count++;
        if (n->front) stack.push_back(n->front);
        if (n->back) stack.push_back(n->back);
    }
    return count;
}

bool cBsp::Intersects(const cVec3& a, const cVec3& b, cVec3* hit, const Triangle** triangle) const {
    cVec3 dir = b - a;
    float best = 2;  // beyond the segment: no hit yet
    const Triangle* bestTriangle = nullptr;
    std::vector<const Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        float t;
        if (SegmentTriangle(n->triangle, a, dir, &t) && t < best) {
            best = t;
            bestTriangle = &n->triangle;
        }
        // Only the part of the segment before the best hit so far matters.
        float da = n->triangle.plane.Distance(a);
        float de = n->triangle.plane.Distance(a + dir * (best < 1 ? best : 1));
        if (n->back && (da <= m_Epsilon || de <= m_Epsilon)) stack.push_back(n->back);
        if (n->front && (da >= -m_Epsilon || de >= -m_Epsilon)) stack.push_back(n->front);
    }
    if (!bestTriangle) return false;
    if (hit) *hit = a + dir * best;
    if (triangle) *triangle = bestTriangle;
    return true;
}

void cBsp::GetAllTriangles(cList<const Triangle*>* list) const {
    std::vector<const Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        list->Add(&n->triangle);
        if (n->back) stack.push_back(n->back);
        if (n->front) stack.push_back(n->front);
    }
}

void cBsp::GetTrianglesWithinRadius(const cVec3& center, float radius, cList<const Triangle*>* list) const {
    float reach = radius + m_Epsilon;
    std::vector<const Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        float d = n->triangle.plane.Distance(center);
        if (std::fabs(d) <= radius && (n->triangle.ClosestPoint(center) - center).LengthSq() <= radius * radius)
            list->Add(&n->triangle);
        if (n->back && d <= reach) stack.push_back(n->back);
        if (n->front && d >= -reach) stack.push_back(n->front);
    }
}

}  // namespace zozud
