// Path operations of cStr on awkward inputs.
#include <gtest/gtest.h>

#include <string>

#include "zozud/core/Str.h"

using namespace zozud;

TEST(StrPath, PartsOfAPath) {
    struct { const char *path, *ext, *name, *base, *folder; } rows[] = {
        {"arch.tar.gz", "gz", "arch.tar.gz", "arch", ""},
        {"dir.d/file", "", "file", "file", "dir.d/"},
        {"dir.d\\file", "", "file", "file", "dir.d\\"},
        {"name.", "", "name.", "name", ""},
        {"dir\\sub\\", "", "sub\\", nullptr, "dir\\sub\\"},
        {"dir/.hidden", "hidden", ".hidden", "", "dir/"},
        {"a\\b/c", "", "c", "c", "a\\b/"},
        {"/", "", "/", nullptr, "/"},
        {"", "", "", "", ""},
    };
    for (auto& r : rows) {
        cStr s(r.path);
        EXPECT_STREQ(s.GetFileExtension(), r.ext) << r.path;
        EXPECT_STREQ(s.GetFileName(), r.name) << r.path;
        if (r.base) { EXPECT_STREQ(s.GetFileBase(), r.base) << r.path; }
        EXPECT_STREQ(s.GetFilePath(), r.folder) << r.path;
    }
}

TEST(StrPath, EditingAPath) {
    enum Op { SetExt, DefaultExt, SetPath, DefaultPath, RemoveExt, RemoveName, RemovePath, Relative, Append, Trailing };
    struct { Op op; const char *path, *arg, *expected; } rows[] = {
        {SetExt, "a/b.txt", ".png", "a/b.png"}, {SetExt, "dir.d/file", "x", "dir.d/file.x"},
        {SetExt, "name.", "x", "name.x"}, {SetExt, "arch.tar.gz", "bz2", "arch.tar.bz2"},
        {DefaultExt, "a/b", "txt", "a/b.txt"}, {DefaultExt, "a/b.", "txt", "a/b."}, {DefaultExt, "dir.d/file", ".x", "dir.d/file.x"},
        {SetPath, "old/dir/file.txt", "new/place", "new/place\\file.txt"}, {SetPath, "old\\file.txt", "new/", "new/file.txt"},
        {SetPath, "old/file.txt", "", "file.txt"},
        {DefaultPath, "file.txt", "base/dir", "base/dir\\file.txt"}, {DefaultPath, "x/file.txt", "base", "x/file.txt"},
        {RemoveExt, "dir.d/arch.tar.gz", nullptr, "dir.d/arch.tar"}, {RemoveExt, "dir.d/file", nullptr, "dir.d/file"},
        {RemoveName, "a/b/c.txt", nullptr, "a/b/"}, {RemoveName, "a\\b\\", nullptr, "a\\b\\"},
        {RemovePath, "a/b/c.txt", nullptr, "c.txt"}, {RemovePath, "dir\\sub\\", nullptr, "sub\\"},
        {Relative, "C:/Data/Models/a.obj", "c:/data/", "Models/a.obj"}, {Relative, "/abs/x", nullptr, "abs/x"},
        {Relative, "/home/user/x", "/home/us", "er/x"}, {Relative, "/home/user/proj/a.txt", "/home/user/other/x", "..\\..\\proj\\a.txt"},
        {Relative, "/a/b", "/a/b/c/d", "..\\.."}, {Relative, "C:\\Data\\x", "c:/DATA/y", "..\\x"},
        {Relative, "rel/path", "/other", "..\\rel\\path"}, {Relative, "", "/base/dir", "..\\.."},
        {Append, "", "/a/b", "a\\b"}, {Append, "dir/", "x/y", "dir/x\\y"}, {Append, "dir\\", "\\x", "dir\\x"},
        {Append, "dir", "//x", "dir\\\\x"}, {Append, "dir", nullptr, "dir\\"},
        {Trailing, "a", nullptr, "a\\"}, {Trailing, "a/", nullptr, "a/"}, {Trailing, "", nullptr, ""},
    };
    for (auto& r : rows) {
        cStr s(r.path);
        switch (r.op) {
            case SetExt: s.SetFileExtension(r.arg); break;
            case DefaultExt: s.SetFileDefaultExtension(r.arg); break;
            case SetPath: s.SetFilePath(r.arg); break;
            case DefaultPath: s.SetFileDefaultPath(r.arg); break;
            case RemoveExt: s.RemoveFileExtension(); break;
            case RemoveName: s.RemoveFileName(); break;
            case RemovePath: s.RemoveFilePath(); break;
            case Relative: s.RemoveFileAbsPath(r.arg); break;
            case Append: s.AppendPath(r.arg); break;
            case Trailing: s.EnsureTrailingBackslash(); break;
        }
        EXPECT_STREQ(s, r.expected) << r.op << ": " << r.path << " with " << (r.arg ? r.arg : "null");
    }
    cStr self("a/b");
    self.AppendPath(self.ToChar() + 2);  // a part of its own text
    EXPECT_STREQ(self, "a/b\\b");
    cStr fits, moves;  // one byte is reserved for a separator
    fits.AppendPath(std::string(17, 'p').c_str());
    moves.AppendPath(std::string(18, 'p').c_str());
    EXPECT_EQ(fits.Capacity(), 20);
    EXPECT_EQ(moves.Capacity(), 32);
}
