// Path resolution, write redirection, folder creation, permissions, removal
// and the time and device tests of cIO, on real folder trees under /tmp.
#include <gtest/gtest.h>

#include <sys/time.h>

#include <cctype>

#include "io/TempTree.h"
#include "zozud/io/IO.h"

using iotest::Exists;
using iotest::IsFolder;
using iotest::ModeOf;
using iotest::ProgramFolderScope;
using iotest::ReadAll;
using iotest::TempTree;
using zozud::cIO;
using zozud::cStr;

namespace {

std::string Resolve(const std::string& path) {
    return cIO::EnsureAbsolutePath(path.c_str()).ToChar();
}

// The letters of word in upper case where the bits of mask are set.
std::string CaseVariant(const std::string& word, unsigned mask) {
    std::string out = word;
    for (size_t i = 0; i < out.size(); i++)
        if (mask & (1u << i)) out[i] = (char)toupper((unsigned char)out[i]);
    return out;
}

void SetModificationTime(const std::string& path, long seconds) {
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
}

}  // namespace

TEST(IOPaths, ResolutionCorrectsLetterCaseInEveryVariant) {
    TempTree t;
    t.File("tmp/Data/x.txt", "x");
    const std::string expected = t.Path("tmp/Data/x.txt");
    for (unsigned mask = 0; mask < (1u << 7); mask++) {
        std::string letters = CaseVariant("tmpdata", mask);
        std::string asked = t.root + "/" + letters.substr(0, 3) + "/" + letters.substr(3) + "/x.txt";
        ASSERT_EQ(Resolve(asked), expected) << asked;
    }
    // Back slashes and doubled separators are accepted; "/" is written.
    EXPECT_EQ(Resolve(t.root + "\\TMP\\\\data/X.TXT"), expected);
    // A last piece that matches nothing keeps the caller's letter case.
    EXPECT_EQ(Resolve(t.root + "/TMP/DATA/NewFile.TXT"), t.Path("tmp/Data/NewFile.TXT"));
    // So do the pieces below a missing one, even where a variant exists further down.
    EXPECT_EQ(Resolve(t.root + "/Nothing/TMP/Data"), t.root + "/Nothing/TMP/Data");
    // "." and ".." stay as written.
    EXPECT_EQ(Resolve(t.root + "/TMP/../tmp/./DATA"), t.root + "/tmp/../tmp/./Data");
    EXPECT_EQ(Resolve("/"), "/");
    EXPECT_EQ(Resolve("\\"), "/");
}

TEST(IOPaths, LastPieceTakesTheFileMiddlePiecesOnlyFolders) {
    TempTree t;
    t.File("mixed/Item/inner.txt", "i");
    t.File("mixed/item", "file");
    t.File("only/thing", "file");
    // Both "Item" (folder) and "item" (file) exist; "ITEM" exists as neither.
    EXPECT_EQ(Resolve(t.root + "/MIXED/ITEM"), t.Path("mixed/item"));
    EXPECT_EQ(Resolve(t.root + "/MIXED/ITEM/Inner.TXT"), t.Path("mixed/Item/inner.txt"));
    // A file never stands for a middle piece.
    EXPECT_EQ(Resolve(t.root + "/only/THING/x"), t.root + "/only/THING/x");
    EXPECT_EQ(Resolve(t.root + "/only/THING"), t.Path("only/thing"));
}

