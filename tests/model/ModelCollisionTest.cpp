// cCollisionMesh::AddModel: world-space triangles from static and skinned models.
#include <gtest/gtest.h>

#include "zozud/math/CollisionMesh.h"
#include "zozud/model/Model.h"

using namespace zozud;

namespace {

// A floor quad (y = 0, 10 x 10) as one mesh, and a smaller quad as a second
// mesh; skinned models carry the same positions in AnimVerts.
cModel Floors(bool skinned) {
    cModel m;
    m.IsStatic = !skinned;
    const float sizes[2] = {10, 1};
    for (float size : sizes) {
        cModel::Mesh& mesh = m.Meshes[m.Meshes.Add(cModel::Mesh())];
        cVec3 corners[4] = {cVec3(-size, 0, -size), cVec3(-size, 0, size), cVec3(size, 0, size), cVec3(size, 0, -size)};
        for (const cVec3& c : corners) {
            if (skinned) {
                cVertex::Anim v{};
                v.Pos = c;
                mesh.AnimVerts.Add(v);
            } else {
                cVertex::Bump v{};
                v.Pos = c;
                mesh.Verts.Add(v);
            }
        }
        int idx[] = {0, 1, 2, 0, 2, 3, 0, 1, 9};  // the last triangle points past the vertices
        mesh.Indices.AddRange(idx, 9);
    }
    return m;
}

}  // namespace

TEST(ModelCollision, TrianglesInWorldSpaceWithIds) {
    struct Row {
        const char* name;
        bool        skinned;
        bool        perMesh;  // ids {4} for two meshes: the second gets -1
    } rows[] = {
        {"static, one id", false, false},
        {"skinned, one id", true, false},
        {"static, ids per mesh", false, true},
    };
    cMat4 m = cMat4::Translation(cVec3(0, -2, 5));
    for (const Row& row : rows) {
        cModel model = Floors(row.skinned);
        cCollisionMesh mesh;
        if (row.perMesh) {
            cList<int> ids;
            ids.Add(4);
            mesh.AddModel(model, m, ids);
        } else {
            mesh.AddModel(model, m, 8);
        }
        ASSERT_EQ(mesh.Triangles.Count(), 4) << row.name;
        EXPECT_TRUE(mesh.Triangles[0].v[1] == cVec3(-10, -2, 15)) << row.name;
        EXPECT_TRUE(mesh.Triangles[3].v[2] == cVec3(1, -2, 4)) << row.name;
        EXPECT_EQ(mesh.Triangles[0].id, row.perMesh ? 4 : 8) << row.name;
        EXPECT_EQ(mesh.Triangles[3].id, row.perMesh ? -1 : 8) << row.name;
    }
}

TEST(ModelCollision, SphereFallsOntoAModelAndRests) {
    cModel model = Floors(false);
    cCollisionMesh mesh;
    mesh.AddModel(model, cMat4::RotationXYZ(0, 0, 0) * cMat4::Translation(cVec3(0, 1, 0)), 2);
    mesh.BuildBsp();
    cVec3 end;
    int id = -1;
    ASSERT_TRUE(mesh.Collide(cVec3(3, 6, 2), cVec3(3, -6, 2), 0.5f, 1, &end, &id));
    EXPECT_EQ(id, 2);
    EXPECT_NEAR(end.y, 1.5f, 1e-3f);
    EXPECT_NEAR(end.x, 3, 1e-4f);
    cVec3 sunk(1, 1.2f, 1);
    EXPECT_TRUE(mesh.Fix(&sunk, 0.5f));
    EXPECT_NEAR(sunk.y, 1.5f, 1e-3f);
}
