// The codec registries of cIO: the built-in image codecs, registration rules
// and messages of all four kinds, and the load and save entry points with
// their path, extension and message rules, on real files in temporary
// program and write folders.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecPvr.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;

namespace {

// What the core log gained since a mark.
class LogWatch {
public:
    LogWatch() : mark(cLog::GetLogCopy().Length()) {}
    std::string Since() const { return std::string(cLog::GetLogCopy().ToChar() + mark); }

private:
    int mark;
};

std::string TgaBytes(int seed) {
    cImage image(cFormat::Rgb8, 3, 2);
    codectest::Fill(&image, seed);
    cCodecTga tga;
    return codectest::Encode(tga, image);
}

// An image codec that succeeds without writing a byte.
class SilentCodec : public cIO::ImageCodec {
public:
    bool Decode(const cFile&, cImage*) override { return false; }
    bool Encode(const cImage&, cFile*) override { return true; }
};

// Model, animation and camera codecs: the registry only passes their objects
// through, so these never touch them.
template <class Base, class Object>
class StubCodec : public Base {
public:
    StubCodec(bool encodes, const char* bytes) : encodes(encodes), bytes(bytes) {}
    bool Encodes() const override { return encodes; }
    bool Decode(const cFile& file, Object*) override { return file.GetSize() > 0; }
    bool Encode(const Object&, cFile* file) override {
        if (!encodes) return false;
        file->WriteString(bytes);
        return true;
    }

private:
    bool        encodes;
    const char* bytes;
};

using ModelStub = StubCodec<cIO::ModelCodec, cModel>;
using AnimStub = StubCodec<cIO::AnimCodec, cAnim>;
using CameraStub = StubCodec<cIO::CameraCodec, cCamera>;

// Stand-in objects for kinds whose classes the registry never looks into.
template <class T>
T* Opaque() {
    static long storage[8];
    return reinterpret_cast<T*>(storage);
}

}  // namespace

TEST(CodecRegistry, RegistersTheFourImageCodecsAtStartUp) {
    const cIO_ImageCodecList& codecs = cIO::GetImageCodecs();
    ASSERT_GE(codecs.Count(), 4);
    EXPECT_STREQ(codecs[0].Ext, "Dds");
    EXPECT_STREQ(codecs[1].Ext, "Bmp");
    EXPECT_STREQ(codecs[2].Ext, "cPvr");
    EXPECT_STREQ(codecs[3].Ext, "Tga");
    EXPECT_NE(dynamic_cast<cCodecDds*>(codecs[0].Ptr), nullptr);
    EXPECT_NE(dynamic_cast<cCodecBmp*>(codecs[1].Ptr), nullptr);
    EXPECT_NE(dynamic_cast<cCodecPvr*>(codecs[2].Ptr), nullptr);
    EXPECT_NE(dynamic_cast<cCodecTga*>(codecs[3].Ptr), nullptr);
    std::string log = cLog::GetLogCopy().ToChar();
    size_t dds = log.find("Added \"Dds\" image codec.\r\n"), bmp = log.find("Added \"Bmp\" image codec.\r\n");
    size_t pvr = log.find("Added \"cPvr\" image codec.\r\n"), tga = log.find("Added \"Tga\" image codec.\r\n");
    ASSERT_NE(tga, std::string::npos);
    EXPECT_TRUE(dds < bmp && bmp < pvr && pvr < tga);
}

TEST(CodecRegistry, FirstRegistrationOfAnExtensionWinsIgnoringCase) {
    LogWatch watch;
    SilentCodec* second = new SilentCodec;
    EXPECT_FALSE(cIO::AddCodec("tga", second));  // refused silently, not taken
    EXPECT_FALSE(cIO::AddCodec("BMP", second));
    EXPECT_EQ(watch.Since(), "");
    EXPECT_FALSE(cIO::AddCodec("", second));
    EXPECT_FALSE(cIO::AddCodec(nullptr, second));
    EXPECT_FALSE(cIO::AddCodec("Spare", static_cast<cIO::ImageCodec*>(nullptr)));
    EXPECT_EQ(watch.Since(), "");
    delete second;

    EXPECT_TRUE(cIO::AddCodec("Silent", new SilentCodec));
    EXPECT_EQ(watch.Since(), "Added \"Silent\" image codec.\r\n");
    SilentCodec late;
    EXPECT_FALSE(cIO::AddCodec("SILENT", &late));
    EXPECT_STREQ(cIO::GetImageCodecs().GetLast().Ext, "Silent");
}

