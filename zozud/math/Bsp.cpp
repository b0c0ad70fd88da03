// cBsp: triangles (planes, closest points, cutting) and building the tree.
#include "zozud/math/Bsp.h"

#include <cfloat>
#include <cmath>
#include <new>
#include <utility>
#include <vector>

#include "zozud/core/Pool.h"
#include "zozud/math/Mat4.h"

namespace zozud {

namespace {

const int NodeBlock = 120;  // pool block of one node

int SideOf(float distance, float epsilon) { return distance > epsilon ? 1 : (distance < -epsilon ? -1 : 0); }

// Where a triangle lies against a plane: 1 front, -1 back, 0 on it, 2 across.
int Classify(const cBsp::Triangle& t, const cPlane& plane, float epsilon) {
    bool front = false, back = false;
    for (const cVec3& v : t.v) {
        int side = SideOf(plane.Distance(v), epsilon);
        front |= side > 0;
        back |= side < 0;
    }
    return front && back ? 2 : (front ? 1 : (back ? -1 : 0));
}

bool IsDegenerate(const cBsp::Triangle& t) { return t.plane.normal.LengthSq() == 0; }

}  // namespace

// ---- Triangle ----

bool cBsp::Triangle::CalcPlanes() {
    bool finite = true;
    for (const cVec3& p : v) finite &= std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    if (!finite || !plane.FromPoints(v[0], v[1], v[2]) || !std::isfinite(plane.d)) {
        plane = cPlane(0, 0, 0, 0);
        for (cPlane& e : edges) e = cPlane(0, 0, 0, 0);
        return false;
    }
    for (int i = 0; i < 3; i++) {
        const cVec3& p = v[i];
        cVec3 inward = plane.normal.Cross(v[(i + 1) % 3] - p);
        inward.Normalize();
        edges[i].FromPointNormal(p, inward);
    }
    return true;
}

bool cBsp::Triangle::IsAbove(const cVec3& p) const {
    if (IsDegenerate(*this)) return false;
    for (const cPlane& e : edges)
        if (e.Distance(p) < 0) return false;
    return true;
}

// The region test of the closest-point problem: vertex regions, then edge
// regions, else the face. Works for degenerate triangles too.
cVec3 cBsp::Triangle::ClosestPoint(const cVec3& p) const {
    const cVec3 &a = v[0], &b = v[1], &c = v[2];
    cVec3 ab = b - a, ac = c - a, ap = p - a;
    float d1 = ab.Dot(ap), d2 = ac.Dot(ap);
    if (d1 <= 0 && d2 <= 0) return a;
    cVec3 bp = p - b;
    float d3 = ab.Dot(bp), d4 = ac.Dot(bp);
    if (d3 >= 0 && d4 <= d3) return b;
    float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    cVec3 cp = p - c;
    float d5 = ab.Dot(cp), d6 = ac.Dot(cp);
    if (d6 >= 0 && d5 <= d6) return c;
    float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    float sum = va + vb + vc;
    if (!(sum > 0)) return a;  // degenerate (or not a number): any vertex will do
    return a + ab * (vb / sum) + ac * (vc / sum);
}

void cBsp::Triangle::Split(Triangle pieces[3], int* frontCount, int* backCount, const cPlane& cut,
                           float epsilon) const {
    float dist[3];
    int   side[3];
    for (int i = 0; i < 3; i++) side[i] = SideOf(dist[i] = cut.Distance(v[i]), epsilon);
    bool front = side[0] > 0 || side[1] > 0 || side[2] > 0;
    bool back = side[0] < 0 || side[1] < 0 || side[2] < 0;
    *frontCount = *backCount = 0;
    if (!(front && back)) {
        pieces[0] = *this;
        (back ? *backCount : *frontCount) = 1;
        return;
    }
    // Clip into a front and a back polygon (at most four corners each);
    // corners on the plane go to both.
    cVec3 poly[2][4];
    int   count[2] = {0, 0};
    for (int i = 0; i < 3; i++) {
        int j = (i + 1) % 3;
        if (side[i] >= 0) poly[0][count[0]++] = v[i];
        if (side[i] <= 0) poly[1][count[1]++] = v[i];
        if (side[i] * side[j] < 0) {
            cVec3 hit = v[i] + (v[j] - v[i]) * (dist[i] / (dist[i] - dist[j]));
            poly[0][count[0]++] = hit;
            poly[1][count[1]++] = hit;
        }
    }
    int n = 0;
    for (int s = 0; s < 2; s++) {
        int before = n;
        for (int k = 1; k + 1 < count[s]; k++) {
            Triangle& t = pieces[n];
            t.v[0] = poly[s][0];
            t.v[1] = poly[s][k];
            t.v[2] = poly[s][k + 1];
            t.id = id;
            if (t.CalcPlanes()) n++;
        }
        (s == 0 ? *frontCount : *backCount) = n - before;
    }
}

// ---- Nodes ----

cBsp::Node* cBsp::Node::New(const Triangle& triangle) {
    static_assert(sizeof(Node) <= NodeBlock, "node block");
    Node* node = new (cPool::Alloc(NodeBlock)) Node;
    node->triangle = triangle;
    node->front = node->back = nullptr;
    return node;
}

void cBsp::Node::Delete(Node* node) {
    std::vector<Node*> stack;
    if (node) stack.push_back(node);
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n->front) stack.push_back(n->front);
        if (n->back) stack.push_back(n->back);
        n->~Node();
        cPool::Free(reinterpret_cast<unsigned char*>(n), NodeBlock);
    }
}

