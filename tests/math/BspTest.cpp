// cBsp: queries against brute force over random triangle soups, the byte form and bytes that are no tree.
#include <random>
#include <set>

#include "math/MathCheck.h"
#include "zozud/math/Bsp.h"
#include "zozud/math/Seg.h"

using namespace mathtest;

namespace {

struct Soup {
    std::vector<cVec3> v;  // three per triangle; triangle i has id i
    int Count() const { return (int)v.size() / 3; }
};

// Triangles of about `size` scattered in a cube of half-width `extent`;
// `layered` puts them all in a few parallel planes (many coplanar splitters).
Soup MakeSoup(unsigned seed, int count, float size, float extent, bool layered) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(-1, 1);
    Soup s;
    for (int i = 0; i < count; i++) {
        cVec3 c(u(rng) * extent, u(rng) * extent, u(rng) * extent);
        if (layered) c.y = std::round(c.y / extent * 2) * extent / 2;
        for (int k = 0; k < 3; k++) {
            cVec3 p = c + cVec3(u(rng), u(rng), u(rng)) * size;
            if (layered) p.y = c.y;
            s.v.push_back(p);
        }
    }
    return s;
}

void AddSoup(cBsp* bsp, const Soup& s) {
    for (int i = 0; i < s.Count(); i++) bsp->AddTriangle(s.v[i * 3], s.v[i * 3 + 1], s.v[i * 3 + 2], i);
}

bool Degenerate(const Soup& s, int i) {
    return (s.v[i * 3 + 1] - s.v[i * 3]).Cross(s.v[i * 3 + 2] - s.v[i * 3]).LengthSq() == 0;
}

// Point-to-triangle distance by another road than the tree's: inside the
// projection by barycentric weights, else the nearest of the three edges.
float Distance(const Soup& s, int i, const cVec3& p) {
    const cVec3 &a = s.v[i * 3], &b = s.v[i * 3 + 1], &c = s.v[i * 3 + 2];
    cVec3 n = (b - a).Cross(c - a).ToNormal();
    cVec3 q = p - n * n.Dot(p - a);
    double area = (b - a).Cross(c - a).Dot(n);
    double wa = (b - q).Cross(c - q).Dot(n) / area, wb = (c - q).Cross(a - q).Dot(n) / area;
    if (wa >= 0 && wb >= 0 && wa + wb <= 1) return std::fabs(n.Dot(p - a));
    float d = cSeg::Distance(cSeg::ConsiderAs::Segment, cSeg(a, b), p);
    d = std::min(d, cSeg::Distance(cSeg::ConsiderAs::Segment, cSeg(b, c), p));
    return std::min(d, cSeg::Distance(cSeg::ConsiderAs::Segment, cSeg(c, a), p));
}

// Within-radius ids of the tree against every triangle of the soup. Triangles
// closer to the boundary than `slack` may go either way (rounding of cut pieces).
void ExpectSameWithinRadius(const cBsp& bsp, const Soup& s, const cVec3& center, float radius, const char* row) {
    cList<const cBsp::Triangle*> found;
    bsp.GetTrianglesWithinRadius(center, radius, &found);
    std::set<int> ids;
    for (const cBsp::Triangle* t : found) ids.insert(t->id);
    const float slack = 1e-4f * (1 + radius);
    for (int i = 0; i < s.Count(); i++) {
        if (Degenerate(s, i)) continue;
        float d = Distance(s, i, center);
        if (d < radius - slack) { EXPECT_TRUE(ids.count(i)) << row << ": triangle " << i << " at " << d << " missed"; }
        if (d > radius + slack) { EXPECT_FALSE(ids.count(i)) << row << ": triangle " << i << " at " << d << " found"; }
    }
}

