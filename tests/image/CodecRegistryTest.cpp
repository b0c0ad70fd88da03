// The codec registries of cIO: registration rules
// and messages of all four kinds, and the load and save entry points with
// their path, extension and message rules, on real files.
#include <gtest/gtest.h>

#include <functional>

#include "image/CodecTestSupport.h"
#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using codectest::Buffer;
using codectest::Filled;

namespace {

// What the core log gained since the watch was made, after the start-up's own lines.
struct LogWatch {
    int         mark = (cIO::GetImageCodecs(), cLog::GetLogCopy().Length());
    std::string Since() const { return cLog::GetLogCopy().ToChar() + mark; }
};

std::string TgaBytes() {
    cCodecTga tga;
    return codectest::Encode(tga, Filled(cFormat::Rgb8, 3, 2));
}

// An image codec that succeeds without writing a byte.
struct SilentCodec : cIO::ImageCodec {
    bool Decode(const cFile&, cImage*) override { return false; }
    bool Encode(const cImage&, cFile*) override { return true; }
};

// Model, animation and camera codecs that write `bytes` (null: a decoder
// only) and decode any file that has bytes; the registry never looks into
// their objects, so stand-ins serve.
template <class Base, class Object>
struct Stub : Base {
    explicit Stub(const char* bytes) : bytes(bytes) {}
    bool Encodes() const override { return bytes != nullptr; }
    bool Decode(const cFile& file, Object*) override { return file.GetSize() > 0; }
    bool Encode(const Object&, cFile* file) override {
        if (bytes) file->WriteString(bytes);
        return bytes != nullptr;
    }
    const char* bytes;
};
using ModelStub = Stub<cIO::ModelCodec, cModel>;
using AnimStub = Stub<cIO::AnimCodec, cAnim>;
using CameraStub = Stub<cIO::CameraCodec, cCamera>;
template <class T>
T* Opaque() {
    static long storage[8];
    return reinterpret_cast<T*>(storage);
}

}  // namespace

TEST(CodecRegistry, FirstRegistrationOfAnExtensionWinsIgnoringCaseAndIsAnnounced) {
    LogWatch watch;
    SilentCodec refused;  // refused codecs are not taken
    ModelStub model("");
    AnimStub anim("");
    CameraStub camera("");
    for (const char* ext : {"tga", "BMP", "", (const char*)nullptr}) EXPECT_FALSE(cIO::AddCodec(ext, &refused));
    EXPECT_FALSE(cIO::AddCodec("Spare", static_cast<cIO::ImageCodec*>(nullptr)));
    EXPECT_EQ(watch.Since(), "");

    EXPECT_TRUE(cIO::AddCodec("Silent", new SilentCodec));
    EXPECT_TRUE(cIO::AddCodec("TestModel", new ModelStub("m")) && cIO::AddCodec("TestModelIn", new ModelStub(nullptr)));
    EXPECT_TRUE(cIO::AddCodec("TestAnim", new AnimStub("a")) && cIO::AddCodec("TestAnimIn", new AnimStub(nullptr)));
    EXPECT_TRUE(cIO::AddCodec("TestCamera", new CameraStub("c")) &&
                cIO::AddCodec("TestCameraIn", new CameraStub(nullptr)));
    EXPECT_EQ(watch.Since(),
              "Added \"Silent\" image codec.\r\nAdded \"TestModel\" model codec.\r\n"
              "Added \"TestModelIn\" model decoder.\r\nAdded \"TestAnim\" animation codec.\r\n"
              "Added \"TestAnimIn\" animation decoder.\r\nAdded \"TestCamera\" camera codec.\r\n"
              "Added \"TestCameraIn\" camera decoder.\r\n");
    EXPECT_FALSE(cIO::AddCodec("SILENT", &refused) || cIO::AddCodec("testmodel", &model) ||
                 cIO::AddCodec("TESTANIM", &anim) || cIO::AddCodec("TestCameraIN", &camera));
    EXPECT_TRUE(cIO::AddCodec("Tga", new ModelStub(nullptr)));  // each kind has its own registry
}

