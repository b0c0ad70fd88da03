// cIO::LoadImageDialog over a stand-in for the shell's file chooser: what the
// chooser is opened with, and what the facade keeps of the answer.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "zozud/io/IO.h"

using namespace zozud;

namespace {

std::string s_Preselected, s_Answer, s_Extensions;

bool Chooser(const char*, const cList<cStr>& extensions, cStr* file) {
    s_Preselected = file->ToChar();
    s_Extensions.clear();
    for (const cStr& e : extensions) s_Extensions += std::string(e.ToChar()) + " ";
    for (char& ch : s_Extensions) ch = (char)tolower((unsigned char)ch);
    if (s_Answer.empty()) return false;
    *file = s_Answer.c_str();
    return true;
}

}  // namespace

TEST(ImageDialog, OpensAtTheInitialFileAndKeepsTheAnswer) {
    cIO::ShellHooks hooks;
    hooks.loadFileDialog = Chooser;
    cIO::SetShellHooks(hooks);
    struct Case {
        const char *path, *file, *answer, *preselected, *newPath, *newFile;  // answer "": cancelled
    } cases[] = {
        {"Textures", "", "/data/Rock.tga", "Textures/", "/data/", "Rock.tga"},
        {"Textures\\Particles", "a.tga", "/data/sub\\New.bmp", "Textures/Particles/a.tga", "/data/sub/", "New.bmp"},
        {"", "", "c.tga", "", "", "c.tga"},
        {"Textures", "kept.tga", "", "Textures/kept.tga", "Textures", "kept.tga"},
    };
    for (const Case& c : cases) {
        cIO::SetImageDialogInitialPath(c.path);
        cIO::SetImageDialogInitialFile(c.file);
        s_Answer = c.answer;
        cStr file = "untouched";
        EXPECT_EQ(cIO::LoadImageDialog(&file), *c.answer != 0);
        EXPECT_EQ(s_Preselected, c.preselected);
        EXPECT_STREQ(file, *c.answer ? (std::string(c.newPath) + c.newFile).c_str() : "untouched");
        EXPECT_STREQ(cIO::GetImageDialogInitialPath(), c.newPath);
        EXPECT_STREQ(cIO::GetImageDialogInitialFile(), c.newFile);
    }
    EXPECT_NE(s_Extensions.find("tga "), std::string::npos);  // the image codecs' files are offered
    EXPECT_EQ(s_Extensions.find("obj "), std::string::npos);

    cIO::SetShellHooks(cIO::ShellHooks());  // without a shell there is no dialog
    cStr file = "untouched";
    EXPECT_FALSE(cIO::LoadImageDialog(&file));
    EXPECT_STREQ(file, "untouched");
    cIO::SetImageDialogInitialPath("Textures");
    cIO::SetImageDialogInitialFile("");
}
