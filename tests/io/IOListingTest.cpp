// Folder listings of cIO.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/TempTree.h"

using namespace iotest;
using zozud::cIO;

namespace {

typedef std::vector<std::string> Names;

Names Sorted(const zozud::cList<zozud::cStr>& list) {
    Names out(list.begin(), list.end());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(IOListing, EntriesAreNamedUnderTheCallersFolderString) {
    TempTree t{"prog/Models/a.obj", "prog/Models/.hidden", "prog/Models/Sub/b.obj", "prog/Models/Empty/"};
    ProgramFolderScope scope(t.Path("prog"), "");
    zozud::cList<zozud::cStr> list;
    cIO::SearchFiles("models", &list, false);
    EXPECT_EQ(Sorted(list), (Names{"models/.hidden", "models/a.obj"}));
    cIO::SearchFolders("Models/", &list);
    EXPECT_EQ(Sorted(list), (Names{"Models/Empty", "Models/Sub"}));
    std::string absolute = t.Path("prog/Models");
    cIO::SearchFiles(absolute.c_str(), &list, false);
    EXPECT_EQ(Sorted(list), (Names{absolute + "/.hidden", absolute + "/a.obj"}));
    cIO::SearchFolders(nullptr, &list);
    EXPECT_EQ(Sorted(list), (Names{"Models"}));
    cIO::SearchFiles("Missing", &list, true);
    EXPECT_TRUE(list.IsEmpty()) << "a folder that can't be opened clears the list";
}

TEST(IOListing, WriteFolderEntriesAreMergedOnce) {
    TempTree t{"prog/Data/a.txt", "prog/Data/B.txt", "prog/Data/Shared/", "write/Fresh/only.txt",
               "write/Data/b.txt", "write/Data/c.txt", "write/Data/shared/", "write/Data/New/"};  // b, shared: case only
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    zozud::cList<zozud::cStr> list;
    cIO::SearchFiles("Data", &list, false);
    EXPECT_EQ(Sorted(list), (Names{"Data/B.txt", "Data/a.txt"}));
    cIO::SearchFiles("Data", &list, true);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_STREQ(list[2], "Data/c.txt") << "the program folder's entries come first";
    cIO::SearchFolders("Data", &list);
    EXPECT_EQ(Sorted(list), (Names{"Data/New", "Data/Shared"}));
    cIO::SearchFiles("Fresh", &list, true);
    EXPECT_EQ(Sorted(list), (Names{"Fresh/only.txt"})) << "a folder only in the write folder";
}

// Each folder's files come before those of its sub-folders, each sub-folder
// tree in one piece; links that loop back are not followed forever.
TEST(IOListing, RecursiveListingAndTheExtensionFilter) {
    TempTree t{"r/top.PNG", "r/a/one.tga", "r/a/deep/two.png.bak", "r/b/three.jpg", "r/b/none"};
    ASSERT_EQ(symlink(t.Path("r").c_str(), t.Path("r/b/up").c_str()), 0);
    std::string root = t.Path("r");
    zozud::cList<zozud::cStr> list;
    cIO::SearchFilesRecursive(root.c_str(), &list);
    Names got(list.begin(), list.end());
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], root + "/top.PNG");
    auto at = [&](const std::string& rel) { return std::find(got.begin(), got.end(), root + "/" + rel) - got.begin(); };
    EXPECT_EQ(at("a/deep/two.png.bak"), at("a/one.tga") + 1);
    EXPECT_EQ(std::abs(int(at("b/three.jpg") - at("b/none"))), 1);

    cIO::SearchFilesRecursive(root.c_str(), &list, "png; TGA");
    EXPECT_EQ(Sorted(list), (Names{root + "/a/one.tga", root + "/top.PNG"}));
    cIO::SearchFilesRecursive(root.c_str(), &list, "\tjpg,,bak");
    EXPECT_EQ(Sorted(list), (Names{root + "/a/deep/two.png.bak", root + "/b/three.jpg"}));
    for (const char* none : {"", " ; ,\t", (const char*)nullptr}) {
        cIO::SearchFilesRecursive(root.c_str(), &list, none);
        EXPECT_TRUE(list.IsEmpty());
    }
}