TEST(CodecRegistry, AnnouncesModelAnimationAndCameraCodecsAndDecoders) {
    LogWatch watch;
    EXPECT_TRUE(cIO::AddCodec("TestModel", new ModelStub(true, "m")));
    EXPECT_TRUE(cIO::AddCodec("TestModelIn", new ModelStub(false, "")));
    EXPECT_TRUE(cIO::AddCodec("TestAnim", new AnimStub(true, "a")));
    EXPECT_TRUE(cIO::AddCodec("TestAnimIn", new AnimStub(false, "")));
    EXPECT_TRUE(cIO::AddCodec("TestCamera", new CameraStub(true, "c")));
    EXPECT_TRUE(cIO::AddCodec("TestCameraIn", new CameraStub(false, "")));
    EXPECT_EQ(watch.Since(),
              "Added \"TestModel\" model codec.\r\n"
              "Added \"TestModelIn\" model decoder.\r\n"
              "Added \"TestAnim\" animation codec.\r\n"
              "Added \"TestAnimIn\" animation decoder.\r\n"
              "Added \"TestCamera\" camera codec.\r\n"
              "Added \"TestCameraIn\" camera decoder.\r\n");
    ModelStub model(true, "");
    AnimStub anim(true, "");
    CameraStub camera(true, "");
    EXPECT_FALSE(cIO::AddCodec("testmodel", &model));
    EXPECT_FALSE(cIO::AddCodec("TESTANIM", &anim));
    EXPECT_FALSE(cIO::AddCodec("TestCameraIN", &camera));
    // Each kind has its own registry: an image extension is free for a model.
    EXPECT_TRUE(cIO::AddCodec("Tga", new ModelStub(false, "")));
    EXPECT_STREQ(cIO::GetCameraCodecs()[0].Ext, "TestCamera");
}

TEST(CodecRegistry, LoadsThroughTheCodecOfTheExtensionInAnyLetterCase) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.Folder("program"), "");  // the files lie outside it
    for (const char* name : {"a.TGA", "b.tga", "c.Tga"}) {
        std::string path = tree.File(name, TgaBytes(1));
        cImage image;
        EXPECT_TRUE(cIO::LoadImage(path.c_str(), &image)) << name;
        EXPECT_EQ(image.Format, cFormat::Rgb8) << name;
    }
    // Only the codec of the extension is tried: TGA bytes under .bmp do not load.
    std::string wrong = tree.File("d.bmp", TgaBytes(1));
    LogWatch watch;
    cImage image;
    EXPECT_FALSE(cIO::LoadImage(wrong.c_str(), &image));
    EXPECT_EQ(watch.Since(), "Can't decode image file \"" + wrong + "\"\r\n");
}

TEST(CodecRegistry, LoadsRelativeToTheProgramFolderWithItsMessages) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.root, "");
    cImage original(cFormat::Rgb8, 3, 2);
    codectest::Fill(&original, 1);
    tree.File("Textures/a.tga", TgaBytes(1));
    tree.File("Textures/bad.tga", "not an image at all");
    tree.File("Textures/b.png", TgaBytes(1));

    LogWatch watch;
    cImage image;
    EXPECT_TRUE(cIO::LoadImage("Textures/a.tga", &image));
    EXPECT_EQ(codectest::Buffer(image), codectest::Buffer(original));
    EXPECT_TRUE(cIO::LoadImage(tree.Path("Textures/a.tga").c_str(), &image));  // absolute, below the folder
    EXPECT_FALSE(cIO::LoadImage("Textures/none.tga", &image));
    EXPECT_FALSE(cIO::LoadImage("Textures/bad.tga", &image));
    EXPECT_FALSE(cIO::LoadImage("Textures/b.png", &image));  // no codec: the same message as a bad file
    EXPECT_EQ(watch.Since(),
              "Loaded image file \"Textures/a.tga\"\r\n"
              "Loaded image file \"Textures/a.tga\"\r\n"
              "Can't load image file \"Textures/none.tga\"\r\n"
              "Can't decode image file \"Textures/bad.tga\"\r\n"
              "Can't decode image file \"Textures/b.png\"\r\n");
}

TEST(CodecRegistry, SavesIntoTheWriteFolderAndLoadsFromItFirst) {
    iotest::TempTree tree;
    std::string program = tree.Folder("program"), write = tree.Folder("write");
    tree.Folder("write/Textures");  // saving creates no folders
    iotest::ProgramFolderScope scope(program, write);
    cImage image(cFormat::Rgba8, 4, 3);
    codectest::Fill(&image, 2);
    ASSERT_TRUE(cIO::SaveImage("Textures/out.bmp", image));
    EXPECT_TRUE(iotest::Exists(write + "/Textures/out.bmp"));
    EXPECT_FALSE(iotest::Exists(program + "/Textures/out.bmp"));
    cImage back;
    ASSERT_TRUE(cIO::LoadImage("Textures/out.bmp", &back));
    EXPECT_EQ(codectest::Buffer(back), codectest::Buffer(image));
}

