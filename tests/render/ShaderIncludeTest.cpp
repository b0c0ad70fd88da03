// The "#include" lines of shader sections: what replaces them, the line
// numbers that follow, and the failures, each leaving the source as it was.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "zozud/render/ShaderInclude.h"

using namespace zozud;

namespace {

const std::map<std::string, std::string> Files = {
    {"a", "A1\nA2\n"},
    {"b", "B"},  // no newline of its own
    {"nested", "#include \"a\"\n"},
};

bool Load(const cStr& name, cStr* text, void*) {
    auto found = Files.find(name.ToChar());
    if (found == Files.end()) return false;
    *text = found->second.c_str();
    return true;
}

}  // namespace

TEST(ShaderInclude, DirectivesAreReplacedAndLinesCountOn) {
    struct { const char* source; const char* expanded; const char* why; } rows[] = {
        {"x\n#include \"a\"\ny\n", "x\nA1\nA2\n#line 3\ny\n", nullptr},
        {"#include \"b\" trailing words\n#include \"a\"", "B\n#line 2\nA1\nA2\n#line 3", nullptr},
        {"#include \"nested\"\n", "#include \"a\"\n#line 2\n", nullptr},  // included text is not searched again
        {"  #include \"a\"\nx #include \"a\"\n", "  #include \"a\"\nx #include \"a\"\n", nullptr},  // not at a line's start
        {"", "", nullptr},
        {"x\n\n#include \"a\n\"\n", nullptr, "line 3: an #include without its closing quote"},
        {"#include \"\"\n", nullptr, "line 1: an #include without a name"},
        {"#include \"a\"\n#include \"gone\"\n", nullptr, "line 2: cannot load the included \"gone\""},
    };
    for (auto& r : rows) {
        cStr source(r.source), why;
        bool ok = cShaderInclude::Expand(&source, Load, nullptr, &why);
        EXPECT_EQ(r.why == nullptr, ok) << r.source;
        EXPECT_STREQ(r.expanded ? r.expanded : r.source, source.ToChar()) << r.source;
        EXPECT_STREQ(r.why ? r.why : "", why.ToChar()) << r.source;
    }
}
