// The facade's start-up in a fresh process: a copy of this test program is
// run from folders named like build output folders and reports what it
// found; in the copy, four threads make the first facade calls at once.
#include <gtest/gtest.h>

#include <pthread.h>
#include <stdlib.h>

#include <string>

#include "io/TempTree.h"
#include "zozud/core/Log.h"

using namespace iotest;
using zozud::cIO;

namespace {

pthread_barrier_t Barrier;

void* FirstCall(void* out) {
    pthread_barrier_wait(&Barrier);
    *static_cast<std::string*>(out) = cIO::GetDefaultSourceFolder().ToChar();
    return nullptr;
}

// What the copy printed for "NAME=" up to the end of that line.
std::string Field(const std::string& output, const std::string& name) {
    size_t at = output.find(name + "=");
    return at == std::string::npos ? "<missing>" : output.substr(at + name.size() + 1, output.find('\n', at) - at - name.size() - 1);
}

}  // namespace

// Only does something in a copy started by IOInit below.
TEST(IOInitChild, Report) {
    if (!getenv("ZOZUD_IO_INIT_CHILD")) GTEST_SKIP() << "runs only in a copy started by IOInit";
    std::string seen[4];
    pthread_t threads[4];
    pthread_barrier_init(&Barrier, nullptr, 4);
    for (int i = 0; i < 4; i++) pthread_create(&threads[i], nullptr, FirstCall, &seen[i]);
    for (pthread_t thread : threads) pthread_join(thread, nullptr);
    std::string log = zozud::cLog::GetLogCopy().ToChar();
    for (char& c : log) c = c == '\r' || c == '\n' ? '|' : c;
    bool agree = seen[1] == seen[0] && seen[2] == seen[0] && seen[3] == seen[0];
    printf("FOLDER=%s\nAGREE=%d\nSOURCES=%d\nLOG=%s\n", seen[0].c_str(), agree, cIO::GetSources().Count(), log.c_str());
}

TEST(IOInit, BuildOutputFoldersAreCutOffTheProgramFolder) {
    TempTree t;
    struct { const char *folder, *program, *output; } cases[] = {  // output null: no output folder
        {"app/build/Release", "app", "build/Release"},
        {"app2/RELEASE", "app2", "Release"},
        {"app3/dist/Debug/GNU-Linux-x86", "app3", "dist/Debug/GNU-Linux-x86"},
        {"app4/MyDebug", "app4/MyDebug", nullptr},
    };
    for (auto& c : cases) {
        std::string copy = t.Folder(c.folder) + "/io_tests";
        testsupport::WriteFile(copy, ReadFile("/proc/self/exe"));
        chmod(copy.c_str(), 0755);
        std::string output = testsupport::Shell("ZOZUD_IO_INIT_CHILD=1 '" + copy + "' --gtest_filter=IOInitChild.* 2>/dev/null");
        std::string program = t.Path(c.program), log = Field(output, "LOG");
        EXPECT_EQ(Field(output, "FOLDER"), program) << c.folder;
        EXPECT_EQ(Field(output, "AGREE") + Field(output, "SOURCES"), "11") << "threads agree, one source: " << c.folder;
        EXPECT_NE(log.find("Default file source is folder \"" + program + "\""), std::string::npos) << log;
        std::string running = "Program is running under output directory \"";
        EXPECT_EQ(log.find(c.output ? running + c.output + "\"|" : running) != std::string::npos, c.output != nullptr) << log;
    }
}
