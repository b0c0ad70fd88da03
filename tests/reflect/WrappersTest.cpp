// The member wrappers: value texts (loading, the failure
// messages, saving back), defaults, type compatibility and buttons.
#include <gtest/gtest.h>

#include <string>

#include "reflect/ReflectClasses.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;
using namespace reflecttest;

namespace {

// A private wrapper of the registered prototype, as a class would register it.
cClass* Wrapper(const char* name) {
    cClass* prototype = cClass_GetClassFromPalette(name);
    return prototype ? prototype->new_element() : nullptr;
}

// Loads text into data through the named wrapper; returns the result and the pager's messages.
bool LoadText(const char* wrapper, const char* text, void* data, std::string* messages = nullptr, void* extra = nullptr) {
    cClass* w = Wrapper(wrapper);
    cXml node("Member");
    node.Assign_string(text);
    cErrorPager pager(false);
    bool ok = w->Load(node, data, &pager, extra);
    if (messages) *messages = pager.GetText().ToChar();
    delete w;
    return ok;
}

std::string SaveText(const char* wrapper, void* data, void* extra = nullptr) {
    cClass* w = Wrapper(wrapper);
    cXml node("Member");
    w->Save(node, data, extra);
    delete w;
    return node.Get_string().ToChar();
}

}  // namespace

// Each row loads a text, then saves the value back: a failed load leaves zeros (or -1 for a key).
TEST(Wrappers, ValueTextsLoadSaveAndFail) {
    int i = 99, i3[3];
    float f = 9;
    bool b = false;
    cStr s("old");
    cVec2 v2;
    cVec3 v3;
    cVec4 v4;
    cColor c;
    cVec<int, 2> i2;
    unsigned kind;
    cEnum* kinds = ShapeKindEnum();
    const struct {
        const char *wrapper;
        void* data;
        const char *text, *saved, *message;
        void* extra = nullptr;
    } rows[] = {
        {"_cInt", &i, "-42", "-42", ""},
        {"_cInt", &i, "abc", "0", "unable to read dword from XML: abc\n"},
        {"_cEditSliderI", &i, "-2147483648", "-2147483648", ""},
        {"_cSliderI", &i, "", "0", "unable to read dword from XML: \n"},
        {"_cFloat", &f, "1234.5678", "1234.568", ""},
        {"_cSliderF", &f, "-2.5e2", "-250.000", ""},
        {"_cEditSliderF", &f, "x1", "0.000", "unable to read float from XML: x1\n"},
        {"_cBind", &i, "65", "65", ""},
        {"_cBind", &i, "k", "-1", "Parsing error during \"int\" read from XML: k\n"},  // no key, not key 0
        // A bool is true iff the text, after leading blanks, begins with "true"; never an error.
        {"_cBool", &b, "  true", "true", ""},    {"_cBool", &b, "trueish", "true", ""},
        {"_cBool", &b, "True", "false", ""},     {"_cBool", &b, "1", "false", ""},
        {"_cBool", &b, "\ttrue", "false", ""},   {"_cBool", &b, "", "false", ""},
        {"_cXmlFile", &s, "Xmls/scene.xml", "Xmls/scene.xml", ""},
        // Float vectors need at least their count (more are ignored, any separators do).
        {"_cFloat3", &v3, "1 2 3 4", "1.000 2.000 3.000", ""},
        {"_cFloat3", &v3, "1,2;\t3.14159", "1.000 2.000 3.142", ""},
        {"_cFloat3", &v3, "1 2", "0.000 0.000 0.000", "Parsing error during \"_cFloat3\" read from XML: 1 2\n"},
        {"_cFloat2", &v2, "3", "0.000 0.000", "Parsing error during \"_cFloat2\" read from XML: 3\n"},
        {"_cFloat4", &v4, "1 2 3 4 5", "1.000 2.000 3.000 4.000", ""},
        {"_cColor", &c, "0.25 0.5 0.75 1", "0.250 0.500 0.750 1.000", ""},
        {"_cColor", &c, "1 2 3", "0.000 0.000 0.000 0.000", "Parsing error during \"_cFloat4\" read from XML: 1 2 3\n"},
        // Integer vectors need exactly their count.
        {"_cVec2i", &i2, "-3 4", "-3 4", ""},
        {"_cVec2i", &i2, "1 2 3", "0 0", "Parsing error during \"_cVec2i\" read from XML: 1 2 3\n"},
        {"_cVec2i", &i2, "1", "0 0", "Parsing error during \"_cVec2i\" read from XML: 1\n"},
        {"_cVec3i", i3, "5 6", "0 0 0", "Parsing error during \"_cVec3i\" read from XML: 5 6\n"},
        {"_cSliderRangedI", i3, "2", "0 0 0", "Parsing error during \"_cVec3i\" read from XML: 2\n"},
        // An index: a name of the enumeration, else its first value (Round).
        {"_cIndex", &kind, "Square", "Square", "", kinds},
        {"_cIndex", &kind, "", "Round", "", kinds},
        {"_cIndex", &kind, "star", "Round", "", kinds},
        {"_cIndex", &kind, "Broken", "Round", "", kinds},  // registered with the invalid value
        {"_cIndex", &kind, "Square", "", "cEnum not assigned for type \"_cIndex\" for variable Member\n", nullptr},
    };
    for (const auto& row : rows) {
        std::string messages;
        bool ok = LoadText(row.wrapper, row.text, row.data, &messages, row.extra);
        EXPECT_EQ(*row.message == 0, ok) << row.wrapper << " " << row.text;
        EXPECT_EQ(row.message, messages) << row.wrapper << " " << row.text;
        EXPECT_EQ(row.saved, SaveText(row.wrapper, row.data, row.extra)) << row.wrapper << " " << row.text;
    }
}