TEST(CodecRegistry, LoadsThroughTheCodecOfTheExtensionWithItsMessages) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.root, "");
    for (const char* name : {"Textures/a.tga", "Textures/b.bmp", "Textures/c.png", "d.TGA", "e.Tga"})
        tree.File(name, TgaBytes());
    tree.File("Textures/bad.tga", "not an image at all");
    LogWatch watch;
    cImage image;
    EXPECT_TRUE(cIO::LoadImage("Textures/a.tga", &image));
    EXPECT_EQ(Buffer(image), Buffer(Filled(cFormat::Rgb8, 3, 2)));
    EXPECT_TRUE(cIO::LoadImage(tree.Path("Textures/a.tga").c_str(), &image));  // absolute, below the folder
    EXPECT_TRUE(cIO::LoadImage("d.TGA", &image) && cIO::LoadImage("e.Tga", &image));
    EXPECT_FALSE(cIO::LoadImage("Textures/none.tga", &image));
    EXPECT_FALSE(cIO::LoadImage("Textures/bad.tga", &image));
    EXPECT_FALSE(cIO::LoadImage("Textures/b.bmp", &image));  // only the codec of the extension is tried
    EXPECT_FALSE(cIO::LoadImage("Textures/c.png", &image));  // no codec: the same message as a bad file
    EXPECT_EQ(watch.Since(),
              "Loaded image file \"Textures/a.tga\"\r\nLoaded image file \"Textures/a.tga\"\r\n"
              "Loaded image file \"d.TGA\"\r\nLoaded image file \"e.Tga\"\r\n"
              "Can't load image file \"Textures/none.tga\"\r\nCan't decode image file \"Textures/bad.tga\"\r\n"
              "Can't decode image file \"Textures/b.bmp\"\r\nCan't decode image file \"Textures/c.png\"\r\n");
}

TEST(CodecRegistry, SavesByExtensionIntoTheWriteFolderAndReportsEncoderFailures) {
    iotest::TempTree tree;
    std::string program = tree.Folder("program"), write = tree.Folder("write/Textures");
    iotest::ProgramFolderScope scope(program, tree.Path("write"));
    cImage rgba = Filled(cFormat::Rgba8, 4, 3), rgb = Filled(cFormat::Rgb8, 4, 4), back;
    ASSERT_TRUE(cIO::SaveImage("Textures/out.bmp", rgba));
    EXPECT_TRUE(iotest::Exists(write + "/out.bmp") && !iotest::Exists(program + "/Textures/out.bmp"));
    ASSERT_TRUE(cIO::LoadImage("Textures/out.bmp", &back));  // the write folder is searched first
    EXPECT_EQ(Buffer(back), Buffer(rgba));

    LogWatch watch;
    std::string pvr = tree.Path("x.cPvr"), rg = tree.Path("rg.BMP"), tga = tree.Path("ok.TGA");
    EXPECT_FALSE(cIO::SaveImage(tree.Path("noextension").c_str(), rgb));  // silently
    EXPECT_FALSE(cIO::SaveImage(tree.Path("unknown.png").c_str(), rgb));  // silently
    EXPECT_FALSE(cIO::SaveImage(pvr.c_str(), rgb));
    EXPECT_FALSE(cIO::SaveImage(rg.c_str(), Filled(cFormat::Rg8, 2, 2)));
    EXPECT_EQ(watch.Since(), "Can't encode image \"" + pvr + "\"\r\nCan't encode image \"" + rg + "\"\r\n");
    EXPECT_FALSE(iotest::Exists(pvr) || iotest::Exists(rg));
    // An image encoder that wrote nothing succeeds without a file.
    cIO::AddCodec("SilentSave", new SilentCodec);
    EXPECT_TRUE(cIO::SaveImage(tree.Path("x.SilentSave").c_str(), rgb));
    EXPECT_FALSE(iotest::Exists(tree.Path("x.SilentSave")));
    EXPECT_TRUE(cIO::SaveImage(tga.c_str(), rgb));
    EXPECT_EQ(testsupport::ReadFile(tga).size(), 18u + 48);
}