void ExpectSameSegmentHit(const cBsp& bsp, const Soup& s, const cVec3& a, const cVec3& b, const char* row) {
    float best = FLT_MAX;
    for (int i = 0; i < s.Count(); i++) {
        float u, v, t;
        if (cVec3::RayTri(a, b - a, s.v[i * 3], s.v[i * 3 + 1], s.v[i * 3 + 2], &u, &v, &t, false) && t >= 0 &&
            t <= 1)
            best = std::min(best, t);
    }
    cVec3 hit;
    const cBsp::Triangle* tri = nullptr;
    bool bspHit = bsp.Intersects(a, b, &hit, &tri);
    ASSERT_EQ(best <= 1, bspHit) << row;
    if (!bspHit) return;
    EXPECT_LT((hit - (a + (b - a) * best)).Length(), 1e-3f) << row;
    EXPECT_LT(Distance(s, tri->id, hit), 1e-3f) << row;  // the piece belongs to the triangle it names
}

void ExpectSameAnswers(const cBsp& bsp, const Soup& s, unsigned seed, float extent, const char* row) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(-1, 1), r(0, 1);
    for (int q = 0; q < 60; q++) {
        cVec3 center(u(rng) * extent, u(rng) * extent, u(rng) * extent);
        ExpectSameWithinRadius(bsp, s, center, r(rng) * extent * 0.3f, row);
        cVec3 to(u(rng) * extent, u(rng) * extent, u(rng) * extent);
        ExpectSameSegmentHit(bsp, s, center, to, row);
    }
}

Soup Transformed(const Soup& s, const cMat4& m) {
    Soup t = s;
    for (cVec3& p : t.v) p = cVec3::TransformCoordinate(p, m);
    return t;
}

cList<unsigned char> Bytes(const cBsp& bsp) {
    cList<unsigned char> bytes;
    bsp.Save(&bytes);
    return bytes;
}

}  // namespace

// Each soup is built (in two halves, built one after the other, for "two
// builds"), then moved by m, and asked about the moved soup.
TEST(Bsp, QueriesMatchBruteForce) {
    const cMat4 I = cMat4::Identity;
    const struct { const char* name; int count; float size, extent; bool layered, twoBuilds; int candidates, splitWeight; cMat4 m; } rows[] = {
        {"small soup", 40, 1.0f, 3, false, false, 3, 1, I},
        {"dense soup, many cuts", 400, 2.0f, 4, false, false, 3, 1, I},
        {"sparse small triangles", 1500, 0.2f, 20, false, false, 3, 1, I},
        {"parallel layers", 600, 1.5f, 10, true, false, 3, 1, I},
        {"one candidate", 300, 1.0f, 5, false, false, 1, 1, I},
        {"many candidates, cuts cost much", 300, 1.0f, 5, false, false, 12, 8, I},
        {"two builds", 200, 1.0f, 5, false, true, 3, 1, I},
        {"turn and move", 300, 1.0f, 5, false, false, 3, 1, cMat4::RotationXYZ(30, 70, -20) * cMat4::Translation(5, -2, 1)},
        {"uneven scale", 300, 1.0f, 5, false, false, 3, 1, cMat4::Scaling(cVec3(2, 0.5f, 3))},
        {"mirror", 300, 1.0f, 5, false, false, 3, 1, cMat4::Scaling(cVec3(-1, 1, 1))},
        {"mirror, turn, scale", 300, 1.0f, 5, false, false, 3, 1, cMat4::Scaling(cVec3(1, -2, 1)) * cMat4::RotationXYZ(10, 20, 30)},
    };
    unsigned seed = 1;
    for (const auto& row : rows) {
        Soup s = MakeSoup(seed++, row.count, row.size, row.extent, row.layered);
        cBsp bsp;
        int first = row.twoBuilds ? row.count / 2 : 0;
        for (int i = 0; i < s.Count(); i++) {
            if (i == first && i > 0) bsp.Build(row.candidates, row.splitWeight, 0.001f);
            bsp.AddTriangle(s.v[i * 3], s.v[i * 3 + 1], s.v[i * 3 + 2], i);
        }
        EXPECT_EQ(bsp.GetPendingCount(), row.count - first) << row.name;
        bsp.Build(row.candidates, row.splitWeight, 0.001f);
        EXPECT_EQ(bsp.GetPendingCount(), 0) << row.name;
        EXPECT_GE(bsp.GetNodeCount(), row.count) << row.name;  // every triangle, some in pieces
        bsp.Transform(row.m);
        Soup moved = Transformed(s, row.m);
        float extent = 0;
        for (const cVec3& p : moved.v) extent = std::max(extent, std::max(std::fabs(p.x), std::max(std::fabs(p.y), std::fabs(p.z))));
        ExpectSameAnswers(bsp, moved, seed++, extent, row.name);

        // A trip through bytes keeps every answer, and saves the same bytes again.
        cList<unsigned char> bytes = Bytes(bsp);
        EXPECT_EQ(bytes.Count(), bsp.GetNodeCount() * 41) << row.name;
        cBsp back;
        ASSERT_TRUE(back.Load(bytes.GetPtr(), bytes.Count())) << row.name;
        cList<unsigned char> again = Bytes(back);
        EXPECT_TRUE(again.Count() == bytes.Count() && memcmp(again.GetPtr(), bytes.GetPtr(), bytes.Count()) == 0) << row.name;
        ExpectSameAnswers(back, moved, seed++, extent, row.name);
    }
}

