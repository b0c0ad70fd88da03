// Shader sections of the OpenGL device that include a shared file: the text
// is put in place and compiles, a compiler message after it still counts
// the lines of the section, and a missing file or a broken directive fails
// the shader with a reason in the log.
#include <gtest/gtest.h>

#include "zozud/core/Log.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Render.h"
#include "zozud/render/Vertex.h"

using namespace zozud;

TEST(DeviceGLShaderInclude, IncludedTextCompilesAndFailuresAreReported) {
    const char* Fragment = "// Fragment shader\nin vec4 v_Color;\nout vec4 o_Color;\nvoid main() { o_Color = v_Color; }\n";
    struct { const char* name; const char* vertex; bool builds; const char* logged; } rows[] = {
        {"IncludeShared", "#define UI_COLOR\n#include \"UIVertex.vert\"\n", true, nullptr},
        {"IncludeThenError", "#define UI_COLOR\n#include \"UIVertex.vert\"\nnot_glsl;\n", false, "0:4("},
        {"IncludeMissing", "#include \"Missing.vert\"\n", false, "line 2: cannot load the included \"Missing.vert\""},
        {"IncludeUnclosed", "#include \"UIVertex.vert\n", false, "line 2: an #include without its closing quote"},
    };
    cStr folder(ZOZUD_BINARY_DIR "/tests/output/ShaderInclude");
    cIO::CreatePath(folder + "/Shaders/PC");
    cList<cIO::Source*>& sources = cIO::GetSourcesMutable();
    sources.Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));  // Shaders/PC/UIVertex.vert
    sources.Add(new SourceFolder(folder, ""));
    ASSERT_TRUE(cRender::Init(2));
    for (auto& r : rows) {
        cStr text = cStr::Format("// Vertex shader\n%s%s", r.vertex, Fragment);
        ASSERT_TRUE(cIO::SaveFile(cStr::Format("%s/Shaders/PC/%s.glsl", folder.ToChar(), r.name), text, text.Length()));
        const int before = cLog::GetLog().Length();
        const int id = cRender::GetShaderID(r.name, cVertex::PositionColored::FormatID);
        const cStr logged(cLog::GetLog().ToChar() + before);
        EXPECT_EQ(r.builds, id >= 0) << r.name << ": " << logged.ToChar();
        if (r.logged) {
            EXPECT_GE(logged.IndexOf(r.logged), 0) << r.name << ": " << logged.ToChar();
        }
    }
    cRender::Free();
    for (int i = 0; i < 2; i++) {
        delete sources.GetLast();
        sources.RemoveAt(sources.Count() - 1);
    }
}