TEST(IOPaths, RelativeHomeAndUrlForms) {
    TempTree t;
    t.File("prog/Models/a.obj", "o");
    ProgramFolderScope scope(t.Path("prog"), "");
    EXPECT_EQ(Resolve("models/A.OBJ"), t.Path("prog/Models/a.obj"));
    EXPECT_EQ(Resolve("Models\\a.obj"), t.Path("prog/Models/a.obj"));
    EXPECT_EQ(Resolve(""), t.Path("prog"));
    EXPECT_EQ(std::string(cIO::EnsureAbsolutePath(nullptr).ToChar()), t.Path("prog"));

    std::string home = cIO::GetUserFolder().ToChar();
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(Resolve("~"), Resolve(home));
    EXPECT_EQ(Resolve("~/zozud-no-such-entry"), Resolve(home) + "/zozud-no-such-entry");

    for (const char* url : {"http://Host/A\\b", "HTTPS://x.org/", "Ftp://a/b", "https://"})
        EXPECT_EQ(Resolve(url), url);
    // One slash makes no URL: a relative path in the program folder.
    EXPECT_EQ(Resolve("http:/x"), t.Path("prog/http:/x"));
    EXPECT_FALSE(zozud::cIO_PathIsURL("ftp:x"));
    EXPECT_FALSE(zozud::cIO_PathIsURL(nullptr));
    EXPECT_TRUE(cIO::PathIsAbsolute("\\x"));
    EXPECT_FALSE(cIO::PathIsAbsolute(""));
    EXPECT_FALSE(cIO::PathIsAbsolute(nullptr));
}

TEST(IOPaths, RedirectionNeedsAWriteFolderAndThePathUnderTheProgramFolder) {
    TempTree t;
    t.Folder("prog/Data");
    {
        ProgramFolderScope scope(t.Path("prog"), "");
        cStr path(t.Path("prog/Data/a.txt").c_str());
        EXPECT_FALSE(cIO::ReplaceReadPath(&path));
        EXPECT_EQ(std::string(path.ToChar()), t.Path("prog/Data/a.txt"));
        EXPECT_FALSE(cIO::CheckReadPath("Data/a.txt"));
    }
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    cStr path(t.Path("PROG/data/a.txt").c_str());
    EXPECT_TRUE(cIO::CheckReadPath(path));
    EXPECT_EQ(std::string(path.ToChar()), t.Path("PROG/data/a.txt"));  // unchanged by the check
    EXPECT_TRUE(cIO::ReplaceReadPath(&path));
    EXPECT_EQ(std::string(path.ToChar()), t.Path("write/Data/a.txt"));
    cStr relative("Data/b.txt");
    EXPECT_TRUE(cIO::ReplaceReadPath(&relative));
    EXPECT_EQ(std::string(relative.ToChar()), t.Path("write/Data/b.txt"));

    // Outside the program folder, in the write folder, or in a sibling
    // folder whose name merely starts like the program folder: unchanged.
    for (const std::string& outside : {t.Path("other/a.txt"), t.Path("write/a.txt"), t.Path("program/a.txt")}) {
        cStr p(outside.c_str());
        EXPECT_FALSE(cIO::ReplaceReadPath(&p)) << outside;
        EXPECT_EQ(std::string(p.ToChar()), outside);
    }
    EXPECT_FALSE(cIO::ReplaceReadPath(nullptr));
}

TEST(IOPaths, WriteFolderInsideTheProgramFolderIsNotRedirectedTwice) {
    TempTree t;
    t.Folder("prog/Write");
    ProgramFolderScope scope(t.Path("prog"), "Write");  // relative: below the program folder
    cStr p("x/y.txt");
    EXPECT_TRUE(cIO::ReplaceReadPath(&p));
    EXPECT_EQ(std::string(p.ToChar()), t.Path("prog/Write/x/y.txt"));
    EXPECT_FALSE(cIO::ReplaceReadPath(&p));
    EXPECT_EQ(std::string(p.ToChar()), t.Path("prog/Write/x/y.txt"));
}