TEST(Bsp, EdgeCases) {
    cBsp bsp;
    EXPECT_FALSE(bsp.AddTriangle(cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(2, 2, 2), 1));  // collinear: skipped
    EXPECT_FALSE(bsp.AddTriangle(cVec3(1, 1, 1), cVec3(1, 1, 1), cVec3(0, 0, 0), 2));
    bsp.Build();
    EXPECT_EQ(bsp.GetRoot(), nullptr);
    cList<const cBsp::Triangle*> list;
    bsp.GetTrianglesWithinRadius(cVec3(0, 0, 0), 100, &list);
    bsp.GetAllTriangles(&list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(bsp.Intersects(cVec3(-5, 0, 0), cVec3(5, 0, 0), nullptr, nullptr));

    // A segment that ends on the face, one that stops short, one along the face.
    ASSERT_TRUE(bsp.AddTriangle(cVec3(0, 0, 0), cVec3(2, 0, 0), cVec3(0, 2, 0), 9));
    bsp.Build();
    cVec3 hit;
    const cBsp::Triangle* tri = nullptr;
    EXPECT_TRUE(bsp.Intersects(cVec3(0.5f, 0.5f, 3), cVec3(0.5f, 0.5f, 0), &hit, &tri));
    EXPECT_TRUE(hit == cVec3(0.5f, 0.5f, 0) && tri && tri->id == 9);
    EXPECT_FALSE(bsp.Intersects(cVec3(0.5f, 0.5f, 3), cVec3(0.5f, 0.5f, 0.01f), nullptr, nullptr));
    EXPECT_FALSE(bsp.Intersects(cVec3(-1, 0.5f, 0), cVec3(3, 0.5f, 0), nullptr, nullptr));
    // Radius queries (they append): touching counts, the face's closest point, not a corner's; just short adds nothing.
    bsp.GetTrianglesWithinRadius(cVec3(0.5f, 0.5f, 1), 1, &list);
    bsp.GetTrianglesWithinRadius(cVec3(0.5f, 0.5f, 1), 0.999f, &list);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(tri->IsAbove(cVec3(0.5f, 0.5f, 7)) && tri->IsAbove(cVec3(1, 1, -1)) && !tri->IsAbove(cVec3(1.1f, 1, 0)));
    EXPECT_EQ(cBsp::PlaneHit(cVec3(1, 1, -2), cVec3(1, 1, 6), tri->plane), cVec3(1, 1, 0));
}

TEST(Bsp, SplitGivesPiecesOnEachSide) {
    cBsp::Triangle t;
    t.v[0] = cVec3(-1, 0, 0), t.v[1] = cVec3(3, 0, 0), t.v[2] = cVec3(-1, 4, 0), t.id = 4;
    ASSERT_TRUE(t.CalcPlanes());
    const struct { const char* name; cPlane plane; int front, back; } rows[] = {
        {"one corner in front", cPlane(cVec3(1, 0, 0), -1), 1, 2},
        {"one corner behind", cPlane(cVec3(-1, 0, 0), 1), 2, 1},
        {"an edge on it", cPlane(cVec3(0, 1, 0), 0), 1, 0},
        {"through a corner and the far edge", cPlane(cVec3(1, 2, 0) / std::sqrt(5.0f), -3 / std::sqrt(5.0f)), 1, 1},
        {"within epsilon", cPlane(cVec3(1, 0, 0), 1.0005f), 1, 0},
        {"its own plane", cPlane(cVec3(0, 0, 1), 0), 1, 0},
        {"wholly behind", cPlane(cVec3(0, 0, 1), -5), 0, 1},
    };
    for (const auto& row : rows) {
        cBsp::Triangle pieces[3];
        int nf = -1, nb = -1;
        t.Split(pieces, &nf, &nb, row.plane, 0.001f);
        EXPECT_TRUE(nf == row.front && nb == row.back) << row.name << ": " << nf << " " << nb;
        float area = 0;
        for (int i = 0; i < nf + nb; i++) {
            const cBsp::Triangle& p = pieces[i];
            EXPECT_EQ(p.id, 4) << row.name;
            area += (p.v[1] - p.v[0]).Cross(p.v[2] - p.v[0]).Length() / 2;
            EXPECT_GT(p.plane.normal.z, 0.99f) << row.name;  // pieces keep the winding
            for (const cVec3& v : p.v) {
                float d = row.plane.Distance(v);
                EXPECT_TRUE(i < nf ? d >= -0.001f : d <= 0.001f) << row.name << " piece " << i;
            }
        }
        EXPECT_NEAR(area, 8, 1e-4f) << row.name;
    }
}

// ---- Byte form ----

TEST(BspFile, OneTriangleIs41Bytes) {
    cBsp bsp;
    ASSERT_TRUE(bsp.AddTriangle(cVec3(1, 2, 3), cVec3(4, 5, 6), cVec3(7, 8, 10), -7));
    bsp.Build();
    cList<unsigned char> bytes = Bytes(bsp);
    ASSERT_EQ(bytes.Count(), 41);
    float expected[9] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
    EXPECT_EQ(memcmp(bytes.GetPtr(), expected, 36), 0);
    const unsigned char tail[5] = {0xF9, 0xFF, 0xFF, 0xFF, 0};  // id -7, no children
    EXPECT_EQ(memcmp(bytes.GetPtr() + 36, tail, 5), 0);

    cBsp back;
    ASSERT_TRUE(back.Load(bytes.GetPtr(), bytes.Count()) && back.GetRoot());
    const cBsp::Node* root = back.GetRoot();
    EXPECT_TRUE(!root->front && !root->back && root->triangle.id == -7);
    EXPECT_EQ(root->triangle.plane.normal, bsp.GetRoot()->triangle.plane.normal);  // recomputed
    EXPECT_EQ(Bytes(cBsp()).Count(), 0);
    EXPECT_TRUE(back.Load(nullptr, 0));  // no bytes: an empty tree
    EXPECT_EQ(back.GetRoot(), nullptr);
}

TEST(BspFile, ShapeAndOrderOfRecords) {
    // Splitter z = 0 with one triangle in front (z = 1) and one behind (z = -1):
    // records root, front, back with flags 3, 0, 0.
    cBsp bsp;
    bsp.AddTriangle(cVec3(0, 0, 1), cVec3(1, 0, 1), cVec3(0, 1, 1), 1);
    bsp.AddTriangle(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(0, 1, 0), 0);
    bsp.AddTriangle(cVec3(0, 0, -1), cVec3(1, 0, -1), cVec3(0, 1, -1), 2);
    bsp.Build(1, 1, 0.001f);  // one candidate: the middle of the list
    cList<unsigned char> bytes = Bytes(bsp);
    ASSERT_EQ(bytes.Count(), 3 * 41);
    const int flags[3] = {3, 0, 0};
    for (int i = 0; i < 3; i++) {
        int id;
        memcpy(&id, bytes.GetPtr() + i * 41 + 36, 4);
        EXPECT_TRUE(id == i && bytes[i * 41 + 40] == flags[i]) << i;
    }
}

TEST(BspFile, EveryTruncationFails) {
    Soup s = MakeSoup(12, 25, 1.5f, 2, false);
    cBsp bsp;
    AddSoup(&bsp, s);
    bsp.Build();
    cList<unsigned char> bytes = Bytes(bsp);
    ASSERT_GT(bytes.Count(), 41 * 25);
    for (int size = 1; size < bytes.Count(); size++) {
        std::vector<unsigned char> cut(bytes.GetPtr(), bytes.GetPtr() + size);  // exact size for ASan
        cBsp back;
        back.AddTriangle(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(0, 1, 0), 1);
        back.Build();
        ASSERT_FALSE(back.Load(cut.data(), size)) << size;
        EXPECT_EQ(back.GetRoot(), nullptr) << size;  // the old tree and the partial one are gone
    }
}

TEST(BspFile, BytesThatAreNotATree) {
    cBsp one;
    one.AddTriangle(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(0, 1, 0), 3);
    one.Build();
    cList<unsigned char> good = Bytes(one);
    const struct { const char* name; int flags, extra; bool loads; } rows[] = {  // the record's flag byte, bytes appended
        {"whole", 0, 0, true},
        {"front promised, missing", 1, 0, false},
        {"back promised, missing", 2, 0, false},
        {"unknown flag bit", 4, 0, false},
        {"trailing byte", 0, 1, false},
        {"trailing record", 0, 41, false},
        {"front promised and present", 1, 41, true},
    };
    for (const auto& row : rows) {
        std::vector<unsigned char> bytes(good.GetPtr(), good.GetPtr() + good.Count());
        bytes[40] = (unsigned char)row.flags;
        for (int i = 0; i < row.extra; i++) bytes.push_back(i < 36 ? (unsigned char)(i * 7) : 0);
        cBsp bsp;
        EXPECT_TRUE(bsp.Load(bytes.data(), (int)bytes.size()) == row.loads && (bsp.GetRoot() != nullptr) == row.loads) << row.name;
    }
    // Degenerate and non-finite triangles load (the bytes are whole) and answer queries.
    float nan = std::nanf("");
    float verts[9] = {nan, 0, 0, 1, 1, 1, 2, 2, 2};
    std::vector<unsigned char> odd(41, 0);
    memcpy(odd.data(), verts, 36);
    cBsp bsp;
    ASSERT_TRUE(bsp.Load(odd.data(), 41));
    cList<const cBsp::Triangle*> list;
    bsp.GetTrianglesWithinRadius(cVec3(1, 1, 1), 5, &list);
    EXPECT_FALSE(bsp.Intersects(cVec3(0, 0, 0), cVec3(3, 3, 3), nullptr, nullptr));
}

TEST(BspFile, DeepChainLoadsWithoutRecursion) {
    // 200,000 nodes each with only a front child: far deeper than any call stack.
    const int n = 200000;
    std::vector<unsigned char> bytes((size_t)n * 41, 0);
    for (int i = 0; i < n; i++) {
        float v[9] = {0, 0, (float)i, 1, 0, (float)i, 0, 1, (float)i};
        memcpy(&bytes[(size_t)i * 41], v, 36);
        bytes[(size_t)i * 41 + 40] = i + 1 < n ? 1 : 0;
    }
    cBsp bsp;
    ASSERT_TRUE(bsp.Load(bytes.data(), (int)bytes.size()));
    EXPECT_EQ(bsp.GetNodeCount(), n);
    cVec3 hit;
    EXPECT_TRUE(bsp.Intersects(cVec3(0.2f, 0.2f, -1), cVec3(0.2f, 0.2f, n + 1.0f), &hit, nullptr));
    EXPECT_NEAR(hit.z, 0, 0.05f);  // a 200,000-long segment: float steps of about 0.015
    cList<unsigned char> again;
    bsp.Save(&again);
    EXPECT_EQ(again.Count(), (int)bytes.size());
    bsp.Free();
    EXPECT_EQ(bsp.GetRoot(), nullptr);
}
