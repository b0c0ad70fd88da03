// Path operations of cStr on ordinary and awkward inputs: trailing
// separators, dots in folder names, several dots, mixed separators.
#include <gtest/gtest.h>

#include <string>

#include "zozud/core/Str.h"

using namespace zozud;

namespace {

std::string Ext(const char* s) { return cStr(s).GetFileExtension().ToChar(); }
std::string Name(const char* s) { return cStr(s).GetFileName().ToChar(); }
std::string Base(const char* s) { return cStr(s).GetFileBase().ToChar(); }
std::string Path(const char* s) { return cStr(s).GetFilePath().ToChar(); }

template <class Edit>
std::string Edited(const char* s, Edit edit) {
    cStr text(s);
    edit(text);
    return text.ToChar();
}

std::string Relative(const char* path, const char* base) {
    return Edited(path, [base](cStr& s) { s.RemoveFileAbsPath(base); });
}

}  // namespace

TEST(StrPath, ExtensionIsAfterTheLastDotOfTheName) {
    EXPECT_EQ(Ext("arch.tar.gz"), "gz");
    EXPECT_EQ(Ext("dir.d/file"), "");
    EXPECT_EQ(Ext("dir.d\\file"), "");
    EXPECT_EQ(Ext("name."), "");
    EXPECT_EQ(Ext("dir.x/"), "") << "a trailing separator";
    EXPECT_EQ(Ext("dir/.hidden"), "hidden");
    EXPECT_EQ(Ext("C:\\Data\\Model.OBJ"), "OBJ");
    EXPECT_EQ(Ext("noext"), "");
    EXPECT_EQ(Ext(""), "");
}

TEST(StrPath, NameBaseAndPath) {
    EXPECT_EQ(Name("dir/sub/file.txt"), "file.txt");
    EXPECT_EQ(Name("dir\\sub\\"), "sub\\") << "the last character is never the separator";
    EXPECT_EQ(Name("file"), "file");
    EXPECT_EQ(Name("/"), "/");
    EXPECT_EQ(Name("/root"), "root");
    EXPECT_EQ(Name(""), "");

    EXPECT_EQ(Base("dir/arch.tar.gz"), "arch");
    EXPECT_EQ(Base("dir.d/file"), "file");
    EXPECT_EQ(Base("dir/.hidden"), "");
    EXPECT_EQ(Base("plain"), "plain");

    EXPECT_EQ(Path("dir/sub/file"), "dir/sub/");
    EXPECT_EQ(Path("dir\\sub\\"), "dir\\sub\\") << "ends with a separator: the whole string";
    EXPECT_EQ(Path("a\\b/c"), "a\\b/");
    EXPECT_EQ(Path("file.txt"), "");
    EXPECT_EQ(Path(""), "");
}

TEST(StrPath, RemovingParts) {
    auto removeExt = [](cStr& s) { s.RemoveFileExtension(); };
    EXPECT_EQ(Edited("dir.d/arch.tar.gz", removeExt), "dir.d/arch.tar");
    EXPECT_EQ(Edited("dir.d/file", removeExt), "dir.d/file");
    EXPECT_EQ(Edited("name.", removeExt), "name");
    EXPECT_EQ(Edited("", removeExt), "");

    auto removeName = [](cStr& s) { s.RemoveFileName(); };
    EXPECT_EQ(Edited("a/b/c.txt", removeName), "a/b/");
    EXPECT_EQ(Edited("a\\b\\", removeName), "a\\b\\");
    EXPECT_EQ(Edited("c.txt", removeName), "");

    auto removePath = [](cStr& s) { s.RemoveFilePath(); };
    EXPECT_EQ(Edited("a/b/c.txt", removePath), "c.txt");
    EXPECT_EQ(Edited("dir\\sub\\", removePath), "sub\\") << "keeps what GetFileName gives";
    EXPECT_EQ(Edited("c.txt", removePath), "c.txt");
    EXPECT_EQ(Edited("", removePath), "");

    // Without a trailing separator, path and name add up to the whole text.
    for (const char* p : {"a/b/c.txt", "x", "/x", "a//b", "dir.d/f.e", "\\\\server\\share\\f"}) {
        cStr s(p);
        EXPECT_EQ(std::string(s.GetFilePath().ToChar()) + s.GetFileName().ToChar(), p) << p;
    }
}

TEST(StrPath, SettingExtensions) {
    auto set = [](const char* ext) { return [ext](cStr& s) { s.SetFileExtension(ext); }; };
    EXPECT_EQ(Edited("a/b.txt", set("png")), "a/b.png");
    EXPECT_EQ(Edited("a/b.txt", set(".png")), "a/b.png");
    EXPECT_EQ(Edited("dir.d/file", set("x")), "dir.d/file.x");
    EXPECT_EQ(Edited("name.", set("x")), "name.x") << "a trailing dot is the old extension";
    EXPECT_EQ(Edited("arch.tar.gz", set("bz2")), "arch.tar.bz2");
    EXPECT_EQ(Edited("a/b.txt", set(nullptr)), "a/b");

    auto byDefault = [](const char* ext) { return [ext](cStr& s) { s.SetFileDefaultExtension(ext); }; };
    EXPECT_EQ(Edited("a/b", byDefault("txt")), "a/b.txt");
    EXPECT_EQ(Edited("a/b", byDefault(".txt")), "a/b.txt");
    EXPECT_EQ(Edited("a/b.c", byDefault("txt")), "a/b.c");
    EXPECT_EQ(Edited("a/b.", byDefault("txt")), "a/b.");
    EXPECT_EQ(Edited("dir.d/file", byDefault("x")), "dir.d/file.x");
}