namespace {

// |front - back| + splitWeight * cuts for one splitter over the list.
long long SplitScore(const std::vector<cBsp::Triangle>& triangles, int splitter, int splitWeight, float epsilon) {
    const cPlane& plane = triangles[splitter].plane;
    long long front = 0, back = 0, cuts = 0;
    for (int i = 0; i < (int)triangles.size(); i++) {
        if (i == splitter) continue;
        int c = Classify(triangles[i], plane, epsilon);
        if (c == 2) cuts++;
        else if (c < 0) back++;
        else front++;
    }
    long long balance = front > back ? front - back : back - front;
    return balance + splitWeight * cuts;
}

int ChooseSplitter(const std::vector<cBsp::Triangle>& triangles, int candidates, int splitWeight, float epsilon) {
    int n = (int)triangles.size();
    if (candidates < 1) candidates = 1;
    if (candidates > n) candidates = n;
    int best = 0;
    long long bestScore = -1;
    for (int k = 0; k < candidates; k++) {
        int i = (int)(((2LL * k + 1) * n) / (2LL * candidates));
        long long score = SplitScore(triangles, i, splitWeight, epsilon);
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

}  // namespace

cBsp::Node* cBsp::Node::Build(cList<Triangle>* triangles, int candidates, int splitWeight, float epsilon) {
    struct Job {
        Node**                 slot;
        std::vector<Triangle>  list;
    };
    Node* root = nullptr;
    std::vector<Job> jobs;
    jobs.push_back(Job{&root, std::vector<Triangle>(triangles->begin(), triangles->end())});
    triangles->Free();
    while (!jobs.empty()) {
        Job job = std::move(jobs.back());
        jobs.pop_back();
        if (job.list.empty()) continue;
        const std::vector<Triangle>& work = job.list;
        int s = ChooseSplitter(work, candidates, splitWeight, epsilon);
        Node* node = New(work[s]);
        *job.slot = node;
        Job front{&node->front, {}}, back{&node->back, {}};
        Triangle pieces[3];
        for (int i = 0; i < (int)work.size(); i++) {
            if (i == s) continue;
            int nf, nb;
            work[i].Split(pieces, &nf, &nb, node->triangle.plane, epsilon);
            for (int k = 0; k < nf; k++) front.list.push_back(pieces[k]);
            for (int k = nf; k < nf + nb; k++) back.list.push_back(pieces[k]);
        }
        jobs.push_back(std::move(back));
        jobs.push_back(std::move(front));
    }
    return root;
}

// ---- The tree ----

bool cBsp::AddTriangle(const cVec3& a, const cVec3& b, const cVec3& c, int id) {
    Triangle t;
    t.v[0] = a;
    t.v[1] = b;
    t.v[2] = c;
    t.id = id;
    if (!t.CalcPlanes()) return false;
    m_Pending.Add(t);
    return true;
}

void cBsp::Build(int candidates, int splitWeight, float epsilon) {
    cList<const Triangle*> old;
    GetAllTriangles(&old);
    cList<Triangle> all;
    for (const Triangle* t : old)
        if (!IsDegenerate(*t)) all.Add(*t);
    all.AddRange(m_Pending.GetPtr(), m_Pending.Count());
    Node::Delete(m_Root);
    m_Pending.Free();
    m_Epsilon = epsilon > 0 ? epsilon : 0;
    m_Root = Node::Build(&all, candidates, splitWeight, m_Epsilon);
}

void cBsp::Transform(const cMat4& m) {
    // A mirroring matrix turns every recomputed normal to the other side of
    // the transformed subtrees, so front and back trade places.
    cVec3 x(m[0], m[1], m[2]), y(m[4], m[5], m[6]), z(m[8], m[9], m[10]);
    bool mirror = x.Cross(y).Dot(z) < 0;
    auto move = [&](Triangle& t) {
        for (cVec3& v : t.v) v = cVec3::TransformCoordinate(v, m);
        t.CalcPlanes();
    };
    for (Triangle& t : m_Pending) move(t);
    std::vector<Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        move(n->triangle);
        if (mirror) std::swap(n->front, n->back);
        if (n->front) stack.push_back(n->front);
        if (n->back) stack.push_back(n->back);
    }
}

void cBsp::Free() {
    Node::Delete(m_Root);
    m_Root = nullptr;
    m_Pending.Free();
    m_Epsilon = DefaultEpsilon;
}

}  // namespace zozud
