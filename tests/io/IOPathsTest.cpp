// Paths, redirection, folders, permissions, removal, times and devices of cIO, on real trees under /tmp.
#include <gtest/gtest.h>

#include <sys/time.h>
#include <unistd.h>

#include <cctype>

#include "io/TempTree.h"

using namespace iotest;
using zozud::cIO;
using zozud::cStr;

namespace {

std::string Resolve(const std::string& path) { return cIO::EnsureAbsolutePath(path.c_str()).ToChar(); }

// The path after ReplaceReadPath, or "" when it was not redirected.
std::string Redirected(const std::string& path) {
    cStr p(path.c_str());
    return cIO::ReplaceReadPath(&p) ? p.ToChar() : "";
}

}  // namespace

TEST(IOPaths, ResolutionCorrectsLetterCaseInEveryVariant) {
    TempTree t{"tmp/Data/x.txt", "mixed/Item/inner.txt", "mixed/item"};  // "Item" a folder, "item" a file
    const std::string expected = t.Path("tmp/Data/x.txt");
    for (unsigned mask = 0; mask < (1u << 7); mask++) {
        std::string letters = "tmpdata";
        for (int i = 0; i < 7; i++) letters[i] = mask & (1u << i) ? (char)toupper(letters[i]) : letters[i];
        std::string asked = t.root + "/" + letters.substr(0, 3) + "/" + letters.substr(3) + "/x.txt";
        ASSERT_EQ(Resolve(asked), expected) << asked;
    }
    EXPECT_EQ(Resolve(t.root + "\\TMP\\\\data/X.TXT"), expected) << "back slashes and doubled separators";
    EXPECT_EQ(Resolve(t.root + "/TMP/DATA/NewFile.TXT"), t.Path("tmp/Data/NewFile.TXT")) << "no match: as written";
    EXPECT_EQ(Resolve(t.root + "/Nothing/TMP/Data"), t.root + "/Nothing/TMP/Data") << "below a missing piece too";
    EXPECT_EQ(Resolve(t.root + "/TMP/../tmp/./DATA"), t.root + "/tmp/../tmp/./Data");
    EXPECT_EQ(Resolve("\\"), "/");

    EXPECT_EQ(Resolve(t.root + "/MIXED/ITEM"), t.Path("mixed/item")) << "the last piece takes the file";
    EXPECT_EQ(Resolve(t.root + "/MIXED/ITEM/Inner.TXT"), t.Path("mixed/Item/inner.txt")) << "middle pieces only folders";
    EXPECT_EQ(Resolve(t.root + "/TMP/DATA/X.TXT/y"), t.Path("tmp/Data/X.TXT/y")) << "a file is no middle piece";
}

TEST(IOPaths, RelativeHomeAndUrlForms) {
    TempTree t{"prog/Models/a.obj"};
    ProgramFolderScope scope(t.Path("prog"), "");
    EXPECT_EQ(Resolve("models\\A.OBJ"), t.Path("prog/Models/a.obj"));
    EXPECT_EQ(Resolve(""), t.Path("prog"));
    std::string home = Resolve(cIO::GetUserFolder().ToChar());
    EXPECT_EQ(Resolve("~"), home);
    EXPECT_EQ(Resolve("~/zozud-no-such-entry"), home + "/zozud-no-such-entry");
    for (const char* url : {"http://Host/A\\b", "HTTPS://x.org/", "Ftp://a/b"}) EXPECT_EQ(Resolve(url), url);
    EXPECT_EQ(Resolve("http:/x"), t.Path("prog/http:/x")) << "one slash makes no URL";
    EXPECT_TRUE(cIO::PathIsAbsolute("\\x"));
    EXPECT_FALSE(cIO::PathIsAbsolute(nullptr));
}

TEST(IOPaths, RedirectionNeedsAWriteFolderAndThePathUnderTheProgramFolder) {
    TempTree t{"prog/Data/", "prog/Write/"};
    {
        ProgramFolderScope scope(t.Path("prog"), "");
        EXPECT_EQ(Redirected(t.Path("prog/Data/a.txt")), "");
        EXPECT_FALSE(cIO::CheckReadPath("Data/a.txt"));
    }
    {
        ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
        cStr path(t.Path("PROG/data/a.txt").c_str());
        EXPECT_TRUE(cIO::CheckReadPath(path));
        EXPECT_STREQ(path, t.Path("PROG/data/a.txt").c_str()) << "unchanged by the check";
        EXPECT_EQ(Redirected(path.ToChar()), t.Path("write/Data/a.txt"));
        EXPECT_EQ(Redirected("Data/b.txt"), t.Path("write/Data/b.txt"));
        // Outside, in the write folder, or in a sibling that merely starts like the program folder.
        for (const char* outside : {"other/a.txt", "write/a.txt", "program/a.txt"})
            EXPECT_EQ(Redirected(t.Path(outside)), "") << outside;
    }
    ProgramFolderScope scope(t.Path("prog"), "Write");  // relative: inside the program folder
    EXPECT_EQ(Redirected("x/y.txt"), t.Path("prog/Write/x/y.txt"));
    EXPECT_EQ(Redirected(t.Path("prog/Write/x/y.txt")), "") << "never redirected twice";
}

