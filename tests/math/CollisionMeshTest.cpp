// cCollisionMesh (triangles from index arrays are checked through models, in the model tests).
#include <random>

#include "math/MathCheck.h"
#include "zozud/math/CollisionMesh.h"

using namespace mathtest;

namespace {

// A square of side 2 * half in the plane x = 0, cut into n x n quads.
void AddWall(cCollisionMesh* mesh, float half, int n, int id) {
    float step = 2 * half / n;
    for (int i = 0; i < n; i++)
        for (int j = 0; j < n; j++) {
            cVec3 a(0, -half + i * step, -half + j * step), c = a + cVec3(0, step, step);
            mesh->AddTriangle(a, a + cVec3(0, step, 0), c, id);
            mesh->AddTriangle(a, c, a + cVec3(0, 0, step), id);
        }
}

// The inside of the box |x|, |y|, |z| <= half, two triangles a side, facing in.
void AddRoom(cCollisionMesh* mesh, float half) {
    for (int axis = 0; axis < 3; axis++)
        for (int sign = -1; sign <= 1; sign += 2) {
            cVec3 c[4];
            for (int k = 0; k < 4; k++) {
                float u = (k == 1 || k == 2) ? half : -half, v = k >= 2 ? half : -half;
                c[k][axis] = sign * half;
                c[k][(axis + 1) % 3] = u;
                c[k][(axis + 2) % 3] = v;
            }
            if (sign > 0) std::swap(c[1], c[3]);
            mesh->AddTriangle(c[0], c[1], c[2], axis * 2 + (sign > 0));
            mesh->AddTriangle(c[0], c[2], c[3], axis * 2 + (sign > 0));
        }
}

}  // namespace

TEST(CollisionMesh, SphereSlidingAlongAWallNeverEndsInsideIt) {
    cCollisionMesh mesh;
    AddWall(&mesh, 50, 20, 7);
    mesh.BuildBsp();
    std::mt19937 rng(2026);
    std::uniform_real_distribution<float> u(-1, 1), r01(0, 1);
    const float slides[] = {1, 0.5f, 0};
    int touched = 0;
    for (int i = 0; i < 10000; i++) {
        float radius = 0.1f + r01(rng) * 1.4f, slide = slides[i % 3];
        cVec3 from(radius + 0.01f + r01(rng) * 5, u(rng) * 10, u(rng) * 10), to(u(rng) * 6, u(rng) * 10, u(rng) * 10), end;
        int id = -1;
        bool met = mesh.Collide(from, to, radius, slide, &end, &id);
        ASSERT_GE(end.x, radius * (1 - 1e-4f)) << "start " << i;  // on its side, not closer than the radius
        if (to.x >= radius * 1.01f && from.x >= radius * 1.01f) {
            EXPECT_FALSE(met) << i;  // a straight path that stays clear is taken whole
            EXPECT_LT((end - to).Length(), 1e-4f) << i;
            continue;
        }
        if (!met) continue;
        touched++;
        EXPECT_EQ(id, 7);
        EXPECT_LT(end.x, radius * 1.01f + 1e-3f) << i;  // it stopped at the wall
        if (slide == 1 && to.x < radius) {
            // A free slide along a plane keeps the whole motion along it.
            EXPECT_TRUE(std::fabs(end.y - to.y) < 2e-3f && std::fabs(end.z - to.z) < 2e-3f) << i;
        } else if (slide == 0) {
            // Stopped on the way: on the line from the start towards the target.
            EXPECT_LT((end - from).Cross(to - from).Length(), 1e-3f * (to - from).LengthSq() + 1e-3f) << i;
        }
    }
    EXPECT_GT(touched, 3000);
}

TEST(CollisionMesh, SphereInARoomStaysInside) {
    cCollisionMesh mesh;
    AddRoom(&mesh, 5);
    mesh.BuildBsp();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-1, 1), r01(0, 1);
    for (int i = 0; i < 10000; i++) {
        float radius = 0.2f + r01(rng) * 2, room = 5 - radius - 0.01f;
        cVec3 from(u(rng) * room, u(rng) * room, u(rng) * room), to = from + cVec3(u(rng), u(rng), u(rng)) * 25, end;
        mesh.Collide(from, to, radius, i % 2 ? 1.0f : 0.7f, &end);
        for (int axis = 0; axis < 3; axis++)
            ASSERT_LE(std::fabs(end[axis]), 5 - radius * (1 - 1e-4f)) << "start " << i << " axis " << axis;
    }
}

TEST(CollisionMesh, KnownContacts) {
    const struct { const char* name; cVec3 from, to; float radius, slide; cVec3 end; bool met; } rows[] = {
        // Triangle (0,0,0) (2,-1,0) (2,1,0) in the plane z = 0, its corner towards -x.
        {"head on at the corner", cVec3(-5, 0, 0), cVec3(5, 0, 0), 1, 0, cVec3(-1.001f, 0, 0), true},
        {"down onto the face", cVec3(1.5f, 0, 4), cVec3(1.5f, 0, -4), 0.5f, 0, cVec3(1.5f, 0, 0.5005f), true},
        {"onto the face, sliding along it", cVec3(0.5f, 0, 2), cVec3(1.5f, 0, -2), 0.5f, 1, cVec3(1.5f, 0, 0.5005f), true},
        {"passing beside", cVec3(-5, 3, 0), cVec3(5, 3, 0), 1, 0, cVec3(5, 3, 0), false},
        {"not moving", cVec3(1, 0, 3), cVec3(1, 0, 3), 1, 1, cVec3(1, 0, 3), false},
    };
    cCollisionMesh mesh;
    mesh.AddTriangle(cVec3(0, 0, 0), cVec3(2, -1, 0), cVec3(2, 1, 0), 5);
    mesh.BuildBsp();
    for (const auto& row : rows) {
        cVec3 end;
        int id = -1;
        EXPECT_EQ(mesh.Collide(row.from, row.to, row.radius, row.slide, &end, &id), row.met) << row.name;
        EXPECT_LT((end - row.end).Length(), 1e-3f) << row.name << ": " << end.ToString(4).ToChar();
        EXPECT_EQ(id, row.met ? 5 : -1) << row.name;
    }
    cVec3 end;  // nothing to meet: the target whole
    EXPECT_TRUE(!cCollisionMesh().Collide(cVec3(1, 2, 3), cVec3(4, 5, 6), 1, 1, &end) && end == cVec3(4, 5, 6));
}

TEST(CollisionMesh, FixPushesOut) {
    cCollisionMesh mesh;
    AddRoom(&mesh, 5);
    mesh.BuildBsp();
    const struct { const char* name; cVec3 at; float radius; bool moves; } rows[] = {
        {"clear", cVec3(0, 0, 0), 1, false},
        {"touching", cVec3(4, 0, 0), 1, false},
        {"into one wall", cVec3(4.5f, 1, 1), 1, true},
        {"into an edge", cVec3(4.5f, 4.5f, 0), 1, true},
        {"into a corner", cVec3(4.6f, -4.4f, 4.7f), 1, true},
        {"centre on a wall", cVec3(5, 0, 0), 0.5f, true},
    };
    for (const auto& row : rows) {
        cVec3 p = row.at;
        EXPECT_EQ(mesh.Fix(&p, row.radius), row.moves) << row.name;
        for (int axis = 0; axis < 3; axis++) EXPECT_LE(std::fabs(p[axis]), 5 - row.radius * (1 - 1e-4f)) << row.name;
        EXPECT_EQ(p == row.at, !row.moves) << row.name;
    }
}
