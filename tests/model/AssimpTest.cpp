// The MD5 and OBJ readers against assimp reading the same files (ours turned
// back from y up at half size into the file's space). Skipped without assimp.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "zozud/model/CodecMd5.h"
#include "zozud/model/CodecObj.h"

#ifdef ZOZUD_HAVE_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#endif

using namespace zozud;

namespace {

// A three-joint chain with rotations that tell every quaternion convention
// apart, and two meshes.
const char* const Mesh =
    "MD5Version 10\ncommandline \"\"\nnumJoints 3\nnumMeshes 2\n"
    "joints {\n"
    "\t\"root\"\t-1 ( 0 0 0 ) ( 0 0 0 )\t\t// root\n"
    "\t\"arm\"\t0 ( 1 2 3 ) ( 0.1 0.2 0.3 )\n"
    "\t\"hand\"\t1 ( 2 -1 4 ) ( -0.3 0.1 0.5 )\n"
    "}\n"
    "mesh {\n\tshader \"skin\"\n\tnumverts 4\n"
    "\tvert 0 ( 0.1 0.2 ) 0 1\n\tvert 1 ( 0.3 0.4 ) 1 2\n\tvert 2 ( 0.5 0.6 ) 3 1\n\tvert 3 ( 0.7 0.9 ) 4 3\n"
    "\tnumtris 2\n\ttri 0 0 1 2\n\ttri 1 0 2 3\n"
    "\tnumweights 7\n"
    "\tweight 0 1 1 ( 0.5 -0.25 1 )\n"
    "\tweight 1 1 0.75 ( 1 0 0 )\n\tweight 2 2 0.25 ( 0 1 0 )\n"
    "\tweight 3 2 1 ( -1 0.5 2 )\n"
    "\tweight 4 0 0.5 ( 1 1 1 )\n\tweight 5 1 0.3 ( 0 0 -2 )\n\tweight 6 2 0.2 ( 3 0 1 )\n"
    "}\n"
    "mesh {\n\tshader \"cloth\"\n\tnumverts 3\n"
    "\tvert 0 ( 0 0 ) 0 1\n\tvert 1 ( 1 0 ) 1 1\n\tvert 2 ( 1 1 ) 2 1\n"
    "\tnumtris 1\n\ttri 0 2 1 0\n"
    "\tnumweights 3\n"
    "\tweight 0 0 1 ( 0 0 5 )\n\tweight 1 1 1 ( 2 2 2 )\n\tweight 2 2 1 ( -2 1 0 )\n"
    "}\n";

const char* const Anim =
    "MD5Version 10\ncommandline \"\"\n"
    "numFrames 3\nnumJoints 3\nframeRate 24\nnumAnimatedComponents 15\n"
    "hierarchy {\n\t\"root\"\t-1 63 0\n\t\"arm\"\t0 63 6\n\t\"hand\"\t1 56 12\n}\n"
    "bounds {\n\t( -9 -9 -9 ) ( 9 9 9 )\n\t( -9 -9 -9 ) ( 9 9 9 )\n\t( -9 -9 -9 ) ( 9 9 9 )\n}\n"
    "baseframe {\n\t( 0 0 0 ) ( 0 0 0 )\n\t( 1 2 3 ) ( 0.1 0.2 0.3 )\n\t( 1 0 2 ) ( -0.3 0.1 0.5 )\n}\n"
    "frame 0 {\n\t0 0 0 0 0 0\n\t1 2 3 0.1 0.2 0.3\n\t-0.3 0.1 0.5\n}\n"
    "frame 1 {\n\t0.5 -1 2 0.2 -0.1 0.4\n\t1.5 2 2.5 0.3 0.1 -0.2\n\t0.2 -0.4 0.1\n}\n"
    "frame 2 {\n\t-1 0.25 0 -0.5 0.3 0.1\n\t0.5 1 3 -0.1 0.6 0.2\n\t0.6 0.2 -0.3\n}\n";

// Quads, a triangle, negative indices and two materials.
const char* const Obj =
    "mtllib x.mtl\n"
    "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\nv 0 0 -3\nv 2 0 -3\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 -1 0\n"
    "usemtl lib:a\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
    "usemtl b\nf -6/1/2 -1/3/2 -5/2/2\nf 1/1/2 5/4/2 6/3/2\n";

// The text with an empty line after every line: assimp 5.2's MD5 parser
// loses the line after each element otherwise (ours skips empty lines).
std::string Spaced(const char* text) {
    std::string out;
    for (const char* p = text; *p; p++) out += *p == '\n' ? std::string("\n\n") : std::string(1, *p);
    return out;
}

std::string TempFile(const char* name, const char* text) {
    std::string path = std::string(ZOZUD_BINARY_DIR) + "/tests/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fputs(Spaced(text).c_str(), f);
        fclose(f);
    }
    return path;
}

cFile FileOf(const char* text) {
    std::string spaced = Spaced(text);
    cFile f;
    f.Copy(spaced.data(), (int)spaced.size(), "test");
    return f;
}

#ifdef ZOZUD_HAVE_ASSIMP
cVec3 Vec(const aiVector3D& v) { return cVec3(v.x, v.y, v.z); }

// Our mesh positions back in the file's space: (x, y, z) -> (2x, -2z, 2y).
cVec3 Unconvert(const cVec3& p) { return cVec3(2 * p.x, -2 * p.z, 2 * p.y); }
#endif

}  // namespace

