// cModel, cRawMesh, cAnim and cCamera against hand-computed answers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"
#include "zozud/model/RawMesh.h"

using namespace zozud;

namespace {

cVertex::Bump V(float x, float y, float z, float u = 0, float v = 0) {
    cVertex::Bump b{};
    b.Pos = cVec3(x, y, z);
    b.TexCoord = cVec2(u, v);
    return b;
}

// A unit quad in the z = 0 plane, two triangles.
cModel Quad() {
    cModel m;
    cModel::Mesh& mesh = m.Meshes[m.Meshes.Add(cModel::Mesh())];
    mesh.Verts.Add(V(0, 0, 0, 0, 0));
    mesh.Verts.Add(V(1, 0, 0, 1, 0));
    mesh.Verts.Add(V(1, 1, 0, 1, 1));
    mesh.Verts.Add(V(0, 1, 0, 0, 1));
    int idx[] = {0, 1, 2, 0, 2, 3};
    mesh.Indices.AddRange(idx, 6);
    m.CalcNormals();
    m.CalcTangents();
    m.UpdateBounds();
    return m;
}

void ExpectNear(const cVec3& a, const cVec3& b, float eps = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

}  // namespace

TEST(Model, CountsNormalsTangentsBoundsTransform) {
    cModel m = Quad();
    for (const cVertex::Bump& v : m.Meshes[0].Verts) {
        ExpectNear(v.Normal, cVec3(0, 0, 1));
        ExpectNear(v.Tangent, cVec3(1, 0, 0));
        ExpectNear(v.BiTangent, cVec3(0, 1, 0));
    }
    ExpectNear(m.Bounds.min, cVec3(0, 0, 0));
    ExpectNear(m.Bounds.max, cVec3(1, 1, 0));
    m.Meshes[0].Indices.Add(0);  // 7 indices: still 2 triangles
    EXPECT_EQ(m.GetTriangleCount(), 2);
    EXPECT_EQ(m.GetVertexCount(), 4);

    m.Joints.Add(cModel::Joint());
    m.Transform(cMat4::RotationX(90) * cMat4::Translation(0, 0, 5));
    // The plane turned about x: its normal leaves z, the box moves with it.
    const cVertex::Bump& v = m.Meshes[0].Verts[2];
    EXPECT_NEAR(v.Normal.Length(), 1.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(v.Normal.y), 1.0f, 1e-5f);
    EXPECT_NEAR(m.Bounds.GetSize().y, 0.0f, 1e-5f);
    EXPECT_NEAR(m.Bounds.GetSize().z, 1.0f, 1e-5f);
    ExpectNear(m.Joints[0].Position, cVec3(0, 0, 5));
    m.IsStatic = false;  // the skinned list is empty
    EXPECT_EQ(m.GetVertexCount(), 0);
}

TEST(Model, RayIntersection) {
    cModel m = Quad();
    cModel far = Quad();
    far.Transform(cMat4::Translation(0, 0, -3));
    m.Meshes.Add(far.Meshes[0]);
    struct Case { cVec3 origin, dir; bool hit; float t; } cases[] = {
        {{0.5f, 0.5f, 2}, {0, 0, -1}, true, 2},    // front face, nearest of two
        {{0.5f, 0.5f, -1}, {0, 0, 1}, true, 1},    // back face: no culling
        {{0.5f, 0.5f, -1}, {0, 0, -1}, true, 2},   // the far quad
        {{2, 2, 2}, {0, 0, -1}, false, FLT_MAX},   // beside both
        {{0.5f, 0.5f, 2}, {0, 0, 1}, false, FLT_MAX},  // pointing away
    };
    for (const Case& c : cases) {
        float t = 0;
        EXPECT_EQ(m.RayIntersection(c.origin, c.dir, &t), c.hit);
        EXPECT_NEAR(t, c.t, 1e-4f);
    }
    m.IsStatic = false;  // a skinned model has no static vertices to hit
    float t;
    EXPECT_FALSE(m.RayIntersection(cVec3(0.5f, 0.5f, 2), cVec3(0, 0, -1), &t));
}

TEST(Model, SphereSplitCopyAndBuffers) {
    cModel s;
    s.GenSphere(cVec3(1, 2, 3), 2, 16, 8);
    ExpectNear(s.Bounds.GetCenter(), cVec3(1, 2, 3), 1e-4f);
    EXPECT_NEAR(s.Bounds.GetSize().y, 4.0f, 1e-4f);
    float t;
    ASSERT_TRUE(s.RayIntersection(cVec3(1, 10, 3), cVec3(0, -1, 0), &t));
    EXPECT_NEAR(t, 6.0f, 1e-3f);

    cModel two = Quad();
    two.Meshes.Add(two.Meshes[0]);
    cList<cModel*> pieces;
    two.Split(&pieces, cVec3(1, 1, 0));
    ASSERT_EQ(pieces.Count(), 2);
    ExpectNear(pieces[1]->Bounds.max, cVec3(0, 0, 0));
    for (cModel* p : pieces) delete p;

    cModel::Mesh copy;
    two.Meshes[0].VertexBuffer = 5;
    copy.Copy(two.Meshes[0]);  // the geometry, not the renderer's buffer
    EXPECT_EQ(copy.Indices.Count(), 6);
    EXPECT_EQ(copy.VertexBuffer, -1);
    two.Meshes[0].VertexBuffer = -1;
    two.Free();
    EXPECT_EQ(two.GetVertexCount(), 0);
    EXPECT_TRUE(two.Bounds.IsEmpty());
}

TEST(Model, SkinningFollowsTheJoints) {
    cModel m;
    m.IsStatic = false;
    cModel::Joint root, child;
    child.Parent = 0;
    child.Position = cVec3(0, 1, 0);
    m.Joints.Add(root);
    m.Joints.Add(child);
    cModel::Mesh& mesh = m.Meshes[m.Meshes.Add(cModel::Mesh())];
    cVertex::Anim a{};
    a.Pos = cVec3(1, 1, 0);
    a.Indices = cVec4(1, 0, 0, 0);
    a.Weights = cVec4(1, 0, 0, 0);
    mesh.AnimVerts.Add(a);
    a.Pos = cVec3(0, 0, 0);
    a.Indices = cVec4(0, 1, 0, 0);
    a.Weights = cVec4(0.5f, 0.5f, 0, 0);
    mesh.AnimVerts.Add(a);

    cList<cList<cVertex::Bump>> out;
    m.GoToBindPose(&out);
    ExpectNear(out[0][0].Pos, cVec3(1, 1, 0));

    // The child moved up by 2 and turned half round about y at its place.
    cList<cAnim::Joint> posed;
    posed.SetCount(2);
    posed[1].Position = cVec3(0, 3, 0);
    posed[1].Orient = cQuat(0, 1, 0, 0);
    m.SetAnim(posed, &out);
    ExpectNear(out[0][0].Pos, cVec3(-1, 3, 0));
    ExpectNear(out[0][1].Pos, cVec3(0, 1, 0));  // half on each joint
    EXPECT_EQ(m.GetBindPoseInv().Count(), 2);
}

TEST(RawMesh, TriangulateWeldSplitNormals) {
    cRawMesh raw;
    EXPECT_TRUE(raw.IsTriangulated());
    cVec3 p[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    raw.Positions.AddRange(p, 4);
    raw.Materials.Add(cStr("a"));
    raw.Materials.Add(cStr("b"));
    // A quad with material a, a triangle with b sharing two corners.
    for (int i : {0, 1, 2, 3, 0, 2, 1}) {
        cRawMesh::Corner c;
        c.Position = i;
        raw.Corners.Add(c);
    }
    raw.Polys.Add(cRawMesh::Poly{0, 4, 0});
    raw.Polys.Add(cRawMesh::Poly{4, 3, 1});
    EXPECT_FALSE(raw.IsTriangulated());
    cList<cVec<int, 3>> tris;
    raw.Triangulate(&tris);
    EXPECT_EQ(tris.Count(), 3);

    raw.CalcNormals(false);
    ExpectNear(raw.Normals[0], cVec3(0, 0, 1));
    cList<cModel::Mesh> meshes;
    ASSERT_TRUE(raw.Split(&meshes));
    ASSERT_EQ(meshes.Count(), 2);
    EXPECT_EQ(meshes[0].Material, "a");
    EXPECT_EQ(meshes[0].Verts.Count(), 4);  // shared corners welded
    EXPECT_EQ(meshes[0].Indices.Count(), 6);
    EXPECT_EQ(meshes[1].Verts.Count(), 3);

    raw.Triangulate();
    EXPECT_TRUE(raw.IsTriangulated());
    EXPECT_EQ(raw.GetPolyCount(), 3);
    raw.InvertRaw();
    raw.CalcNormals(true);
    ExpectNear(raw.Normals[0], cVec3(0, 0, -1));
    // Coordinates near the float range still give unit normals, not
    // infinities or values that are not numbers.
    for (cVec3& p : raw.Positions) p *= 3e38f / 2;
    for (bool faceted : {true, false}) {
        raw.CalcNormals(faceted);
        ExpectNear(raw.Normals[0], cVec3(0, 0, -1));
    }
    raw.Corners[0].Position = 9;  // out of range: refused, not read
    EXPECT_FALSE(raw.Split(&meshes));
}

TEST(Anim, FramesTimesAndEdits) {
    cAnim anim;
    anim.FrameRate = 10;
    anim.Joints.SetCount(1);
    for (int f = 0; f < 5; f++) {
        cList<cAnim::FrameJoint> frame;
        frame.SetCount(1);
        frame[0].Position = cVec3((float)f, 0, 0);
        anim.Frames.Add(frame);
    }
    anim.UpdateBounds();
    EXPECT_FLOAT_EQ(anim.GetDurationSec(), 0.5f);
    EXPECT_FLOAT_EQ(anim.Bounds.max.x, 4.0f);

    cList<cAnim::Joint> j;
    struct Case { float time; bool loop; float x; } cases[] = {
        {0.15f, true, 1.5f}, {0.45f, true, 2.0f},  // last frame leads back to the first
        {0.45f, false, 4.0f}, {-1.0f, false, 0.0f}, {0.55f, true, 0.5f},
    };
    for (const Case& c : cases) {
        anim.SetFrame(c.time, &j, c.loop);
        EXPECT_NEAR(j[0].Position.x, c.x, 1e-4f) << c.time;
    }
    anim.SetFrame(99, &j);
    EXPECT_FLOAT_EQ(j[0].Position.x, 4.0f);

    cAnim resampled = anim;
    ASSERT_TRUE(resampled.ReSample(9));
    EXPECT_EQ(resampled.GetFrameCount(), 9);
    EXPECT_FLOAT_EQ(resampled.Frames[1].GetPtr()[0].Position.x, 0.5f);
    EXPECT_EQ(resampled.FrameRate, 18);

    EXPECT_FALSE(anim.Crop(3, 9));
    ASSERT_TRUE(anim.Crop(1, 3));
    EXPECT_EQ(anim.GetFrameCount(), 3);
    EXPECT_FLOAT_EQ(anim.Frames[0][0].Position.x, 1.0f);
    anim.Frames[1][0].Position.x = 10;
    anim.Smooth();
    EXPECT_FLOAT_EQ(anim.Frames[1][0].Position.x, (1 + 20 + 3) / 4.0f);
    anim.Transform(cMat4::Translation(0, 1, 0));
    EXPECT_FLOAT_EQ(anim.Bounds.min.y, 1.0f);
}

TEST(Camera, StepsThroughTracks) {
    cCamera cam;
    for (int t = 0; t < 2; t++) {
        cCamera::Camera track;
        cCamera::Frame a, b;
        a.TimeSec = 0;
        b.TimeSec = 2;
        a.Position = cVec3(0, (float)t, 0);
        b.Position = cVec3(10, (float)t, 0);
        track.Frames.Add(a);
        track.Frames.Add(b);
        cam.Tracks.Add(track);
    }
    EXPECT_FLOAT_EQ(cam.CalcDurationSec(), 4.0f);
    cCamera::State s;
    cam.Step(&s, 0.5f);
    ExpectNear(s.Position, cVec3(2.5f, 0, 0));
    cam.Step(&s, 2.0f);  // over the end: half a second into the second track
    EXPECT_EQ(s.Track, 1);
    ExpectNear(s.Position, cVec3(2.5f, 1, 0));
    cam.Step(&s, 5.0f);
    EXPECT_TRUE(s.Finished);
    ExpectNear(s.Position, cVec3(10, 1, 0));
    cam.Transform(cMat4::Translation(1, 0, 0));
    EXPECT_FLOAT_EQ(cam.Tracks[0].Frames[0].Position.x, 1.0f);
}
