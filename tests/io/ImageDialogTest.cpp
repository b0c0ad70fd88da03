// cIO::LoadImageDialog over a stand-in for the shell's file chooser: what the
// chooser is opened with, and what the facade keeps of the answer.
#include <gtest/gtest.h>

#include <string>

#include "zozud/io/IO.h"

using namespace zozud;

namespace {

std::string s_Preselected, s_Answer;
cList<cStr> s_Extensions;

bool Chooser(const char*, const cList<cStr>& extensions, cStr* file) {
    s_Preselected = file->ToChar();
    s_Extensions = extensions;
    if (s_Answer.empty()) return false;
    *file = s_Answer.c_str();
    return true;
}

bool Has(const cList<cStr>& list, const char* ext) {
    for (const cStr& e : list)
        if (cStr::CompareNoCase(e, ext) == 0) return true;
    return false;
}

}  // namespace

TEST(ImageDialog, OpensAtTheInitialFileAndKeepsTheAnswer) {
    cStr oldPath = cIO::GetImageDialogInitialPath(), oldFile = cIO::GetImageDialogInitialFile();
    cIO::ShellHooks hooks;
    hooks.loadFileDialog = Chooser;
    cIO::SetShellHooks(hooks);
    struct Case {
        const char* path;
        const char* file;
        const char* answer;
        const char* preselected;
        const char* result;     // "" when cancelled
        const char* newPath;
        const char* newFile;
    } cases[] = {
        {"Textures", "", "/data/Rock.tga", "Textures/", "/data/Rock.tga", "/data/", "Rock.tga"},
        {"Textures/", "old.dds", "/data/sub\\New.bmp", "Textures/old.dds", "/data/sub/New.bmp", "/data/sub/", "New.bmp"},
        {"Textures\\Particles", "a.tga", "relative/b.tga", "Textures/Particles/a.tga", "relative/b.tga", "relative/",
         "b.tga"},
        {"", "", "c.tga", "", "c.tga", "", "c.tga"},
        {"Textures", "kept.tga", "", "Textures/kept.tga", "", "Textures", "kept.tga"},  // cancelled: nothing changes
    };
    for (const Case& c : cases) {
        cIO::SetImageDialogInitialPath(c.path);
        cIO::SetImageDialogInitialFile(c.file);
        s_Answer = c.answer;
        cStr file = "untouched";
        bool chosen = cIO::LoadImageDialog(&file);
        EXPECT_EQ(chosen, *c.result != 0) << c.answer;
        EXPECT_EQ(s_Preselected, c.preselected);
        EXPECT_STREQ(file, chosen ? c.result : "untouched");
        EXPECT_STREQ(cIO::GetImageDialogInitialPath(), c.newPath);
        EXPECT_STREQ(cIO::GetImageDialogInitialFile(), c.newFile);
    }
    // The files offered are those of the image codecs.
    EXPECT_TRUE(Has(s_Extensions, "tga"));
    EXPECT_TRUE(Has(s_Extensions, "dds"));
    EXPECT_TRUE(Has(s_Extensions, "bmp"));
    EXPECT_FALSE(Has(s_Extensions, "obj"));

    // Without a shell there is no dialog.
    cIO::SetShellHooks(cIO::ShellHooks());
    cStr file = "untouched";
    EXPECT_FALSE(cIO::LoadImageDialog(&file));
    EXPECT_STREQ(file, "untouched");
    EXPECT_FALSE(cIO::LoadImageDialog(nullptr));
    cIO::SetImageDialogInitialPath(oldPath);
    cIO::SetImageDialogInitialFile(oldFile);
}
