// Lists that cannot grow inside decoders and memory files: the operation
// fails cleanly instead of writing past a list or "succeeding" with the
// data left out. The checks run in a child process whose sanitizer refuses
// any allocation above 1 MiB, with files small enough to be held but whose
// decoded form is larger.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <functional>
#include <string>

#include "support/Process.h"
#include "zozud/io/File.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/CodecNative.h"
#include "zozud/model/Model.h"

using namespace zozud;

namespace {

// A file of little-endian fields: u16 magic, u8 version 0, then the body.
struct Bytes {
    cList<unsigned char> data;
    void U8(int v) { data.Add((unsigned char)v); }
    void U16(int v) { U8(v & 0xff), U8(v >> 8 & 0xff); }
    void U32(int v) { U16(v & 0xffff), U16(v >> 16 & 0xffff); }
    void Zeros(int n) { data.Add(0, n); }
    Bytes(int magic, int reserve) { data.EnsureCapacity(reserve, false), U16(magic), U8(0); }
    cFile File() { cFile f; f.Set(&data, "grow.bin"); return f; }
};

// 40,000 frames of 20 bytes in the file, 36 in memory.
cFile BigCamera() {
    Bytes b(0x6363, 800100);
    b.U32(0), b.U32(1), b.U16(0), b.U32(40000);
    b.Zeros(40000 * 20);
    return b.File();
}

// 30,000 joints; one frame of 18 bytes a joint in the file, 40 in memory.
cFile BigAnim() {
    Bytes b(0x6163, 660100);
    b.U16(24), b.U16(30000);
    for (int i = 0; i < 30000; i++) b.U16(0), b.U16(0xffff);  // no name, a root
    b.U32(1);
    b.Zeros(30000 * 18 + 12);
    return b.File();
}

// 30,000 joints of 22 bytes in the file, 48 in memory; no meshes.
cFile BigModel() {
    Bytes b(0x6D63, 660100);
    b.U16(30000);
    for (int i = 0; i < 30000; i++) b.U16(0), b.U16(0), b.Zeros(18);  // no name, parent 0
    b.U16(0), b.U8(0);
    return b.File();
}

}  // namespace

TEST(DISABLED_GrowthUnderALimit, DecodersAndFilesRefuseWhatTheyCannotHold) {
    cList<unsigned char> probe;
    if (probe.SetCount(2 << 20)) GTEST_SKIP() << "no allocation limit in this build";
    struct Case { const char* what; std::function<bool()> refused; } cases[] = {
        {"camera", [] { cCamera c; return !cCodecCamera().Decode(BigCamera(), &c); }},
        {"animation", [] { cAnim a; return !cCodecAnim().Decode(BigAnim(), &a); }},
        {"model", [] { cModel m; return !cCodecModel().Decode(BigModel(), &m); }},
        {"insert into a file", [] {
             cList<unsigned char> half;
             half.SetCount(600000);
             cFile f;
             f.Set(&half, "half");
             return !f.WriteBytes(f.GetData(), 600000) && f.GetSize() == 600000;
         }},
        {"cursor past the end", [] { cFile f; return f.SetPosMutable(1500000) == 0 && f.GetSize() == 0; }},
    };
    for (auto& c : cases) EXPECT_TRUE(c.refused()) << c.what;
}

TEST(GrowthFailures, DecodersFailCleanlyWhenListsCannotGrow) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    const std::string limit = "allocator_may_return_null=1:max_allocation_size_mb=1";
    int status = -1;
    std::string out = testsupport::Shell("ASAN_OPTIONS=" + limit + " TSAN_OPTIONS=" + limit + " '" + self +
                                             "' --gtest_also_run_disabled_tests --gtest_filter='DISABLED_Growth*' 2>&1",
                                         &status);
    if (out.find("no allocation limit") != std::string::npos) GTEST_SKIP() << "no sanitizer to limit allocations";
    EXPECT_EQ(0, status) << out;
    EXPECT_NE(std::string::npos, out.find("[  PASSED  ] 1 test")) << out;
}
