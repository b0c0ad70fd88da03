// The codec registries of cIO and their load and save entry points, on real files.
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

// Loads and saves through the codec of the extension: the reason a caller
// reads and the log's message, row by row.
TEST(CodecRegistry, LoadsAndSavesByExtensionWithTheirReasonsAndMessages) {
    using F = cIO::CodecFailure;
    iotest::TempTree tree;
    std::string program = tree.Folder("program"), write = tree.Folder("write/Textures");
    iotest::ProgramFolderScope scope(program, tree.Path("write"));
    for (const char* name : {"program/Textures/a.tga", "program/Textures/b.bmp", "program/Textures/c.png", "program/d.TGA"})
        tree.File(name, TgaBytes());
    tree.File("program/Textures/bad.tga", "not an image at all");
    tree.File("program/Textures/out.bmp", "an older file the saved one hides");
    cIO::AddCodec("SilentSave", new SilentCodec);
    cImage image, rgba = Filled(cFormat::Rgba8, 4, 3), rgb = Filled(cFormat::Rgb8, 4, 4);
    auto load = [&](std::string path) { return [&image, path] { return cIO::LoadImage(path.c_str(), &image); }; };
    auto save = [](std::string path, cImage im) { return [im, path] { return cIO::SaveImage(path.c_str(), im); }; };
    const std::string pvr = tree.Path("x.cPvr"), rg = tree.Path("rg.BMP"), noFolder = tree.Path("none/out.tga");
    const struct {
        std::function<bool()> call;
        F::Enum               reason;
        std::string           log;
    } rows[] = {
        {load("Textures/a.tga"), F::NoFailure, "Loaded image file \"Textures/a.tga\""},
        {load(program + "/Textures/a.tga"), F::NoFailure, "Loaded image file \"Textures/a.tga\""},  // below the folder
        {load("d.TGA"), F::NoFailure, "Loaded image file \"d.TGA\""},
        {load("Textures/none.tga"), F::CantLoad, "Can't load image file \"Textures/none.tga\""},
        {load("Textures/bad.tga"), F::CantDecode, "Can't decode image file \"Textures/bad.tga\""},
        // Only the codec of the extension is tried; no codec gives the same message as a bad file.
        {load("Textures/b.bmp"), F::CantDecode, "Can't decode image file \"Textures/b.bmp\""},
        {load("Textures/c.png"), F::NoCodec, "Can't decode image file \"Textures/c.png\""},
        {save(tree.Path("noextension"), rgb), F::NoCodec, ""},
        {save(tree.Path("unknown.png"), rgb), F::NoCodec, ""},
        {save(pvr, rgb), F::CantEncode, "Can't encode image \"" + pvr + "\""},
        {save(rg, Filled(cFormat::Rg8, 2, 2)), F::CantEncode, "Can't encode image \"" + rg + "\""},
        {save(noFolder, rgb), F::CantSave, "Can't save file \"" + noFolder + "\""},
        {save(tree.Path("x.SilentSave"), rgb), F::NoFailure, ""},  // an encoder that wrote nothing: no file
        {save(tree.Path("ok.TGA"), rgb), F::NoFailure, ""},
        {save("Textures/out.bmp", rgba), F::NoFailure, ""},  // into the write folder
    };
    int row = 0;
    for (auto& r : rows) {
        LogWatch watch;
        EXPECT_EQ(r.reason == F::NoFailure, r.call()) << row;
        EXPECT_EQ(r.reason, cIO::GetCodecFailure()) << row;
        EXPECT_EQ(r.reason == F::NoFailure, *cIO::GetCodecFailureReason() == 0) << row;
        EXPECT_EQ(r.log.empty() ? "" : r.log + "\r\n", watch.Since()) << row++;
    }
    EXPECT_FALSE(iotest::Exists(pvr) || iotest::Exists(rg) || iotest::Exists(tree.Path("x.SilentSave")));
    EXPECT_EQ(testsupport::ReadFile(tree.Path("ok.TGA")).size(), 18u + 48);
    EXPECT_TRUE(iotest::Exists(write + "/out.bmp"));
    ASSERT_TRUE(cIO::LoadImage("Textures/out.bmp", &image));  // the write folder is searched first
    EXPECT_EQ(Buffer(image), Buffer(rgba));
    ASSERT_TRUE(cIO::LoadImage("d.TGA", &image));
    EXPECT_EQ(Buffer(image), Buffer(Filled(cFormat::Rgb8, 3, 2)));
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