TEST(IOPaths, CreatePathMakesTheFoldersOfAFileAndNotTheFile) {
    TempTree t;
    t.Folder("prog");
    {
        ProgramFolderScope scope(t.Path("prog"), "");
        EXPECT_TRUE(cIO::CreatePath("Models/Sub/a.obj"));
        EXPECT_TRUE(IsFolder(t.Path("prog/Models/Sub")));
        EXPECT_FALSE(Exists(t.Path("prog/Models/Sub/a.obj")));
        // An existing folder in another letter case is reused.
        EXPECT_TRUE(cIO::CreatePath("MODELS/sub/Deeper/b.obj"));
        EXPECT_TRUE(IsFolder(t.Path("prog/Models/Sub/Deeper")));
        EXPECT_FALSE(Exists(t.Path("prog/MODELS")));
    }
    {
        ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
        EXPECT_TRUE(cIO::CreatePath("Saves/slot.dat"));
        EXPECT_TRUE(IsFolder(t.Path("write/Saves")));
        EXPECT_FALSE(Exists(t.Path("prog/Saves")));
    }
    // Absolute, without extension: every piece is a folder.
    EXPECT_TRUE(cIO::CreatePath((t.root + "/abs/one/two").c_str()));
    EXPECT_TRUE(IsFolder(t.Path("abs/one/two")));
    // Created folders are open to everyone.
    EXPECT_EQ(ModeOf(t.Path("abs/one/two")), 07777u);
    EXPECT_EQ(ModeOf(t.Path("abs")), 07777u);
    // An existing folder changes only for a user who owns it and is not root.
    unsigned rootMode = ModeOf(t.root);
    EXPECT_TRUE(cIO::CreatePath((t.root + "/abs/x.txt").c_str()));
    EXPECT_EQ(ModeOf(t.root), geteuid() == 0 ? rootMode : 07777u);
    // A file in the way stays a file.
    t.File("blocked", "f");
    EXPECT_TRUE(cIO::CreatePath((t.root + "/blocked/inner").c_str()));
    EXPECT_EQ(ReadAll(t.Path("blocked")), "f");
}

TEST(IOPaths, PermissionsOpenFilesAndFoldersButNotThroughLinks) {
    TempTree t;
    std::string file = t.File("f.txt", "x");
    std::string target = t.File("target.txt", "t");
    chmod(file.c_str(), 0600);
    chmod(target.c_str(), 0600);
    std::string folder = t.Folder("dir");
    chmod(folder.c_str(), 0700);
    ASSERT_EQ(symlink(target.c_str(), t.Path("link").c_str()), 0);

    cIO::SetFilePermissions(file.c_str());
    cIO::SetFolderPermissions(folder.c_str());
    cIO::SetFilePermissions(t.Path("link").c_str());
    cIO::SetFilePermissions(t.Path("missing").c_str());
    EXPECT_EQ(ModeOf(file), 0666u);
    EXPECT_EQ(ModeOf(folder), 07777u);
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_FALSE(Exists(t.Path("missing")));
}

TEST(IOPaths, RemoveFileTakesBothCopies) {
    TempTree t;
    t.File("prog/a.txt", "read");
    t.File("write/a.txt", "write");
    t.File("write/only.txt", "write");
    t.File("prog/keep.txt", "keep");
    EXPECT_TRUE(cIO::RemoveFile(t.Path("prog/keep.txt").c_str()));
    EXPECT_FALSE(Exists(t.Path("prog/keep.txt")));
    EXPECT_FALSE(cIO::RemoveFile(t.Path("prog/keep.txt").c_str()));
    EXPECT_FALSE(cIO::RemoveFile(""));
    EXPECT_FALSE(cIO::RemoveFile(nullptr));

    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    EXPECT_TRUE(cIO::RemoveFile("A.TXT"));
    EXPECT_FALSE(Exists(t.Path("prog/a.txt")));
    EXPECT_FALSE(Exists(t.Path("write/a.txt")));
    EXPECT_TRUE(cIO::RemoveFile("only.txt"));  // only the write copy existed
    EXPECT_FALSE(Exists(t.Path("write/only.txt")));
    EXPECT_TRUE(IsFolder(t.Path("prog")));
}