TEST(IOPaths, CreatePathMakesTheFoldersOfAFileOpenToEveryone) {
    TempTree t{"prog/Models/", "blocked"};
    {
        ProgramFolderScope scope(t.Path("prog"), "");
        EXPECT_TRUE(cIO::CreatePath("MODELS/Sub/a.obj"));  // an existing folder in another case is reused
        EXPECT_TRUE(IsFolder(t.Path("prog/Models/Sub")));
        EXPECT_FALSE(Exists(t.Path("prog/Models/Sub/a.obj")) || Exists(t.Path("prog/MODELS")));
        cIO::SetDefaultSourceWriteFolder(t.Path("write").c_str());
        EXPECT_TRUE(cIO::CreatePath("Saves/slot.dat"));
        EXPECT_TRUE(IsFolder(t.Path("write/Saves")));
        EXPECT_FALSE(Exists(t.Path("prog/Saves")));
    }
    EXPECT_TRUE(cIO::CreatePath((t.root + "/abs/one/two").c_str()));  // no extension: all folders
    EXPECT_EQ(ModeOf(t.Path("abs/one/two")), 07777u);
    EXPECT_EQ(ModeOf(t.Path("abs")), 07777u);
    EXPECT_TRUE(cIO::CreatePath((t.root + "/blocked/inner").c_str()));
    EXPECT_EQ(ReadFile(t.Path("blocked")), "blocked") << "a file in the way stays a file";
}

TEST(IOPaths, PermissionsOpenFilesAndFoldersButNotThroughLinks) {
    TempTree t;
    std::string file = t.File("f.txt", "x"), target = t.File("target.txt", "t"), folder = t.Folder("dir");
    chmod(file.c_str(), 0600);
    chmod(target.c_str(), 0600);
    chmod(folder.c_str(), 0700);
    ASSERT_EQ(symlink(target.c_str(), t.Path("link").c_str()), 0);
    for (const char* p : {"f.txt", "link", "missing"}) cIO::SetFilePermissions(t.Path(p).c_str());
    cIO::SetFolderPermissions(folder.c_str());
    EXPECT_EQ(ModeOf(file), 0666u);
    EXPECT_EQ(ModeOf(folder), 07777u);
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_FALSE(Exists(t.Path("missing")));
}

TEST(IOPaths, RemovalTakesBothCopiesButNothingLinksPointTo) {
    TempTree t{"prog/a.txt", "write/a.txt", "write/only.txt", "prog/Saves/a.dat", "write/Saves/deep/c.dat",
               "tree/.hidden", "tree/sub/deeper/c.txt", "outside/keep.txt"};
    {
        ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
        EXPECT_TRUE(cIO::RemoveFile("A.TXT"));
        EXPECT_FALSE(Exists(t.Path("prog/a.txt")) || Exists(t.Path("write/a.txt")));
        EXPECT_TRUE(cIO::RemoveFile("only.txt")) << "only the write copy existed";
        EXPECT_FALSE(cIO::RemoveFile("only.txt"));
        EXPECT_TRUE(cIO::RemoveFolder("Saves", true));
        EXPECT_FALSE(Exists(t.Path("prog/Saves")) || Exists(t.Path("write/Saves")));
    }
    std::string outside = t.Path("outside/keep.txt");
    chmod(outside.c_str(), 0600);
    ASSERT_EQ(symlink(t.Path("outside").c_str(), t.Path("tree/sub/link").c_str()), 0);
    ASSERT_EQ(symlink(outside.c_str(), t.Path("tree/filelink").c_str()), 0);
    EXPECT_FALSE(cIO::RemoveFolder(t.Path("tree").c_str(), false)) << "not empty";
    EXPECT_TRUE(cIO::RemoveFolder(t.Path("TREE").c_str(), true));
    EXPECT_FALSE(Exists(t.Path("tree")));
    EXPECT_EQ(ReadFile(outside), "outside/keep.txt");
    EXPECT_EQ(ModeOf(outside), 0600u);
    EXPECT_FALSE(cIO::RemoveFolder(t.Path("tree").c_str(), true));
}

TEST(IOPaths, ChangeTimesAndDevices) {
    TempTree t{"a", "b"};
    std::string a = t.Path("a"), b = t.Path("b"), missing = t.Path("missing");
    struct timeval early[2] = {{1000000000, 0}, {1000000000, 0}}, late[2] = {{1000000001, 0}, {1000000001, 0}};
    ASSERT_EQ(utimes(a.c_str(), early) + utimes(b.c_str(), late), 0);
    EXPECT_TRUE(cIO::CompareFileChangeTimes(a.c_str(), b.c_str()));
    EXPECT_FALSE(cIO::CompareFileChangeTimes(b.c_str(), a.c_str()));
    EXPECT_FALSE(cIO::CompareFileChangeTimes(a.c_str(), a.c_str()));
    EXPECT_TRUE(cIO::CompareFileChangeTimes(missing.c_str(), a.c_str()));
    EXPECT_TRUE(cIO::CompareFileChangeTimes(b.c_str(), missing.c_str()));

    struct stat shm;
    if (stat("/dev/shm", &shm) != 0) GTEST_SKIP() << "no /dev/shm";
    bool expected = shm.st_dev != StatOf(t.root).st_dev;
    EXPECT_EQ(cIO::CheckDifferentDisks("/dev/shm/zozud-missing/x/y", t.Path("missing/z").c_str()), expected)
        << "a missing path lies on the device of its deepest existing folder";
    EXPECT_FALSE(cIO::CheckDifferentDisks("/dev/shm/zozud-missing/x", "/dev/shm"));
    EXPECT_TRUE(cIO::CheckDifferentDisks("/dev/shm", "/proc/self"));
}
