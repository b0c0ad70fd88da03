// The process as cIO sees it, and starting other programs.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "io/TempTree.h"

using namespace iotest;
using zozud::cIO;

namespace {

std::string Str(const zozud::cStr& s) { return s.ToChar(); }

// Sets an environment variable for the life of the scope (to "" afterwards if it was unset).
struct EnvScope {
    EnvScope(const char* name, const std::string& value) : name(name), old(getenv(name) ? getenv(name) : "") {
        setenv(name, value.c_str(), 1);
    }
    ~EnvScope() { setenv(name, old.c_str(), 1); }
    const char* name;
    std::string old;
};

// Waits (at most five seconds) for a started program to leave its file.
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !Exists(path); i++) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Exists(path) ? ReadFile(path) : "<nothing>";
}

}  // namespace

TEST(IOEnvironment, VariablesFoldersAndThisProgram) {
    EnvScope var("ZOZUD_IO_TEST_VAR", "a value");
    EXPECT_EQ(Str(cIO::GetEnvironmentVariable("ZOZUD_IO_TEST_VAR")), "a value");
    EXPECT_TRUE(cIO::GetEnvironmentVariable("ZOZUD_IO_NO_SUCH_VAR").IsEmpty());
    EXPECT_TRUE(cIO::GetEnvironmentVariable(nullptr).IsEmpty());

    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    EXPECT_EQ(Str(cIO::GetThisFilePathName()), exe);
    // "tests" is no build output folder: the executable's folder is the program folder.
    EXPECT_EQ(Str(cIO::GetDefaultSourceFolder()) + "/io_tests", exe);
    EXPECT_TRUE(cIO::CheckProcessInMemory("IO_Tests"));
    EXPECT_FALSE(cIO::CheckProcessInMemory("io_test"));
    EXPECT_FALSE(cIO::CheckProcessInMemory(nullptr));

    TempTree t;
    ProgramFolderScope scope(t.root, "");
    struct statvfs fs;
    ASSERT_EQ(statvfs(t.root.c_str(), &fs), 0);
    double expected = double((unsigned long long)fs.f_bsize * fs.f_bavail >> 20);
    EXPECT_NEAR(cIO::GetDiskFreeSpace(), expected, 64.0 + expected * 0.01);  // other writers may run meanwhile
    ProgramFolderScope missing(t.Path("no/such/folder"), "");
    EXPECT_EQ(cIO::GetDiskFreeSpace(), 0.0f);
}

TEST(IOEnvironment, FileDialogsRememberAbsoluteFoldersPerKey) {
    TempTree t{"prog/Levels/"};
    ProgramFolderScope scope(t.Path("prog"), "");
    const std::string key = "open " + t.root, upper = "OPEN " + t.root;  // a new key on every run
    EXPECT_FALSE(cIO::GetFileDialogPrefExists(key.c_str()));
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder(key.c_str())), t.Path("prog"));
    cIO::SetFileDialogInitialFolder(key.c_str(), "levels");
    EXPECT_FALSE(cIO::GetFileDialogPrefExists(upper.c_str())) << "keys keep their case";
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder(key.c_str())), t.Path("prog/Levels"));
    cIO::SetFileDialogInitialFolder(key.c_str(), t.root.c_str());
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder(key.c_str())), t.root);
}

// Documents, URLs, folders and programs that fail to start go to the desktop
// opener; a fake "xdg-open" first on PATH records its arguments instead.
TEST(IOEnvironment, ProgramsRunAndEverythingElseGoesToTheOpener) {
    TempTree t;
    std::string script = t.File("bin/xdg-open", "#!/bin/sh\n"
                                                "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$ZOZUD_OPENED.tmp\"\n"
                                                "/bin/mv \"$ZOZUD_OPENED.tmp\" \"$ZOZUD_OPENED\"\n");
    chmod(script.c_str(), 0755);
    EnvScope path("PATH", t.Path("bin"));
    std::string folder = t.Folder("a folder");
    struct { const char *file, *args, *opened; } rows[] = {
        {"Manual.PDF", nullptr, "[Manual.PDF]"},
        {"https://example.org/a?b=1&c=2", nullptr, "[https://example.org/a?b=1&c=2]"},
        {"zozud-no-such-program", "--flag value", "[zozud-no-such-program][--flag][value]"},
        {nullptr, nullptr, nullptr}};  // Explore of the folder, in another letter case
    for (auto& r : rows) {
        std::string out = t.Path(std::to_string(&r - rows));
        EnvScope opened("ZOZUD_OPENED", out);
        EXPECT_TRUE(r.file ? cIO::Exec(r.file, r.args) : cIO::Explore((t.root + "/A FOLDER").c_str()));
        EXPECT_EQ(WaitForFile(out), r.opened ? r.opened : "[" + folder + "]");
    }
    std::string out = t.Path("out.txt");
    // Written aside and moved into place: the file appears whole or not at all.
    EXPECT_TRUE(cIO::Exec("/bin/sh",
                          ("-c 'printf \"%s\" \"run with args\" > " + out + ".tmp && /bin/mv " + out + ".tmp " + out + "'").c_str(),
                          true));
    EXPECT_EQ(WaitForFile(out), "run with args") << "a program runs itself with its arguments";
    EnvScope empty("PATH", t.Folder("emptybin"));  // nothing to start: false
    EXPECT_FALSE(cIO::Exec(nullptr));
    EXPECT_FALSE(cIO::Exec("zozud-no-such-program"));
    EXPECT_FALSE(cIO::Exec("paper.pdf"));
    EXPECT_FALSE(cIO::Explore(t.root.c_str()));
}