TEST(IOPaths, RemoveFolderRecursiveTakesTheTreeButNotWhatLinksPointTo) {
    TempTree t;
    t.File("tree/a.txt", "a");
    t.File("tree/.hidden", "h");
    t.File("tree/sub/b.txt", "b");
    t.File("tree/sub/deeper/c.txt", "c");
    t.Folder("tree/empty");
    std::string outside = t.File("outside/keep.txt", "keep");
    ASSERT_EQ(symlink(t.Path("outside").c_str(), t.Path("tree/sub/link").c_str()), 0);
    ASSERT_EQ(symlink(outside.c_str(), t.Path("tree/filelink").c_str()), 0);
    chmod(outside.c_str(), 0600);

    EXPECT_FALSE(cIO::RemoveFolder(t.Path("tree").c_str(), false));  // not empty
    EXPECT_TRUE(Exists(t.Path("tree/a.txt")));
    EXPECT_TRUE(cIO::RemoveFolder(t.Path("TREE").c_str(), true));
    EXPECT_FALSE(Exists(t.Path("tree")));
    EXPECT_EQ(ReadAll(outside), "keep");
    EXPECT_EQ(ModeOf(outside), 0600u);

    t.Folder("lone");
    EXPECT_TRUE(cIO::RemoveFolder(t.Path("lone").c_str(), false));
    EXPECT_FALSE(cIO::RemoveFolder(t.Path("lone").c_str(), true));
    EXPECT_FALSE(cIO::RemoveFolder("", true));
    EXPECT_FALSE(cIO::RemoveFolder(nullptr, true));
    EXPECT_FALSE(cIO::RemoveFolder("/", true));
}

TEST(IOPaths, RemoveFolderTakesTheWriteCopyToo) {
    TempTree t;
    t.File("prog/Saves/a.dat", "a");
    t.File("write/Saves/b.dat", "b");
    t.File("write/Saves/deep/c.dat", "c");
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    EXPECT_TRUE(cIO::RemoveFolder("Saves", true));
    EXPECT_FALSE(Exists(t.Path("prog/Saves")));
    EXPECT_FALSE(Exists(t.Path("write/Saves")));
    EXPECT_TRUE(IsFolder(t.Path("write")));
}

TEST(IOPaths, CompareFileChangeTimesInWholeSeconds) {
    TempTree t;
    std::string a = t.File("a", "a"), b = t.File("b", "b");
    SetModificationTime(a, 1000000000);
    SetModificationTime(b, 1000000001);
    EXPECT_TRUE(cIO::CompareFileChangeTimes(a.c_str(), b.c_str()));
    EXPECT_FALSE(cIO::CompareFileChangeTimes(b.c_str(), a.c_str()));
    EXPECT_FALSE(cIO::CompareFileChangeTimes(a.c_str(), a.c_str()));
    std::string missing = t.Path("missing");
    EXPECT_TRUE(cIO::CompareFileChangeTimes(missing.c_str(), a.c_str()));
    EXPECT_TRUE(cIO::CompareFileChangeTimes(b.c_str(), missing.c_str()));
    EXPECT_TRUE(cIO::CompareFileChangeTimes(nullptr, a.c_str()));
}

TEST(IOPaths, CheckDifferentDisksUsesTheDeepestExistingFolder) {
    TempTree t;
    struct stat shm, work;
    if (stat("/dev/shm", &shm) != 0) GTEST_SKIP() << "no /dev/shm";
    ASSERT_EQ(stat(t.root.c_str(), &work), 0);
    bool expected = shm.st_dev != work.st_dev;
    EXPECT_EQ(cIO::CheckDifferentDisks("/dev/shm", t.root.c_str()), expected);
    EXPECT_EQ(cIO::CheckDifferentDisks("/dev/shm/zozud-missing/x/y", t.Path("missing/z").c_str()), expected);
    EXPECT_FALSE(cIO::CheckDifferentDisks("/dev/shm/zozud-missing/x", "/dev/shm"));
    EXPECT_FALSE(cIO::CheckDifferentDisks(t.Path("missing/z").c_str(), t.root.c_str()));

    // The work disk is not the tmpfs of /dev/shm on this machine.
    struct stat repo;
    ASSERT_EQ(stat(ZOZUD_SOURCE_DIR, &repo), 0);
    EXPECT_EQ(cIO::CheckDifferentDisks("/dev/shm", ZOZUD_SOURCE_DIR), shm.st_dev != repo.st_dev);
    EXPECT_TRUE(cIO::CheckDifferentDisks("/dev/shm", "/proc/self"));
}
