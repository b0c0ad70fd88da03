// Starting programs through cIO. The desktop opener is replaced by a script
// of our own, found first on PATH, that records its arguments: nothing real
// is ever opened.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "io/TempTree.h"
#include "zozud/io/IO.h"

using iotest::Exists;
using iotest::ReadAll;
using iotest::TempTree;
using zozud::cIO;

namespace {

// PATH (and where the fake opener writes) for the life of the scope.
class EnvScope {
public:
    EnvScope(const char* name, const std::string& value) : name(name) {
        const char* old = getenv(name);
        had = old != nullptr;
        if (had) oldValue = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvScope() {
        if (had) setenv(name, oldValue.c_str(), 1);
        else unsetenv(name);
    }

private:
    const char* name;
    bool        had;
    std::string oldValue;
};

// Waits (at most five seconds) for a started program to leave its file.
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !Exists(path); i++) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Exists(path) ? ReadAll(path) : "<nothing>";
}

// A fake "xdg-open" in bin/ that writes its arguments, each in brackets, to
// the file named by ZOZUD_OPENED.
std::string MakeFakeOpener(const TempTree& t) {
    std::string script = t.File("bin/xdg-open",
                                "#!/bin/sh\n"
                                "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$ZOZUD_OPENED.tmp\"\n"
                                "/bin/mv \"$ZOZUD_OPENED.tmp\" \"$ZOZUD_OPENED\"\n");
    chmod(script.c_str(), 0755);
    return t.Path("bin");
}

std::string Opened(const TempTree& t, const char* name, bool (*start)(const char*, const char*), const char* file,
                   const char* args) {
    std::string out = t.Path(name);
    EnvScope opened("ZOZUD_OPENED", out);
    if (!start(file, args)) return "<not started>";
    return WaitForFile(out);
}

bool ExecTwo(const char* file, const char* args) { return cIO::Exec(file, args); }
bool ExploreOne(const char* path, const char*) { return cIO::Explore(path); }

}  // namespace

TEST(IOExec, ProgramsRunWithTheirArguments) {
    TempTree t;
    EXPECT_TRUE(cIO::Exec("true"));
    std::string out = t.Path("out.txt");
    std::string args = "-c 'printf \"%s\" \"run with args\" > " + out + "'";
    EXPECT_TRUE(cIO::Exec("sh", args.c_str(), true));
    EXPECT_EQ(WaitForFile(out), "run with args");
    EXPECT_FALSE(cIO::Exec(""));
    EXPECT_FALSE(cIO::Exec(nullptr));
}

TEST(IOExec, DocumentsUrlsAndFailedProgramsGoToTheOpener) {
    TempTree t;
    EnvScope path("PATH", MakeFakeOpener(t));
    EXPECT_EQ(Opened(t, "pdf", ExecTwo, "Manual.PDF", nullptr), "[Manual.PDF]");
    EXPECT_EQ(Opened(t, "url", ExecTwo, "https://example.org/a?b=1&c=2", nullptr), "[https://example.org/a?b=1&c=2]");
    EXPECT_EQ(Opened(t, "prog", ExecTwo, "zozud-no-such-program", "--flag value"),
              "[zozud-no-such-program][--flag][value]");
    std::string folder = t.Folder("a folder");
    EXPECT_EQ(Opened(t, "explore", ExploreOne, (t.root + "/A FOLDER").c_str(), nullptr), "[" + folder + "]");
}

TEST(IOExec, NothingToStartGivesFalse) {
    TempTree t;
    EnvScope path("PATH", t.Folder("emptybin"));
    EXPECT_FALSE(cIO::Exec("zozud-no-such-program"));
    EXPECT_FALSE(cIO::Exec("paper.pdf"));
    EXPECT_FALSE(cIO::Explore(t.root.c_str()));
}