TEST(Assimp, Md5MeshAgrees) {
#ifndef ZOZUD_HAVE_ASSIMP
    GTEST_SKIP() << "assimp not installed";
#else
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(TempFile("cross.md5mesh", Mesh), 0);
    ASSERT_TRUE(scene) << importer.GetErrorString();
    cModel model;
    ASSERT_TRUE(cCodecMd5Model().Decode(FileOf(Mesh), &model));
    ASSERT_EQ((int)scene->mNumMeshes, model.Meshes.Count());
    for (int m = 0; m < model.Meshes.Count(); m++) {
        const aiMesh* theirs = scene->mMeshes[m];
        const cModel::Mesh& ours = model.Meshes[m];
        ASSERT_EQ((int)theirs->mNumFaces, ours.Indices.Count() / 3);
        // Triangles compared as corner sets, each corner with its texture coordinates (both store 1 - v).
        for (int t = 0; t < ours.Indices.Count() / 3; t++) {
            const aiFace& face = theirs->mFaces[t];
            ASSERT_EQ(face.mNumIndices, 3u);
            bool used[3] = {false, false, false};
            for (int k = 0; k < 3; k++) {
                const cVertex::Anim& v = ours.AnimVerts[ours.Indices[t * 3 + k]];
                int j = 0;
                while (j < 3 && (used[j] || (Unconvert(v.Pos) - Vec(theirs->mVertices[face.mIndices[j]])).Length() > 1e-4f)) j++;
                ASSERT_LT(j, 3) << "mesh " << m << " triangle " << t << " corner " << k;
                used[j] = true;
                const aiVector3D& uv = theirs->mTextureCoords[0][face.mIndices[j]];
                EXPECT_LT((cVec3(v.TexCoord.x, v.TexCoord.y, 0) - cVec3(uv.x, uv.y, 0)).Length(), 1e-4f);
            }
        }
    }
#endif
}

TEST(Assimp, Md5AnimPosesAgree) {
#ifndef ZOZUD_HAVE_ASSIMP
    GTEST_SKIP() << "assimp not installed";
#else
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(TempFile("cross_alone.md5anim", Anim), 0);
    ASSERT_TRUE(scene && scene->mNumAnimations == 1) << importer.GetErrorString();
    const aiAnimation* anim = scene->mAnimations[0];
    cCodecMd5_Anim md5;
    cFile file = FileOf(Anim);
    ASSERT_TRUE(md5.Load(file));
    ASSERT_EQ((int)anim->mNumChannels, md5.Joints.Count());
    for (int f = 0; f < md5.Frames.Count(); f++) {
        md5.SetFrame(f);
        // Their keys are parent-relative: chain them with assimp's own matrices.
        std::vector<aiMatrix4x4> world(md5.Joints.Count());
        for (int j = 0; j < md5.Joints.Count(); j++) {
            const aiNodeAnim* ch = nullptr;
            for (unsigned c = 0; c < anim->mNumChannels; c++)
                if (md5.Joints[j].Name == anim->mChannels[c]->mNodeName.C_Str()) ch = anim->mChannels[c];
            ASSERT_TRUE(ch) << md5.Joints[j].Name.ToChar();
            ASSERT_GT(ch->mNumPositionKeys, (unsigned)f);
            aiMatrix4x4 local(aiVector3D(1, 1, 1), ch->mRotationKeys[f].mValue, ch->mPositionKeys[f].mValue);
            int p = md5.Joints[j].Parent;
            world[j] = p >= 0 ? world[p] * local : local;
            aiVector3D pos(world[j].a4, world[j].b4, world[j].c4);
            EXPECT_LT((md5.Posed[j].Position - Vec(pos)).Length(), 1e-4f) << "frame " << f << " joint " << j;
        }
    }
#endif
}

TEST(Assimp, ObjAgrees) {
#ifndef ZOZUD_HAVE_ASSIMP
    GTEST_SKIP() << "assimp not installed";
#else
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(TempFile("cross.obj", Obj), aiProcess_Triangulate);
    ASSERT_TRUE(scene) << importer.GetErrorString();
    cModel model;
    ASSERT_TRUE(cCodecObj().Decode(FileOf(Obj), &model));
    // Triangle counts, the area and every corner of theirs, with its normal, a vertex of ours.
    auto area = [](cVec3 a, cVec3 b, cVec3 c) { return (b - a).Cross(c - a).Length() / 2.0; };
    int theirTris = 0;
    double theirArea = 0, ourArea = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; m++) {
        const aiMesh* mesh = scene->mMeshes[m];
        theirTris += (int)mesh->mNumFaces;
        for (unsigned t = 0; t < mesh->mNumFaces; t++) {
            const unsigned* i = mesh->mFaces[t].mIndices;
            theirArea += area(Vec(mesh->mVertices[i[0]]), Vec(mesh->mVertices[i[1]]), Vec(mesh->mVertices[i[2]]));
        }
        for (unsigned v = 0; v < mesh->mNumVertices; v++) {
            bool found = false;
            for (const cModel::Mesh& ours : model.Meshes)
                for (const cVertex::Bump& b : ours.Verts)
                    found = found || ((b.Pos - Vec(mesh->mVertices[v])).Length() < 1e-4f &&
                                      (b.Normal - Vec(mesh->mNormals[v])).Length() < 1e-4f);
            EXPECT_TRUE(found) << "mesh " << m << " vertex " << v;
        }
    }
    for (const cModel::Mesh& mesh : model.Meshes)
        for (int t = 0; t < mesh.Indices.Count() / 3; t++)
            ourArea += area(mesh.Verts[mesh.Indices[t * 3]].Pos, mesh.Verts[mesh.Indices[t * 3 + 1]].Pos,
                            mesh.Verts[mesh.Indices[t * 3 + 2]].Pos);
    EXPECT_EQ(theirTris, model.GetTriangleCount());
    EXPECT_NEAR(ourArea, theirArea, 1e-4);
#endif
}
