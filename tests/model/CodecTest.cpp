// The model codecs on hand-written files with hand-worked answers, round trips and broken files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "zozud/core/Log.h"
#include "zozud/model/CodecMd5.h"
#include "zozud/model/CodecNative.h"
#include "zozud/model/CodecObj.h"

using namespace zozud;

namespace {

cFile FileOf(const std::string& text) {
    cFile f;
    f.Copy(text.data(), (int)text.size(), "test");
    return f;
}

std::string Bytes(const cFile& f) { return std::string((const char*)f.GetData(), (size_t)f.GetSize()); }

void ExpectNear(const cVec3& a, const cVec3& b, float eps = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

// Root at the origin; child at (0, 0, 2) turned half round about z (w = 0
// by the threshold rule). Vertex 0 hangs on the child at (1, 0, 0); vertex 1
// is half (2, 0, 0) on the root, half the child's origin; vertex 2 the root.
const char* const Md5Mesh =
    "MD5Version 10\ncommandline \"\"\n\nnumJoints 2\nnumMeshes 1\n"
    "joints {\n\t\"root\"\t-1 ( 0 0 0 ) ( 0 0 0 )\n\t\"child\"\t0 ( 0 0 2 ) ( 0 0 1 )\n}\n"
    "mesh {\n\tshader \"stone\"\n\tnumverts 3\n"
    "\tvert 0 ( 0.25 0.75 ) 0 1\n\tvert 1 ( 0 0 ) 1 2\n\tvert 2 ( 1 1 ) 3 1\n\tnumtris 1\n\ttri 0 0 1 2\n"
    "\tnumweights 4\n\tweight 0 1 1 ( 1 0 0 )\n\tweight 1 0 0.5 ( 2 0 0 )\n"
    "\tweight 2 1 0.5 ( 0 0 0 )\n\tweight 3 0 1 ( 0 0 0 )\n}\n";

// The root moves by (1, 0, 0) and turns half round about z in frame 1
// (flags 39: position and z); the child, one unit along x from the root,
// takes its orientation from the frame (flags 56).
const char* const Md5Anim =
    "MD5Version 10\nnumFrames 2\nnumJoints 2\nframeRate 24\nnumAnimatedComponents 7\n"
    "hierarchy {\n\t\"root\"\t-1 39 0\n\t\"child\"\t0 56 4\n}\n"
    "bounds {\n\t( 0 0 0 ) ( 1 1 1 )\n}\n"
    "baseframe {\n\t( 0 0 0 ) ( 0 0 0 )\n\t( 1 0 0 ) ( 0 0 0 )\n}\n"
    "frame 0 {\n\t0 0 0 0 0 0 0\n}\n"
    "frame 1 {\n\t1 0 0 1\n\t0 0 1\n}\n";

}  // namespace

// Into y up at half size: (x, y, z) -> (x, z, -y) / 2.
TEST(Md5, MeshKnownAnswers) {
    cModel model;
    ASSERT_TRUE(cCodecMd5Model().Decode(FileOf(Md5Mesh), &model));
    EXPECT_FALSE(model.IsStatic);
    ASSERT_EQ(model.Joints.Count(), 2);
    ExpectNear(model.Joints[1].Position, cVec3(0, 1, 0));
    const cModel::Mesh& mesh = model.Meshes[0];
    const cList<cVertex::Anim>& v = mesh.AnimVerts;
    EXPECT_EQ(mesh.Material, "stone");
    ExpectNear(v[0].Pos, cVec3(-0.5f, 1, 0));  // (-1, 0, 2): the child's half turn applied
    ExpectNear(v[1].Pos, cVec3(0.5f, 0.5f, 0));
    EXPECT_FLOAT_EQ(v[0].TexCoord.y, 0.25f);  // 1 - v
    EXPECT_TRUE(mesh.Indices[1] == 2 && mesh.Indices[2] == 1);  // a, c, b: the winding turned
    EXPECT_TRUE(v[0].Indices.x == 1 && v[0].Weights.x == 1 && v[0].Weights.y == 0);
    EXPECT_NEAR(v[1].Normal.Length(), 1.0f, 1e-5f);

    // Skinned by its own bind pose, every vertex stays where it is.
    cList<cAnim::Joint> bind;
    for (const cModel::Joint& j : model.Joints) bind.Add(cAnim::Joint{j.Position, j.Orient});
    cList<cList<cVertex::Bump>> skinned;
    model.SetAnim(bind, &skinned);
    for (int i = 0; i < 3; i++) ExpectNear(skinned[0][i].Pos, v[i].Pos);
    cFile out;
    EXPECT_FALSE(cCodecMd5Model().Encodes() || cCodecMd5Model().Encode(model, &out));
}

TEST(Md5, AnimPosesInModelSpace) {
    cAnim anim;
    ASSERT_TRUE(cCodecMd5Anim().Decode(FileOf(Md5Anim), &anim));
    EXPECT_EQ(anim.FrameRate, 24);
    ASSERT_EQ(anim.GetFrameCount(), 2);
    EXPECT_EQ(anim.Joints[1].Name, "child");
    EXPECT_EQ(anim.Joints[1].Parent, 0);
    ExpectNear(anim.Frames[0][1].Position, cVec3(0.5f, 0, 0));
    ExpectNear(anim.Frames[1][0].Position, cVec3(0.5f, 0, 0));
    // (1, 0, 0) turned half round about z, then moved by the root: the origin;
    // half round twice: a full turn.
    ExpectNear(anim.Frames[1][1].Position, cVec3(0, 0, 0));
    EXPECT_NEAR(std::fabs(anim.Frames[1][1].Orient.w), 1.0f, 1e-5f);
    EXPECT_FALSE(cCodecMd5Anim().Encodes());
}

TEST(Md5, BrokenFilesFail) {
    auto replace = [](std::string s, const std::string& what, const std::string& with) {
        size_t at = s.find(what);
        EXPECT_NE(at, std::string::npos) << what;
        return s.replace(at, what.size(), with);
    };
    std::string mesh = Md5Mesh, anim = Md5Anim;
    const std::string meshCases[] = {
        replace(mesh, "\t\"child\"\t0 ( 0 0 2 ) ( 0 0 1 )\n", ""),      // fewer joints than numJoints
        replace(mesh, "numJoints 2", "numJoints 1"),                     // a joint beyond the list
        replace(mesh, "numMeshes 1", "numMeshes 0"),                     // a mesh beyond the list
        replace(mesh, "( 0 0 2 )", "( 0 x 2 )"),                          // not a number
        replace(mesh, "vert 2 ( 1 1 ) 3 1", "vert 3 ( 1 1 ) 3 1"),       // vertex outside the list
        replace(mesh, "tri 0 0 1 2", "tri 0 0 1"),                       // short line
        replace(mesh, "tri 0 0 1 2", "tri 0 0 1 7"),                     // corner outside the vertices
        replace(mesh, "weight 3 0 1", "weight 3 5 1"),                   // weight on a missing joint
        replace(mesh, "vert 2 ( 1 1 ) 3 1", "vert 2 ( 1 1 ) 3 9"),       // weights past the list
        replace(mesh, "numverts 3", "numverts -3"),
        replace(mesh, "}\nmesh", "\nmesh"),                              // joints block never closed
    };
    for (const std::string& text : meshCases) {
        cModel model;
        EXPECT_FALSE(cCodecMd5Model().Decode(FileOf(text), &model)) << text;
    }
    const std::string animCases[] = {
        replace(anim, "frame 1 {", "frame 2 {"),
        replace(anim, "\t0 0 1\n}", "\t0 0 z\n}"),
        replace(anim, "\"child\"\t0 56 4", "\"child\"\t0 56"),
        replace(anim, "\"child\"\t0 56 4", "\"child\"\t0 56 5"),         // components past the frame
        replace(anim, "\"root\"\t-1 39 0", "\"root\"\t1 39 0"),          // parent after its child
        replace(anim, "numFrames 2", "numFrames 999999999"),
    };
    for (const std::string& text : animCases) {
        cAnim a;
        EXPECT_FALSE(cCodecMd5Anim().Decode(FileOf(text), &a)) << text;
    }
}

TEST(Obj, ReadsCornersMaterialsAndNormals) {
    const char* text =
        "# a comment line\n"
        "mtllib scene.mtl\n"
        "v 0 0 0\nv 1 0 0\nv 1 1 0 # trailing comment\r\n"
        "v 0 1 0\n"
        "vt 0 0\nvt 1 0\nvt 1 1\n"
        "usemtl lib:stone\n"
        "f 1/1 2/2 3/3\n"
        "usemtl other\n"
        "f -4 -2 -1\n"   // counts back from the end: 1, 3, 4
        "usemtl stone\n"
        "f 1//0 3 4\n";
    cModel model;
    ASSERT_TRUE(cCodecObj().Decode(FileOf(text), &model));
    EXPECT_TRUE(model.IsStatic);
    ASSERT_EQ(model.Meshes.Count(), 2);
    EXPECT_EQ(model.Meshes[0].Material, "stone");
    EXPECT_EQ(model.Meshes[1].Material, "other");
    EXPECT_EQ(model.Meshes[0].Indices.Count(), 6);
    const cList<cVertex::Bump>& v = model.Meshes[1].Verts;
    ASSERT_EQ(v.Count(), 3);
    ExpectNear(v[0].Pos, cVec3(0, 0, 0));
    ExpectNear(v[1].Pos, cVec3(1, 1, 0));
    ExpectNear(v[2].Pos, cVec3(0, 1, 0));
    for (const cVertex::Bump& b : v) ExpectNear(b.Normal, cVec3(0, 0, 1));  // computed: no vn lines
    ExpectNear(model.Bounds.max, cVec3(1, 1, 0));
}

TEST(Obj, WarningsQuoteTheLine) {
    struct Case { const char* text; const char* warning; } cases[] = {
        {"v 1 2\n", "cCodecObj: Too few position coordinates: \"v 1 2\"."},
        {"vt 1\n", "cCodecObj: Too few texture coordinates: \"vt 1\"."},
        {"vn 0 1\r\n", "cCodecObj: Too few normal coordinates: \"vn 0 1\"."},
        {"v 0 0 0\nf 1 1\n", "cCodecObj: Too few face indices: \"f 1 1\"."},
        {"v 0 0 0\nf 1 0 1\n", "cCodecObj: Zero indices not allowed: \"f 1 0 1\"."},
    };
    for (const Case& c : cases) {
        size_t before = cLog::GetLogCopy().Length();
        cModel model;
        EXPECT_FALSE(cCodecObj().Decode(FileOf(c.text), &model));
        std::string added = cLog::GetLogCopy().ToChar() + before;
        EXPECT_NE(added.find(c.warning), std::string::npos) << added;
    }
    // Silent failures: a corner past the positions, a number that is none.
    for (const char* text : {"v 0 0 0\nf 1 2 3\n", "v 0 0 0\nf -2 1 1\n", "v 0 x 0\n", "v 0 0 0\nf 1/a 1 1\n"}) {
        cModel model;
        EXPECT_FALSE(cCodecObj().Decode(FileOf(text), &model)) << text;
    }
}

// Coordinates read exactly as the C library rounds them, short and long.
TEST(Obj, NumbersRoundLikeTheCLibrary) {
    for (const char* number : {"0.1", "-0.7071068", "3.14159265358979323846", "1e-30", "-2.5E+3", "123456789012",
                               "0.000000000000000000000000000001", "+.5", "7.", "340282346638528859811704183484516925440"}) {
        std::string text = std::string("v ") + number + " 0 0\nv 0 1 0\nv 0 0 1\nf 1 2 3\n";
        cModel model;
        ASSERT_TRUE(cCodecObj().Decode(FileOf(text), &model)) << number;
        ASSERT_EQ(model.Meshes.Count(), 1);
        EXPECT_EQ(model.Meshes[0].Verts[0].Pos.x, strtof(number, nullptr)) << number;
    }
    for (const char* number : {"1e39", "nan", "inf", "1e", "-", "."}) {
        cModel model;
        EXPECT_FALSE(cCodecObj().Decode(FileOf(std::string("v ") + number + " 0 0\n"), &model)) << number;
    }
}

TEST(Obj, WritesAndReadsBack) {
    cModel model;
    model.GenSphere(cVec3(0, 0, 0), 1, 8, 4);
    model.Meshes[0].Name = "my mesh/a";
    cFile file;
    ASSERT_TRUE(cCodecObj().Encode(model, &file));
    std::string text = Bytes(file);
    EXPECT_EQ(text.rfind("# Wavefront Obj file\r\n# ", 0), 0u);
    EXPECT_NE(text.find("\r\ng my_mesh_a\r\n"), std::string::npos);
    EXPECT_NE(text.find(std::string("\r\n# ") + std::to_string(model.GetTriangleCount()) + " tris\r\n"), std::string::npos);
    // The seam's repeated positions are written once.
    EXPECT_EQ(text.find("# " + std::to_string(model.GetVertexCount()) + " vertices"), std::string::npos);

    cModel back;
    file.SetPos(0);
    ASSERT_TRUE(cCodecObj().Decode(file, &back));
    ASSERT_EQ(back.GetTriangleCount(), model.GetTriangleCount());
    const cModel::Mesh& a = model.Meshes[0];
    const cModel::Mesh& b = back.Meshes[0];
    for (int i = 0; i < a.Indices.Count(); i++) {
        ExpectNear(a.Verts[a.Indices[i]].Pos, b.Verts[b.Indices[i]].Pos, 1e-5f);
        ExpectNear(a.Verts[a.Indices[i]].Normal, b.Verts[b.Indices[i]].Normal, 1e-5f);
    }
}

namespace {

cModel SkinnedModel() {
    cModel model;
    EXPECT_TRUE(cCodecMd5Model().Decode(FileOf(Md5Mesh), &model));
    return model;
}

}  // namespace

TEST(Native, RoundTripsByteForByte) {
    cModel statics;
    statics.GenSphere(cVec3(1, 2, 3), 2, 6, 4);
    statics.Joints.Add(cModel::Joint{cStr("j"), -1, cVec3(1, 2, 3), cQuat(0.6f, 0, 0, -0.8f)});
    cModel skinned = SkinnedModel();
    cAnim anim;
    ASSERT_TRUE(cCodecMd5Anim().Decode(FileOf(Md5Anim), &anim));
    cCamera camera;
    camera.Flags = 1;
    cCamera::Camera track;
    track.Name = "fly";
    track.Frames.Add(cCamera::Frame{0.5f, cVec3(-3, 4, 200), cQuat(0, 0.6f, 0, 0.8f), 45});
    camera.Tracks.Add(track);

    auto twice = [](auto& codec, const auto& object, auto* back) {
        cFile first, second;
        EXPECT_TRUE(codec.Encode(object, &first));
        first.SetPos(0);
        EXPECT_TRUE(codec.Decode(first, back));
        EXPECT_TRUE(codec.Encode(*back, &second));
        EXPECT_EQ(Bytes(first), Bytes(second));
        return Bytes(first);
    };
    cCodecModel models;
    cModel back;
    std::string bytes = twice(models, statics, &back);
    EXPECT_EQ(bytes.substr(0, 3), std::string("cm\0", 3));
    EXPECT_EQ(back.GetTriangleCount(), statics.GetTriangleCount());
    ExpectNear(back.Meshes[0].Verts[5].Normal, statics.Meshes[0].Verts[5].Normal, 1e-4f);
    EXPECT_NEAR(back.Joints[0].Orient.w, 0.8f, 1e-4f);  // stored with a positive w
    EXPECT_NEAR(back.Joints[0].Orient.x, -0.6f, 1e-4f);
    twice(models, skinned, &back);
    EXPECT_FALSE(back.IsStatic);
    EXPECT_EQ(back.Meshes[0].AnimVerts[1].Indices.y, skinned.Meshes[0].AnimVerts[1].Indices.y);
    cCodecAnim anims;
    cAnim animBack;
    EXPECT_EQ(twice(anims, anim, &animBack).substr(0, 3), std::string("ca\0", 3));
    ExpectNear(animBack.Frames[1][0].Position, anim.Frames[1][0].Position, 0.01f);
    cCodecCamera cameras;
    cCamera cameraBack;
    EXPECT_EQ(twice(cameras, camera, &cameraBack).substr(0, 3), std::string("cc\0", 3));
    EXPECT_EQ(cameraBack.Tracks[0].Name, "fly");
    ExpectNear(cameraBack.Tracks[0].Frames[0].Position, cVec3(-3, 4, 200), 0.01f);
}

TEST(Native, BadFilesFail) {
    // A static model with one joint whose orientation is stored as (0, 0, 0).
    std::string joint = std::string("\x01\x00", 2) + "j" + std::string("\xff\xff", 2) + std::string(12, '\0') +
                        std::string(6, '\0');
    std::string good = std::string("cm\0\x01\x00", 5) + joint + std::string("\x00\x00\x01", 3) + std::string(24, '\0');
    cModel model;
    ASSERT_TRUE(cCodecModel().Decode(FileOf(good), &model));
    EXPECT_EQ(model.Joints[0].Orient, cQuat(0, 0, 0, 1));

    std::string badParent = good;
    badParent[8] = 1;  // parent 1 of one joint
    std::string cases[] = {
        std::string("cm\x01", 3) + good.substr(3),  // version 1
        "xm" + good.substr(2),
        badParent,
        std::string("cm\0\xff\xff", 5) + good.substr(5),  // negative joint count
    };
    for (const std::string& bytes : cases) EXPECT_FALSE(cCodecModel().Decode(FileOf(bytes), &model));

    // Every cut of every format fails cleanly (the full file succeeds).
    cFile m, a, c;
    ASSERT_TRUE(cCodecModel().Encode(SkinnedModel(), &m));
    cAnim anim;
    ASSERT_TRUE(cCodecMd5Anim().Decode(FileOf(Md5Anim), &anim));
    ASSERT_TRUE(cCodecAnim().Encode(anim, &a));
    cCamera camera;
    camera.Tracks.SetCount(2);
    camera.Tracks[1].Frames.SetCount(2);
    ASSERT_TRUE(cCodecCamera().Encode(camera, &c));
    for (int n = 0; n < m.GetSize(); n++) EXPECT_FALSE(cCodecModel().Decode(FileOf(Bytes(m).substr(0, n)), &model)) << n;
    for (int n = 0; n < a.GetSize(); n++) EXPECT_FALSE(cCodecAnim().Decode(FileOf(Bytes(a).substr(0, n)), &anim)) << n;
    cCamera back;
    for (int n = 0; n < c.GetSize(); n++) EXPECT_FALSE(cCodecCamera().Decode(FileOf(Bytes(c).substr(0, n)), &back)) << n;
    // Counts far past the bytes are refused before anything is allocated.
    std::string huge = Bytes(a);
    huge[5] = 0; huge[6] = 0;  // no joints
    EXPECT_FALSE(cCodecAnim().Decode(FileOf(huge.substr(0, 7) + std::string("\xff\xff\xff\x7f", 4)), &anim));
}
