// The facade's start-up in a fresh process: a copy of this test program is
// run from folders named like build output folders, and reports the program
// folder it found and the start-up lines of the core log. In the copy, four
// threads make the very first facade calls at the same time.
#include <gtest/gtest.h>

#include <pthread.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/io/IO.h"

using iotest::TempTree;
using zozud::cIO;
using zozud::cLog;

namespace {

const char* const ChildSwitch = "ZOZUD_IO_INIT_CHILD";

pthread_barrier_t Barrier;

void* FirstCall(void* out) {
    pthread_barrier_wait(&Barrier);
    *static_cast<std::string*>(out) = cIO::GetDefaultSourceFolder().ToChar();
    return nullptr;
}

std::string Executable() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return std::string(buffer, n > 0 ? n : 0);
}

// Runs a copy of this program placed in folder; returns what it printed.
std::string RunCopyIn(const std::string& folder) {
    std::string copy = folder + "/io_tests";
    {
        std::ifstream in(Executable(), std::ios::binary);
        std::ofstream out(copy, std::ios::binary);
        out << in.rdbuf();
    }
    chmod(copy.c_str(), 0755);
    std::string command = std::string(ChildSwitch) + "=1 '" + copy + "' --gtest_filter=IOInitChild.* 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

std::string Field(const std::string& output, const std::string& name) {
    size_t at = output.find(name + "=");
    if (at == std::string::npos) return "<missing>";
    at += name.size() + 1;
    return output.substr(at, output.find('\n', at) - at);
}

}  // namespace

// Only does something in a copy started by the tests below.
TEST(IOInitChild, Report) {
    if (!getenv(ChildSwitch)) GTEST_SKIP() << "runs only in a copy started by IOInit";
    const int count = 4;
    std::string seen[count];
    pthread_t threads[count];
    pthread_barrier_init(&Barrier, nullptr, count);
    for (int i = 0; i < count; i++) pthread_create(&threads[i], nullptr, FirstCall, &seen[i]);
    for (int i = 0; i < count; i++) pthread_join(threads[i], nullptr);
    pthread_barrier_destroy(&Barrier);
    bool agree = true;
    for (int i = 1; i < count; i++) agree = agree && seen[i] == seen[0];

    std::string log = cLog::GetLog().ToChar();
    for (char& c : log)
        if (c == '\r' || c == '\n') c = '|';
    printf("FOLDER=%s\nAGREE=%d\nSOURCES=%d\nLOG=%s\n", seen[0].c_str(), agree ? 1 : 0, cIO::GetSources().Count(),
           log.c_str());
}

TEST(IOInit, BuildOutputFoldersAreCutOffTheProgramFolder) {
    TempTree t;
    struct Case {
        const char* folder;
        const char* program;
        const char* output;  // null: no output folder
    } cases[] = {
        {"app/build/Release", "app", "build/Release"},
        {"app2/RELEASE", "app2", "Release"},
        {"app3/dist/Debug/GNU-Linux-x86", "app3", "dist/Debug/GNU-Linux-x86"},
        {"app4/MyDebug", "app4/MyDebug", nullptr},
        {"app5/tests", "app5/tests", nullptr},
    };
    for (const Case& c : cases) {
        std::string output = RunCopyIn(t.Folder(c.folder));
        std::string program = t.Path(c.program);
        EXPECT_EQ(Field(output, "FOLDER"), program) << c.folder;
        EXPECT_EQ(Field(output, "AGREE"), "1") << c.folder;
        EXPECT_EQ(Field(output, "SOURCES"), "1") << c.folder;
        std::string log = Field(output, "LOG");
        EXPECT_NE(log.find("Default file source is folder \"" + program + "\""), std::string::npos) << log;
        std::string running = "Program is running under output directory \"";
        if (c.output)
            EXPECT_NE(log.find(running + c.output + "\"|"), std::string::npos) << log;
        else
            EXPECT_EQ(log.find(running), std::string::npos) << log;
    }
}
