// Element names in written XML: what other XML tools refuse in a name is an
// "_xHHHH_" escape, read back to the exact name; other tools' escapes and the
// raw names of files from earlier builds are read too.
#include <gtest/gtest.h>

#include <string>

#include "support/PythonXml.h"
#include "zozud/reflect/Class.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;

namespace {

std::string Written(const char* name) {
    cXml node(name);
    node.Assign_string("v");
    cStr out;
    node.GetXMLSource(&out, 0);
    return out.ToChar();
}

// Members named as people name them, none of them a valid XML name.
class cOddNames : public cClass {
public:
    ZOZUD_CLASS(cOddNames)
    cOddNames() { CallCtor(this); }
    void CustomCtor() override { Spaced = 3, Digit = true, Colon = 0.5f, Literal = "lit"; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &Spaced, "Include Normal Maps");
        cClass_RegMember(this, "_cBool", &Digit, "3D View");
        cClass_RegMember(this, "_cFloat", &Colon, "a:b/c");
        cClass_RegMember(this, "_cStr", &Literal, "_x0041_");
        return EndRegisterMembers();
    }
    int   Spaced;
    bool  Digit;
    float Colon;
    cStr  Literal;
};

}  // namespace

TEST(XmlNames, CharactersOutsideXmlNamesAreEscapedAndReadBack) {
    struct { const char* name; const char* written; } rows[] = {
        {"Plain_name-1.2", "Plain_name-1.2"},
        {"Include Normal Maps", "Include_x0020_Normal_x0020_Maps"},
        {"3D", "_x0033_D"},                      // no digit, "-" or "." first
        {"-x", "_x002D_x"},
        {"a:b", "a_x003A_b"},                    // colons would be namespaces
        {"&c::F", "_x0026_c_x003A__x003A_F"},
        {"<a>", "_x003C_a_x003E_"},
        {"_x0041_", "_x005F_x0041_"},            // a literal escape keeps its meaning
        {"_x004_ _xZZZZ_", "_x004__x0020__xZZZZ_"},  // not escapes: "_" stays
        {"\xC3\xA9t\xC3\xA9", "_x00C3__x00A9_t_x00C3__x00A9_"},
        {"a\tb", "a_x0009_b"},
    };
    for (auto& r : rows) {
        EXPECT_EQ(std::string("<") + r.written + ">v</" + r.written + ">\n", Written(r.name)) << r.name;
        cXml back;
        ASSERT_GT(back.Load(Written(r.name).c_str()), 0) << r.name;
        EXPECT_EQ(cStr(r.name), back.GetQuoteName()) << r.name;
    }
}

TEST(XmlNames, OtherToolsEscapesAndEarlierRawNamesRead) {
    struct { const char* text; const char* name; } rows[] = {
        {"<Include Normal Maps>1</Include Normal Maps>", "Include Normal Maps"},  // earlier builds
        {"<a_x0020_b>1</a_x0020_b>", "a b"},
        {"<a_x002f_b>1</a_x002f_b>", "a/b"},                   // lower-case hex
        {"<_x0416_>1</_x0416_>", "\xD0\x96"},                  // beyond a byte: UTF-8
        {"<_x20AC_>1</_x20AC_>", "\xE2\x82\xAC"},
        {"<_x0000_>1</_x0000_>", "_x0000_"},                   // no character: kept as text
        {"<_xD800_>1</_xD800_>", "_xD800_"},
        {"<r><a_x0020_b>1</a_x0020_b></r>", "r"},
    };
    for (auto& r : rows) {
        cXml node;
        ASSERT_GT(node.Load(r.text), 0) << r.text;
        EXPECT_EQ(cStr(r.name), node.GetQuoteName()) << r.text;
    }
    cXml node;  // the closing tag repeats the name as written, not as read
    EXPECT_EQ(-1, node.Load("<a_x0020_b>1</a b>"));
    ASSERT_GT(node.Load("<r><a_x0020_b>1</a_x0020_b></r>"), 0);
    EXPECT_NE(nullptr, node.GetSubQuote("a b"));
}

// Python's XML parser reads the file, and its tags, decoded by the usual
// convention, are the member names.
TEST(XmlNames, AnIndependentParserReadsWhatObjectsWrite) {
    cOddNames odd;
    odd.Spaced = 4, odd.Digit = false, odd.Colon = 2, odd.Literal = "text";
    cXml saved;  // the long form: every member
    odd.Save(saved, &odd, nullptr);
    testsupport::TempDir dir;
    const std::string path = dir / "odd.xml";
    ASSERT_TRUE(saved.WriteToFile(path.c_str()));
    int status = -1;
    std::string tags = testsupport::PythonXmlElements(path, true, &status);
    EXPECT_EQ(0, status) << tags;
    EXPECT_EQ("cOddNames=\nInclude Normal Maps=4\n3D View=false\na:b/c=2.000\n_x0041_=text\n", tags);

    cOddNames back;
    ASSERT_TRUE(back.ReadFromFile(path.c_str()));
    EXPECT_TRUE(back.Spaced == 4 && !back.Digit && back.Colon == 2) << back.Spaced << back.Digit << back.Colon;
    EXPECT_EQ(cStr("text"), back.Literal);
}