TEST(StrPath, SettingThePath) {
    auto set = [](const char* path) { return [path](cStr& s) { s.SetFilePath(path); }; };
    EXPECT_EQ(Edited("old/dir/file.txt", set("new/place")), "new/place\\file.txt");
    EXPECT_EQ(Edited("old\\file.txt", set("new/")), "new/file.txt");
    EXPECT_EQ(Edited("old/file.txt", set("")), "file.txt");
    EXPECT_EQ(Edited("file.txt", set("a/b")), "a/b\\file.txt");

    auto byDefault = [](const char* path) { return [path](cStr& s) { s.SetFileDefaultPath(path); }; };
    EXPECT_EQ(Edited("file.txt", byDefault("base/dir")), "base/dir\\file.txt");
    EXPECT_EQ(Edited("x/file.txt", byDefault("base/dir")), "x/file.txt");
    EXPECT_EQ(Edited("sub/", byDefault("base")), "sub/");
}

TEST(StrPath, RemoveFileAbsPathWithASharedPrefix) {
    EXPECT_EQ(Relative("C:/Data/Models/a.obj", "c:/data"), "Models/a.obj");
    EXPECT_EQ(Relative("C:/Data/Models/a.obj", "c:/data/"), "Models/a.obj");
    EXPECT_EQ(Relative("/home/u/x", "/home/u/x"), "");
    EXPECT_EQ(Relative("/abs/x", ""), "abs/x") << "an empty base only drops the leading separator";
    EXPECT_EQ(Relative("/abs/x", nullptr), "abs/x");
    EXPECT_EQ(Relative("/home/user/x", "/home/us"), "er/x") << "the prefix is compared by characters";
}

TEST(StrPath, RemoveFileAbsPathClimbsOutOfUnsharedFolders) {
    EXPECT_EQ(Relative("/home/user/proj/a.txt", "/home/user/other/x"), "..\\..\\proj\\a.txt");
    EXPECT_EQ(Relative("/a/b", "/c"), "..\\a\\b");
    EXPECT_EQ(Relative("/a/b", "/a/b/c/d"), "..\\..");
    EXPECT_EQ(Relative("C:\\Data\\x", "c:/DATA/y"), "..\\x") << "case and separators do not matter";
    EXPECT_EQ(Relative("rel/path", "/other"), "..\\rel\\path");
    EXPECT_EQ(Relative("", "/base/dir"), "..\\..");
}

TEST(StrPath, AppendPathPutsOneBackslashBetween) {
    auto append = [](const char* part) { return [part](cStr& s) { s.AppendPath(part); }; };
    EXPECT_EQ(Edited("", append("a/b")), "a\\b");
    EXPECT_EQ(Edited("", append("/a")), "a");
    EXPECT_EQ(Edited("dir", append("/file")), "dir\\file");
    EXPECT_EQ(Edited("dir/", append("x/y")), "dir/x\\y") << "only the added part is converted";
    EXPECT_EQ(Edited("dir\\", append("\\x")), "dir\\x");
    EXPECT_EQ(Edited("dir", append("//x")), "dir\\\\x") << "only one leading separator is skipped";
    EXPECT_EQ(Edited("dir", append("")), "dir\\");
    EXPECT_EQ(Edited("dir", append(nullptr)), "dir\\");

    cStr self("a/b");
    self.AppendPath(self.ToChar() + 2);  // a part of its own text
    EXPECT_STREQ(self.ToChar(), "a/b\\b");

    // One byte is reserved for the separator: 18 characters no longer fit 20 bytes.
    cStr fits, moves;
    fits.AppendPath(std::string(17, 'p').c_str());
    moves.AppendPath(std::string(18, 'p').c_str());
    EXPECT_EQ(fits.Capacity(), 20);
    EXPECT_EQ(moves.Capacity(), 32);
}

TEST(StrPath, EnsureTrailingBackslash) {
    auto ensure = [](cStr& s) { s.EnsureTrailingBackslash(); };
    EXPECT_EQ(Edited("a", ensure), "a\\");
    EXPECT_EQ(Edited("a/", ensure), "a/");
    EXPECT_EQ(Edited("a\\", ensure), "a\\");
    cStr empty;
    empty.EnsureTrailingBackslash();
    EXPECT_STREQ(empty.ToChar(), "");
    EXPECT_EQ(empty.Capacity(), 0);
}