TEST(CodecRegistry, SaveFollowsTheExtensionAndReportsEncoderFailures) {
    iotest::TempTree tree;
    cImage image(cFormat::Rgb8, 4, 4);
    codectest::Fill(&image, 3);
    LogWatch watch;
    EXPECT_FALSE(cIO::SaveImage(tree.Path("noextension").c_str(), image));
    EXPECT_FALSE(cIO::SaveImage(tree.Path("unknown.png").c_str(), image));
    EXPECT_EQ(watch.Since(), "");  // both silently

    std::string pvr = tree.Path("x.cPvr"), rg = tree.Path("rg.BMP");
    EXPECT_FALSE(cIO::SaveImage(pvr.c_str(), image));
    cImage two(cFormat::Rg8, 2, 2);
    codectest::Fill(&two, 1);
    EXPECT_FALSE(cIO::SaveImage(rg.c_str(), two));
    EXPECT_EQ(watch.Since(), "Can't encode image \"" + pvr + "\"\r\nCan't encode image \"" + rg + "\"\r\n");
    EXPECT_FALSE(iotest::Exists(pvr));
    EXPECT_FALSE(iotest::Exists(rg));

    // An image encoder that wrote nothing succeeds without a file.
    cIO::AddCodec("SilentSave", new SilentCodec);
    EXPECT_TRUE(cIO::SaveImage(tree.Path("x.SilentSave").c_str(), image));
    EXPECT_FALSE(iotest::Exists(tree.Path("x.SilentSave")));

    std::string tga = tree.Path("ok.TGA");
    EXPECT_TRUE(cIO::SaveImage(tga.c_str(), image));
    EXPECT_EQ(testsupport::ReadFile(tga).size(), 18u + 48);
}

TEST(CodecRegistry, ModelAnimationAndCameraFilesFollowTheSameRules) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.Folder("program"), "");  // the files lie outside it
    cIO::AddCodec("RegModel", new ModelStub(true, "model bytes"));
    cIO::AddCodec("RegModelIn", new ModelStub(false, ""));
    cIO::AddCodec("RegEmpty", new ModelStub(true, ""));
    cIO::AddCodec("RegAnim", new AnimStub(true, "anim bytes"));
    cIO::AddCodec("RegCamera", new CameraStub(true, "camera bytes"));
    const cModel& model = *Opaque<cModel>();

    std::string saved = tree.Path("m.regmodel"), readOnly = tree.Path("m.RegModelIn"), empty = tree.Path("m.RegEmpty");
    LogWatch watch;
    EXPECT_TRUE(cIO::SaveModel(saved.c_str(), model));
    EXPECT_EQ(testsupport::ReadFile(saved), "model bytes");
    EXPECT_FALSE(cIO::SaveModel(readOnly.c_str(), model));
    EXPECT_FALSE(cIO::SaveModel(empty.c_str(), model));  // no bytes: false for every kind but images
    EXPECT_FALSE(cIO::SaveModel(tree.Path("m").c_str(), model));
    EXPECT_TRUE(cIO::LoadModel(saved.c_str(), Opaque<cModel>()));
    EXPECT_FALSE(cIO::LoadModel(tree.Path("none.RegModel").c_str(), Opaque<cModel>()));
    EXPECT_EQ(watch.Since(), "Can't encode model file \"" + readOnly + "\"\r\nLoaded model file \"" + saved +
                                 "\"\r\nCan't load model file \"" + tree.Path("none.RegModel") + "\"\r\n");
    EXPECT_FALSE(iotest::Exists(readOnly));
    EXPECT_FALSE(iotest::Exists(empty));

    std::string anim = tree.Path("a.RegAnim"), camera = tree.Path("c.RegCamera");
    EXPECT_TRUE(cIO::SaveAnim(anim.c_str(), *Opaque<cAnim>()));
    EXPECT_TRUE(cIO::LoadAnim(anim.c_str(), Opaque<cAnim>()));
    EXPECT_TRUE(cIO::SaveCamera(camera.c_str(), *Opaque<cCamera>()));
    EXPECT_TRUE(cIO::LoadCamera(camera.c_str(), Opaque<cCamera>()));
    tree.File("bad.RegCamera", "");
    EXPECT_FALSE(cIO::LoadCamera(tree.Path("bad.RegCamera").c_str(), Opaque<cCamera>()));
    std::string log = watch.Since();
    EXPECT_NE(log.find("Loaded animation file \"" + anim + "\""), std::string::npos);
    EXPECT_NE(log.find("Loaded camera file \"" + camera + "\""), std::string::npos);
    EXPECT_NE(log.find("Can't decode camera file \"" + tree.Path("bad.RegCamera") + "\""), std::string::npos);
}