TEST(Wrappers, IndexesLabelsAndImageIds) {
    unsigned kind = 3;  // not in the enumeration: an empty element, which loads as the first value
    EXPECT_EQ("", SaveText("_cIndex", &kind, ShapeKindEnum()));
    cEnum empty("TestEmptyEnum");
    EXPECT_TRUE(LoadText("_cIndex", "Anything", &kind, nullptr, &empty) && kind == 0);
    // Labels and image ids are never written with a value, and load as empty and -1.
    cStr label("shown");
    int image = 12;
    EXPECT_TRUE(SaveText("_cLabel", &label).empty() && SaveText("_cImageID", &image).empty());
    EXPECT_TRUE(LoadText("_cLabel", "from file", &label) && label.IsEmpty());
    EXPECT_TRUE(LoadText("_cImageID", "12", &image) && image == -1);
}

// Copies through every wrapper are checked by the class copy tests.
TEST(Wrappers, CompatibleTypes) {
    const struct {
        const char *wrapper, *type;
        int size;
        bool compatible;
    } cases[] = {{"_cInt", "anything", 4, true},     {"_cInt", "int", 2, false},           {"_cFloat", "double", 4, false},
                 {"_cBool", "bool", 4, false},       {"_cStr", "whatever", 0, true},       {"_cBind", "unsigned", 4, false},
                 {"_cFloat2", "cVec2", 12, false},   {"_cFloat3", "cAngles", 12, true},    {"_cColor", "cVec4", 16, false},
                 {"_cVec2i", "cVec.int.2", 8, true}, {"_cVec3i", "cVec.int.2", 12, false}, {"_cIndex", "unsigned", 4, true}};
    for (const auto& c : cases) {
        cClass* w = Wrapper(c.wrapper);
        EXPECT_EQ(c.compatible, w->CompatibleWith(c.type, c.size)) << c.wrapper << " " << c.type << " " << c.size;
        delete w;
    }
}

TEST(Wrappers, ButtonCallsTheMemberFunction) {
    RegisterTestClasses();
    cTestAll all;
    int i = all.FindElementByName("&cTestAll::Press");
    cClass* button = all.GetElementClass(i);
    ASSERT_TRUE(i >= 0 && button->CheckIfFunction());
    void* data = all.GetElementPtr(i, &all);
    EXPECT_EQ(static_cast<void*>(&all), data);
    button->call(&all, data);
    cClass* copy = button->new_element();  // keeps the function
    copy->call(&all, data);
    delete copy;
    EXPECT_EQ(2, all.Pressed);
    cXml node("Press");
    EXPECT_TRUE(button->Save(node, data, nullptr) && node.Get_string().IsEmpty());
}