TEST(CodecRegistry, ModelAnimationAndCameraFilesFollowTheSameRules) {
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.Folder("program"), "");  // the files lie outside it
    cIO::AddCodec("RegModel", new ModelStub("model bytes"));
    cIO::AddCodec("RegModelIn", new ModelStub(nullptr));
    cIO::AddCodec("RegEmpty", new ModelStub(""));
    cIO::AddCodec("RegAnim", new AnimStub("anim bytes"));
    cIO::AddCodec("RegCamera", new CameraStub("camera bytes"));
    const cModel& model = *Opaque<cModel>();
    std::string saved = tree.Path("m.regmodel"), readOnly = tree.Path("m.RegModelIn"), empty = tree.Path("m.RegEmpty");
    std::string missing = tree.Path("n.RegModel"), anim = tree.Path("a.RegAnim"), camera = tree.Path("c.RegCamera");
    std::string bad = tree.File("b.RegCamera", "");
    LogWatch watch;
    EXPECT_TRUE(cIO::SaveModel(saved.c_str(), model));
    EXPECT_EQ(testsupport::ReadFile(saved), "model bytes");
    EXPECT_FALSE(cIO::SaveModel(readOnly.c_str(), model));
    EXPECT_FALSE(cIO::SaveModel(empty.c_str(), model));  // no bytes: false for every kind but images
    EXPECT_FALSE(cIO::SaveModel(tree.Path("m").c_str(), model));
    EXPECT_FALSE(iotest::Exists(readOnly) || iotest::Exists(empty));
    EXPECT_TRUE(cIO::LoadModel(saved.c_str(), Opaque<cModel>()));
    EXPECT_FALSE(cIO::LoadModel(missing.c_str(), Opaque<cModel>()));
    EXPECT_TRUE(cIO::SaveAnim(anim.c_str(), *Opaque<cAnim>()) && cIO::LoadAnim(anim.c_str(), Opaque<cAnim>()));
    EXPECT_TRUE(cIO::SaveCamera(camera.c_str(), *Opaque<cCamera>()) &&
                cIO::LoadCamera(camera.c_str(), Opaque<cCamera>()));
    EXPECT_FALSE(cIO::LoadCamera(bad.c_str(), Opaque<cCamera>()));
    EXPECT_EQ(watch.Since(), "Can't encode model file \"" + readOnly + "\"\r\nLoaded model file \"" + saved +
                                 "\"\r\nCan't load model file \"" + missing + "\"\r\nLoaded animation file \"" + anim +
                                 "\"\r\nLoaded camera file \"" + camera + "\"\r\nCan't decode camera file \"" + bad +
                                 "\"\r\n");
}

// Callers read why a load or save failed from the registry, not from the log.
TEST(CodecRegistry, TheFailureReasonSaysWhyALoadOrSaveFailed) {
    using F = cIO::CodecFailure;
    iotest::TempTree tree;
    iotest::ProgramFolderScope scope(tree.Folder("program"), "");
    std::string good = tree.File("good.tga", TgaBytes()), bad = tree.File("bad.tga", "not an image");
    std::string png = tree.File("x.png", TgaBytes()), noFolder = tree.Path("none/out.tga");
    cImage image, rgb = Filled(cFormat::Rgb8, 2, 2), rg = Filled(cFormat::Rg8, 2, 2);
    struct {
        std::function<bool()> call;
        F::Enum               reason;
    } rows[] = {
        {[&] { return cIO::LoadImage(good.c_str(), &image); }, F::NoFailure},
        {[&] { return cIO::LoadImage(tree.Path("missing.tga").c_str(), &image); }, F::CantLoad},
        {[&] { return cIO::LoadImage(bad.c_str(), &image); }, F::CantDecode},
        {[&] { return cIO::LoadImage(png.c_str(), &image); }, F::NoCodec},
        {[&] { return cIO::SaveImage(tree.Path("out.png").c_str(), rgb); }, F::NoCodec},
        {[&] { return cIO::SaveImage(tree.Path("out.bmp").c_str(), rg); }, F::CantEncode},
        {[&] { return cIO::SaveImage(noFolder.c_str(), rgb); }, F::CantSave},
        {[&] { return cIO::SaveImage(tree.Path("out.tga").c_str(), rgb); }, F::NoFailure},
    };
    int row = 0;
    for (auto& r : rows) {
        EXPECT_EQ(r.reason == F::NoFailure, r.call()) << row;
        EXPECT_EQ(r.reason, cIO::GetCodecFailure()) << row;
        EXPECT_EQ(r.reason == F::NoFailure, *cIO::GetCodecFailureReason() == 0) << row++;
    }
}
