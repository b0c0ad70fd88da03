// The process as cIO sees it: environment, home and cache folders, the
// executable, free space and the process check; and the dialog folders.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include <glib.h>

#include "io/TempTree.h"
#include "zozud/io/IO.h"

using iotest::ProgramFolderScope;
using iotest::TempTree;
using zozud::cIO;
using zozud::cStr;

namespace {

std::string Str(const cStr& s) { return s.ToChar(); }

std::string ExecutablePath() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return std::string(buffer, n > 0 ? n : 0);
}

}  // namespace

TEST(IOEnvironment, VariablesAndFolders) {
    setenv("ZOZUD_IO_TEST_VAR", "a value", 1);
    EXPECT_EQ(Str(cIO::GetEnvironmentVariable("ZOZUD_IO_TEST_VAR")), "a value");
    unsetenv("ZOZUD_IO_TEST_VAR");
    EXPECT_TRUE(cIO::GetEnvironmentVariable("ZOZUD_IO_TEST_VAR").IsEmpty());
    EXPECT_TRUE(cIO::GetEnvironmentVariable("").IsEmpty());
    EXPECT_TRUE(cIO::GetEnvironmentVariable(nullptr).IsEmpty());

    EXPECT_EQ(Str(cIO::GetUserFolder()), g_get_home_dir());
    EXPECT_EQ(Str(cIO::GetCacheFolder()), g_get_user_cache_dir());
}

TEST(IOEnvironment, ExecutableAndProgramFolder) {
    std::string exe = ExecutablePath();
    EXPECT_EQ(Str(cIO::GetThisFilePathName()), exe);
    ASSERT_GT(exe.size(), 9u);
    EXPECT_EQ(exe.substr(exe.size() - 9), "/io_tests");
    // "tests" is no build output folder: the executable's folder is the program folder.
    std::string folder = exe.substr(0, exe.rfind('/'));
    EXPECT_EQ(Str(cIO::GetDefaultSourceFolder()), folder);
    ASSERT_GE(cIO::GetSources().Count(), 1);
    EXPECT_EQ(Str(cIO::GetSources()[0]->GetPath()), folder);
}

TEST(IOEnvironment, DiskFreeSpaceMatchesTheFileSystem) {
    TempTree t;
    ProgramFolderScope scope(t.root, "");
    float mib = cIO::GetDiskFreeSpace();
    struct statvfs fs;
    ASSERT_EQ(statvfs(t.root.c_str(), &fs), 0);
    double expected = double((unsigned long long)fs.f_bsize * fs.f_bavail >> 20);
    EXPECT_GT(mib, 0.0f);
    EXPECT_NEAR(mib, expected, 64.0 + expected * 0.01);  // other writers may run meanwhile

    ProgramFolderScope missing(t.Path("no/such/folder"), "");
    EXPECT_EQ(cIO::GetDiskFreeSpace(), 0.0f);
}

TEST(IOEnvironment, ProcessCheckFindsThisProcessByName) {
    EXPECT_TRUE(cIO::CheckProcessInMemory("io_tests"));
    EXPECT_TRUE(cIO::CheckProcessInMemory("IO_Tests"));
    EXPECT_FALSE(cIO::CheckProcessInMemory("io_test"));
    EXPECT_FALSE(cIO::CheckProcessInMemory("zozud-no-such-process"));
    EXPECT_FALSE(cIO::CheckProcessInMemory(""));
    EXPECT_FALSE(cIO::CheckProcessInMemory(nullptr));
}

TEST(IOEnvironment, DialogFoldersHaveDefaultsAndCopyTheirArguments) {
    EXPECT_EQ(Str(cIO::GetModelAnimCameraBspDialogsInitialPath()), "Models");
    EXPECT_EQ(Str(cIO::GetSoundDialogInitialPath()), "Sounds");
    EXPECT_EQ(Str(cIO::GetImageDialogInitialPath()), "Textures");
    EXPECT_EQ(Str(cIO::GetXmlDialogInitialPath()), "Xmls");
    EXPECT_TRUE(cIO::GetImageDialogInitialFile().IsEmpty());

    char buffer[] = "Art/Pics";
    cIO::SetImageDialogInitialPath(buffer);
    buffer[0] = 'X';
    EXPECT_EQ(Str(cIO::GetImageDialogInitialPath()), "Art/Pics");
    cIO::SetImageDialogInitialFile("a.tga");
    cIO::SetSoundDialogInitialFile("s.wav");
    cIO::SetXmlDialogInitialFile("x.xml");
    EXPECT_EQ(Str(cIO::GetImageDialogInitialFile()), "a.tga");
    EXPECT_EQ(Str(cIO::GetSoundDialogInitialFile()), "s.wav");
    EXPECT_EQ(Str(cIO::GetXmlDialogInitialFile()), "x.xml");
    cIO::SetImageDialogInitialPath(nullptr);
    EXPECT_TRUE(cIO::GetImageDialogInitialPath().IsEmpty());
    cIO::SetModelAnimCameraBspDialogsInitialPath("Meshes");
    EXPECT_EQ(Str(cIO::GetModelAnimCameraBspDialogsInitialPath()), "Meshes");
    cIO::SetModelAnimCameraBspDialogsInitialPath("Models");
    cIO::SetImageDialogInitialPath("Textures");
    cIO::SetImageDialogInitialFile(nullptr);
    cIO::SetSoundDialogInitialFile(nullptr);
    cIO::SetXmlDialogInitialFile(nullptr);
}

TEST(IOEnvironment, FileDialogPreferencesRememberAbsoluteFoldersPerKey) {
    TempTree t;
    t.Folder("prog/Levels");
    ProgramFolderScope scope(t.Path("prog"), "");
    EXPECT_FALSE(cIO::GetFileDialogPrefExists("zozud.test.open"));
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder("zozud.test.open")), t.Path("prog"));

    cIO::SetFileDialogInitialFolder("zozud.test.open", "levels");
    EXPECT_TRUE(cIO::GetFileDialogPrefExists("zozud.test.open"));
    EXPECT_FALSE(cIO::GetFileDialogPrefExists("ZOZUD.test.open"));  // keys keep their case
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder("zozud.test.open")), t.Path("prog/Levels"));

    cIO::SetFileDialogInitialFolder("zozud.test.open", t.root.c_str());
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder("zozud.test.open")), t.root);
    cIO::SetFileDialogInitialFolder(nullptr, "Levels");
    EXPECT_TRUE(cIO::GetFileDialogPrefExists(""));
    EXPECT_EQ(Str(cIO::GetFileDialogInitialFolder(nullptr)), t.Path("prog/Levels"));
}
