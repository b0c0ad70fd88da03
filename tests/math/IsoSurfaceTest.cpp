// cIsoSurface: known field values, closed outward-facing surfaces, exact planes and refused grids.
#include <map>
#include <utility>

#include "math/MathCheck.h"
#include "zozud/math/IsoSurface.h"

using namespace mathtest;

namespace {

typedef cList<cIsoSurface::Metaball> Balls;

Balls MakeBalls(std::initializer_list<cIsoSurface::Metaball> list) {
    Balls balls;
    for (const cIsoSurface::Metaball& b : list) balls.Add(b);
    return balls;
}

// Every edge is used once in each direction (closed, consistently wound).
// Returns V - E + F, 2 for each sphere-like piece.
int ExpectClosed(const cIsoSurface& iso, const char* row) {
    std::map<std::pair<int, int>, int> directed;
    const cList<int>& idx = iso.Indices;
    for (int i = 0; i < idx.Count(); i += 3)
        for (int k = 0; k < 3; k++) directed[{idx[i + k], idx[i + (k + 1) % 3]}]++;
    int edges = 0, bad = 0;
    for (const auto& e : directed) {
        if (e.second != 1 || !directed.count({e.first.second, e.first.first})) bad++;
        if (e.first.first < e.first.second) edges++;
    }
    EXPECT_EQ(bad, 0) << row;
    for (int i : idx) EXPECT_TRUE(i >= 0 && i < iso.Vertices.Count()) << row;
    return iso.Vertices.Count() - edges + iso.GetTriangleCount();
}

}  // namespace

TEST(IsoSurface, MetaballFieldKnownValues) {
    const struct { const char* name; Balls balls; cVec3 at; float value; } rows[] = {
        {"no balls", MakeBalls({}), cVec3(3, 4, 5), -1},
        {"at the radius", MakeBalls({{cVec3(1, 2, 3), 2}}), cVec3(1, 4, 3), 0},
        {"at twice the radius", MakeBalls({{cVec3(1, 2, 3), 2}}), cVec3(1, 2, -1), -0.75f},
        {"at half the radius", MakeBalls({{cVec3(0, 0, 0), 2}}), cVec3(1, 0, 0), 3},
        {"between two balls", MakeBalls({{cVec3(-1, 0, 0), 1}, {cVec3(1, 0, 0), 1}}), cVec3(0, 0, 0), 1},
    };
    for (const auto& row : rows) EXPECT_NEAR(cIsoSurface::MetaballField(row.at, row.balls), row.value, 1e-6f) << row.name;
    EXPECT_GT(cIsoSurface::MetaballField(cVec3(0, 0, 0), MakeBalls({{cVec3(0, 0, 0), 1}})), 1e30f);  // at the centre
}

TEST(IsoSurface, OneMetaballIsAClosedSphereAndNoneLeavesNothing) {
    const struct { const char* name; int cells; cVec3 center; float radius; bool exactNormals; } rows[] = {
        {"coarse", 6, cVec3(0, 0, 0), 0.6f, false},
        {"medium, off the grid's points", 17, cVec3(0.11f, -0.07f, 0.23f), 0.5f, true},
        {"fine", 40, cVec3(-0.2f, 0.1f, 0), 0.7f, false},
        {"on grid points", 10, cVec3(0, 0, 0), 0.4f, true},  // the field is exactly 0 at some points
        {"about a cell across", 5, cVec3(0.05f, 0, 0), 0.45f, true},
    };
    for (const auto& row : rows) {
        cIsoSurface iso;
        ASSERT_TRUE(iso.Init(cVec3(-1, -1, -1), cVec3(1, 1, 1), row.cells, row.cells, row.cells));
        iso.UpdateMetaballs(MakeBalls({{row.center, row.radius}}), row.exactNormals);
        ASSERT_GT(iso.GetTriangleCount(), 0) << row.name;
        EXPECT_EQ(ExpectClosed(iso, row.name), 2) << row.name;
        float cell = iso.GetCellSize().Length();
        for (const cIsoSurface::Vertex& v : iso.Vertices) {
            cVec3 out = v.Pos - row.center;
            EXPECT_NEAR(out.Length(), row.radius, cell) << row.name;
            EXPECT_GT(v.Normal.Dot(out.ToNormal()), row.exactNormals ? 0.999f : 0.5f) << row.name;
        }
        // Triangles wound counter-clockwise from outside: they face away from the centre.
        int inward = 0;
        for (int i = 0; i < iso.Indices.Count(); i += 3) {
            const cVec3 &a = iso.Vertices[iso.Indices[i]].Pos, &b = iso.Vertices[iso.Indices[i + 1]].Pos,
                        &c = iso.Vertices[iso.Indices[i + 2]].Pos;
            inward += (b - a).Cross(c - a).Dot((a + b + c) / 3 - row.center) < 0;
        }
        EXPECT_EQ(inward, 0) << row.name << " of " << iso.GetTriangleCount();
        // Without balls the last surface is gone.
        iso.UpdateMetaballs(MakeBalls({}), false);
        EXPECT_TRUE(iso.GetTriangleCount() == 0 && iso.Vertices.Count() == 0 && iso.GetValue(3, 4, 5) == -1) << row.name;
    }
}

