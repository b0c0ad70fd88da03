// The facade's model, animation and camera tables: ids per (path, key), reloads and their messages.
#include <gtest/gtest.h>

#include <string>

#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/io/Codec.h"
#include "zozud/model/CodecNative.h"

using namespace zozud;

namespace {

struct LogWatch {
    int         mark = cLog::GetLogCopy().Length();
    std::string Since() const { return cLog::GetLogCopy().ToChar() + mark; }
};

const char* const Triangle = "v 0 0 0\nv 2 0 0\nv 0 2 0\nf 1 2 3\n";

}  // namespace

TEST(ModelRegistry, ResourceTables) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.Folder("program"), "");
    std::string obj = tree.File("tri.obj", Triangle), missing = tree.Path("none.obj");
    int a = cIO::GetModelID(obj.c_str(), false);
    EXPECT_EQ(cIO::GetModelID(obj.c_str(), false), a);
    int proxy = cIO::GetModelID(obj.c_str(), true);
    EXPECT_NE(proxy, a);
    EXPECT_EQ(cIO::GetModelPtr(a)->GetTriangleCount(), 1);
    EXPECT_EQ(cIO::GetModelPtr(a)->Meshes[0].MaterialID, -1);
    int none = cIO::GetModelID(missing.c_str(), false);
    ASSERT_NE(cIO::GetModelPtr(none), nullptr);
    EXPECT_EQ(cIO::GetModelPtr(none)->GetVertexCount(), 0);
    EXPECT_EQ(cIO::GetModelFilePn(none), missing.c_str());
    EXPECT_EQ(cIO::GetModelPtr(99), nullptr);

    // Animations: the transform is part of the key (within 0.001) and applied.
    cAnim anim;
    anim.Joints.SetCount(1);
    anim.Frames.SetCount(2);
    for (auto& f : anim.Frames) f.SetCount(1);
    std::string path = tree.Path("walk.cAnim");
    ASSERT_TRUE(cIO::SaveAnim(path.c_str(), anim));
    cMat4 up = cMat4::Translation(0, 10, 0), nearly = up;
    nearly.m[13] += 0.0005f;
    int id = cIO::GetAnimID(path.c_str(), 1, up);
    EXPECT_EQ(cIO::GetAnimID(path.c_str(), 1, nearly), id);
    EXPECT_NE(cIO::GetAnimID(path.c_str(), 2, up), id);
    EXPECT_NE(cIO::GetAnimID(path.c_str(), 1, cMat4::Identity), id);
    EXPECT_NEAR(cIO::GetAnimPtr(id)->Frames[1][0].Position.y, 10.0f, 1e-3f);

    cCamera camera;
    camera.Tracks.SetCount(1);
    std::string cam = tree.Path("fly.cCamera");
    ASSERT_TRUE(cIO::SaveCamera(cam.c_str(), camera));
    int c = cIO::GetCameraID(cam.c_str());
    EXPECT_EQ(cIO::GetCameraID(cam.c_str()), c);
    EXPECT_EQ(cIO::GetCameraPtr(c)->Tracks.Count(), 1);

    LogWatch messages;
    cIO::UnloadModels();
    EXPECT_EQ(cIO::GetModelPtr(a)->GetVertexCount(), 0);
    cIO::ReloadModels();
    EXPECT_EQ(cIO::GetModelPtr(a)->GetTriangleCount(), 1);
    cIO::UnloadAnims();
    EXPECT_EQ(cIO::GetAnimID(path.c_str(), 1, up), id);  // found empty: reloaded
    EXPECT_EQ(cIO::GetAnimPtr(id)->GetFrameCount(), 2);
    cIO::ReloadAnims();
    cIO::ReloadCameras();
    cIO::UnloadCameras();
    std::string log = messages.Since();
    for (const char* line : {"Unloaded 3 Models.\r\n", "Reloaded 2 Static Models, 0 Anim Models, 1 Static Proxies, 0 Anim Proxies.\r\n",
                             "Unloaded 3 Anims.\r\n", "Reloaded 3 Anims.\r\n", "Reloaded 1 Cameras.\r\n", "Unloaded 1 Cameras.\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    cIO::FreeModels();
    cIO::FreeAnims();
    cIO::FreeCameras();
    EXPECT_EQ(cIO::GetModelPtr(a), nullptr);
}
