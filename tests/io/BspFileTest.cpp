// cIO::LoadBsp and SaveBsp, and the failures a caller reads from GetCodecFailure.
#include <gtest/gtest.h>

#include <functional>

#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/math/Bsp.h"

using namespace zozud;

namespace {

struct LogWatch {
    int         mark = (cIO::GetImageCodecs(), cLog::GetLogCopy().Length());
    std::string Since() const { return cLog::GetLogCopy().ToChar() + mark; }
};

void Fill(cBsp* bsp) {
    for (int i = 0; i < 6; i++)
        bsp->AddTriangle(cVec3((float)i, 0, 0), cVec3((float)i, 1, 0), cVec3((float)i, 0, 1 + (float)i), i);
    bsp->AddTriangle(cVec3(-1, -1, 2), cVec3(9, -1, 2), cVec3(-1, 9, 2), 6);  // cuts some of the others
    bsp->Build();
}

std::string Bytes(const cBsp& bsp) {
    cList<unsigned char> bytes;
    bsp.Save(&bytes);
    return std::string(bytes.GetPtr(), bytes.GetPtr() + bytes.Count());
}

}  // namespace

TEST(BspFile, SaveAndLoadWithTheDefaultExtension) {
    iotest::TempTree tree;
    cBsp bsp, back;
    Fill(&bsp);
    LogWatch watch;
    ASSERT_TRUE(cIO::SaveBsp(tree.Path("level").c_str(), bsp));
    EXPECT_EQ(iotest::ReadFile(tree.Path("level.cBsp")), Bytes(bsp));
    ASSERT_TRUE(cIO::LoadBsp(tree.Path("level").c_str(), &back));
    EXPECT_EQ(cIO::GetCodecFailure(), cIO::CodecFailure::NoFailure);
    EXPECT_EQ(Bytes(back), Bytes(bsp));
    ASSERT_TRUE(cIO::SaveBsp(tree.Path("other.bin").c_str(), bsp));  // an extension of its own stays
    EXPECT_TRUE(cIO::LoadBsp(tree.Path("other.bin").c_str(), &back));
    EXPECT_EQ(watch.Since(), "Loaded BSP file \"" + tree.Path("level.cBsp") + "\"\r\nLoaded BSP file \"" +
                                 tree.Path("other.bin") + "\"\r\n");
}

TEST(BspFile, FailuresSayWhy) {
    using F = cIO::CodecFailure;
    iotest::TempTree tree;
    cBsp full, empty;
    Fill(&full);
    std::string whole = Bytes(full);
    std::string cut = tree.File("cut.cBsp", whole.substr(0, whole.size() - 1));
    std::string missing = tree.Path("missing.cBsp");
    cBsp target;
    struct {
        const char*           name;
        std::function<bool()> call;
        F::Enum               reason;
        std::string           log;
    } rows[] = {
        {"truncated", [&] { return cIO::LoadBsp(cut.c_str(), &target); }, F::CantDecode,
         "Can't decode BSP file \"" + cut + "\"\r\n"},
        {"missing", [&] { return cIO::LoadBsp(missing.c_str(), &target); }, F::CantLoad,
         "Can't load BSP file \"" + missing + "\"\r\n"},
        {"no tree to fill", [&] { return cIO::LoadBsp(cut.c_str(), nullptr); }, F::CantDecode, ""},
        {"empty tree: no bytes to write", [&] { return cIO::SaveBsp(tree.Path("e").c_str(), empty); }, F::CantSave, ""},
        {"no folder", [&] { return cIO::SaveBsp(tree.Path("none/x").c_str(), full); }, F::CantSave, ""},
    };
    for (auto& row : rows) {
        Fill(&target);
        LogWatch watch;
        EXPECT_FALSE(row.call()) << row.name;
        EXPECT_EQ(cIO::GetCodecFailure(), row.reason) << row.name;
        EXPECT_NE(*cIO::GetCodecFailureReason(), 0) << row.name;
        if (!row.log.empty()) { EXPECT_EQ(watch.Since(), row.log) << row.name; }
    }
    // A file that does not decode leaves the tree empty.
    Fill(&target);
    EXPECT_FALSE(cIO::LoadBsp(cut.c_str(), &target));
    EXPECT_EQ(target.GetRoot(), nullptr);
    EXPECT_FALSE(iotest::Exists(tree.Path("e.cBsp")));
}
