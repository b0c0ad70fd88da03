// Folder listings of cIO: naming under the caller's folder string, merging
// the write folder without duplicates, recursion and the extension filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "io/TempTree.h"
#include "zozud/io/IO.h"

using iotest::ProgramFolderScope;
using iotest::TempTree;
using zozud::cIO;
using zozud::cList;
using zozud::cStr;

namespace {

std::vector<std::string> Strings(const cList<cStr>& list) {
    std::vector<std::string> out;
    for (const cStr& s : list) out.push_back(s.ToChar());
    return out;
}

std::vector<std::string> Sorted(const cList<cStr>& list) {
    std::vector<std::string> out = Strings(list);
    std::sort(out.begin(), out.end());
    return out;
}

typedef std::vector<std::string> Names;

}  // namespace

TEST(IOListing, EntriesAreNamedUnderTheCallersFolderString) {
    TempTree t;
    t.File("prog/Models/a.obj", "a");
    t.File("prog/Models/.hidden", "h");
    t.File("prog/Models/Sub/b.obj", "b");
    t.Folder("prog/Models/Empty");
    ProgramFolderScope scope(t.Path("prog"), "");

    cList<cStr> list;
    cIO::SearchFiles("models", &list, false);
    EXPECT_EQ(Sorted(list), (Names{"models/.hidden", "models/a.obj"}));
    cIO::SearchFiles("Models/", &list, true);
    EXPECT_EQ(Sorted(list), (Names{"Models/.hidden", "Models/a.obj"}));
    cIO::SearchFolders("Models", &list);
    EXPECT_EQ(Sorted(list), (Names{"Models/Empty", "Models/Sub"}));
    std::string absolute = t.Path("prog/Models");
    cIO::SearchFiles(absolute.c_str(), &list, false);
    EXPECT_EQ(Sorted(list), (Names{absolute + "/.hidden", absolute + "/a.obj"}));
    cIO::SearchFiles("", &list, false);
    EXPECT_TRUE(list.IsEmpty());  // the program folder holds only folders
    cIO::SearchFolders(nullptr, &list);
    EXPECT_EQ(Strings(list), (Names{"Models"}));

    // A folder that can't be opened clears the list.
    cIO::SearchFiles("Missing", &list, true);
    EXPECT_TRUE(list.IsEmpty());
    cIO::SearchFiles("Models", nullptr, true);  // no list: nothing happens
}

TEST(IOListing, WriteFolderEntriesAreMergedOnce) {
    TempTree t;
    t.File("prog/Data/a.txt", "r");
    t.File("prog/Data/B.txt", "r");
    t.File("write/Data/b.txt", "w");  // the same entry in another letter case
    t.File("write/Data/c.txt", "w");
    t.Folder("prog/Data/Shared");
    t.Folder("write/Data/shared");
    t.Folder("write/Data/New");
    t.File("write/Fresh/only.txt", "w");
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));

    cList<cStr> list;
    cIO::SearchFiles("Data", &list, false);
    EXPECT_EQ(Sorted(list), (Names{"Data/B.txt", "Data/a.txt"}));
    cIO::SearchFiles("Data", &list, true);
    Names files = Strings(list);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.begin() + 2), (std::set<std::string>{"Data/B.txt", "Data/a.txt"}));
    EXPECT_EQ(files[2], "Data/c.txt");  // the program folder's entries come first
    cIO::SearchFolders("Data", &list);
    EXPECT_EQ(Sorted(list), (Names{"Data/New", "Data/Shared"}));

    // A folder that exists only in the write folder lists its files.
    cIO::SearchFiles("Fresh", &list, true);
    EXPECT_EQ(Strings(list), (Names{"Fresh/only.txt"}));
    cIO::SearchFiles("Fresh", &list, false);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(IOListing, RecursiveListingPutsEachFoldersFilesBeforeItsSubFolders) {
    TempTree t;
    t.File("r/top.txt", "t");
    t.File("r/a/one.txt", "1");
    t.File("r/a/deep/two.txt", "2");
    t.File("r/b/three.txt", "3");
    std::string root = t.Path("r");
    cList<cStr> list;
    cIO::SearchFilesRecursive(root.c_str(), &list);
    Names got = Strings(list);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], root + "/top.txt");
    auto at = [&](const std::string& rel) {
        return std::find(got.begin(), got.end(), root + "/" + rel) - got.begin();
    };
    EXPECT_LT(at("a/one.txt"), at("a/deep/two.txt"));
    EXPECT_LT(at("a/deep/two.txt"), 4);
    EXPECT_LT(at("b/three.txt"), 4);
    // Sub-folder trees stay together: "b" comes before or after the whole of "a".
    EXPECT_EQ(std::abs(int(at("a/one.txt") - at("a/deep/two.txt"))), 1);
}

TEST(IOListing, RecursiveListingSurvivesLinkLoops) {
    TempTree t;
    t.File("r/x.txt", "x");
    t.File("r/sub/y.txt", "y");
    ASSERT_EQ(symlink(t.Path("r").c_str(), t.Path("r/sub/up").c_str()), 0);
    ASSERT_EQ(symlink(t.Path("r/sub").c_str(), t.Path("r/sub/self").c_str()), 0);
    cList<cStr> list;
    cIO::SearchFilesRecursive(t.Path("r").c_str(), &list);
    EXPECT_EQ(Sorted(list), (Names{t.Path("r/sub/y.txt"), t.Path("r/x.txt")}));
}

TEST(IOListing, ExtensionFilterIgnoresCaseAndSeparators) {
    TempTree t;
    t.File("img/a.PNG", "");
    t.File("img/b.tga", "");
    t.File("img/c.png.bak", "");
    t.File("img/d.jpg", "");
    t.File("img/e", "");
    t.File("img/nested/f.Tga", "");
    std::string folder = t.Path("img");
    cList<cStr> list;
    cIO::SearchFilesRecursive(folder.c_str(), &list, "png; TGA");
    EXPECT_EQ(Sorted(list), (Names{folder + "/a.PNG", folder + "/b.tga", folder + "/nested/f.Tga"}));
    cIO::SearchFilesRecursive(folder.c_str(), &list, "\tjpg,,bak");
    EXPECT_EQ(Sorted(list), (Names{folder + "/c.png.bak", folder + "/d.jpg"}));
    cIO::SearchFilesRecursive(folder.c_str(), &list, "*.jpg");
    EXPECT_EQ(Strings(list), (Names{folder + "/d.jpg"}));
    for (const char* none : {"", " ; ,\t", (const char*)nullptr}) {
        cIO::SearchFilesRecursive(folder.c_str(), &list, none);
        EXPECT_TRUE(list.IsEmpty());
    }
}

TEST(IOListing, ZipSourcesAreAcceptedButAddNothing) {
    TempTree t;
    t.File("packs/a.cZip", "PK");
    t.File("packs/b.CZIP", "PK");
    int before = cIO::GetSources().Count();
    cIO::AddSourceZips(t.Path("packs").c_str());
    cIO::AddSourceZip(t.Path("packs/a.cZip").c_str());
    EXPECT_EQ(cIO::GetSources().Count(), before);
    EXPECT_FALSE(cIO::ExtractZip(t.Path("packs/a.cZip").c_str(), t.Path("out").c_str(), nullptr));
    EXPECT_FALSE(cIO::CreateZip(t.Path("packs").c_str(), t.Path("new.cZip").c_str(), false, nullptr));
    EXPECT_FALSE(iotest::Exists(t.Path("out")));
    EXPECT_FALSE(iotest::Exists(t.Path("new.cZip")));
}