TEST(IsoSurface, SeparateAndMergedBalls) {
    const struct { const char* name; float gap; int euler; } rows[] = {  // gap between the centres; 2 per piece
        {"far apart: two spheres", 1.4f, 4}, {"close: one blob", 0.5f, 2}};
    for (const auto& row : rows) {
        cIsoSurface iso;
        ASSERT_TRUE(iso.Init(cVec3(-1.5f, -1, -1), cVec3(1.5f, 1, 1), 48, 32, 32));
        iso.UpdateMetaballs(MakeBalls({{cVec3(-row.gap / 2, 0, 0), 0.3f}, {cVec3(row.gap / 2, 0, 0), 0.3f}}), false);
        EXPECT_EQ(ExpectClosed(iso, row.name), row.euler) << row.name;
    }
}

TEST(IsoSurface, LinearFieldGivesAnExactPlane) {
    struct Row { const char* name; cVec3 normal; float offset; };  // the field is offset - normal . p
    const Row rows[] = {{"x = 0.3", cVec3(1, 0, 0), 0.3f}, {"slanted", cVec3(0.6f, 0.8f, 0), -0.1f},
                        {"through grid points", cVec3(0, 0, 1), 0.5f}};
    for (const Row& row : rows) {
        cIsoSurface iso;
        ASSERT_TRUE(iso.Init(cVec3(-1, -1, -1), cVec3(1, 1, 1), 9, 7, 8));
        iso.Update([](const cVec3& p, const void* user) {
            const Row* r = static_cast<const Row*>(user);
            return r->offset - r->normal.Dot(p);
        }, &row);
        ASSERT_GT(iso.GetTriangleCount(), 0) << row.name;
        for (const cIsoSurface::Vertex& v : iso.Vertices) {
            EXPECT_NEAR(row.normal.Dot(v.Pos), row.offset, 1e-5f) << row.name;
            EXPECT_GT(v.Normal.Dot(row.normal), 0.999f) << row.name;  // towards the outside, where the field is below 0
        }
    }
}

TEST(IsoSurface, GridsThatCannotBeSetUp) {
    const struct { const char* name; cVec3 min, max; int nx, ny, nz; bool ok; } rows[] = {
        {"small grid", cVec3(0, 0, 0), cVec3(1, 1, 1), 4, 4, 4, true},
        {"no cells", cVec3(0, 0, 0), cVec3(1, 1, 1), 0, 4, 4, false},
        {"negative cells", cVec3(0, 0, 0), cVec3(1, 1, 1), 4, -4, 4, false},
        {"flat box", cVec3(0, 0, 0), cVec3(1, 0, 1), 4, 4, 4, false},
        {"inside out", cVec3(1, 1, 1), cVec3(0, 0, 0), 4, 4, 4, false},
        {"too many points", cVec3(0, 0, 0), cVec3(1, 1, 1), 1000, 1000, 1000, false},
        {"overflowing counts", cVec3(0, 0, 0), cVec3(1, 1, 1), 2000000000, 2000000000, 2, false},
    };
    for (const auto& row : rows) {
        cIsoSurface iso;
        EXPECT_EQ(iso.Init(row.min, row.max, row.nx, row.ny, row.nz), row.ok) << row.name;
        iso.UpdateMetaballs(MakeBalls({{cVec3(0.5f, 0.5f, 0.5f), 0.3f}}), true);  // harmless either way
        EXPECT_EQ(iso.GetTriangleCount() > 0, row.ok) << row.name;
    }
}
