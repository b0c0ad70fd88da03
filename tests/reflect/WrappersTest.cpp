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

// Loads text into data through the named wrapper; the pager collects messages.
struct LoadResult {
    bool ok;
    std::string messages;
};

LoadResult LoadText(const char* wrapper, const char* text, void* data, void* extra = nullptr) {
    cClass* w = Wrapper(wrapper);
    cXml node("Member");
    node.Assign_string(text);
    cErrorPager pager(false);
    bool ok = w->Load(node, data, &pager, extra);
    delete w;
    return {ok, pager.GetText().ToChar()};
}

std::string SaveText(const char* wrapper, void* data, void* extra = nullptr) {
    cClass* w = Wrapper(wrapper);
    cXml node("Member");
    w->Save(node, data, extra);
    delete w;
    return node.Get_string().ToChar();
}

}  // namespace

TEST(Wrappers, EveryKindIsRegisteredUnderItsOwnName) {
    const char* names[] = {"_cInt", "_cFloat", "_cBool", "_cStr", "_cBind", "_cImageID", "_cSeparator", "_cLabel",
                           "_cSliderI", "_cSliderF", "_cEditSliderI", "_cEditSliderF", "_cFloat2", "_cFloat3",
                           "_cFloat4", "_cColor", "_cVec2i", "_cVec3i", "_cSliderRangedI", "_cSliderRangedF",
                           "_cImageFile", "_cSoundFile", "_cModelFile", "_cAnimFile", "_cCameraFile", "_cBspFile",
                           "_cXmlFile", "_cIndex", "_cButton"};
    for (const char* name : names) {
        cClass* w = Wrapper(name);
        ASSERT_NE(nullptr, w) << name;
        EXPECT_STREQ(name, w->GetClassName());
        EXPECT_FALSE(w->CheckDirectCasting()) << name;
        EXPECT_EQ(ZOZUD_CGARB.FindClass(name), w->GetClassStorage()) << name;
        delete w;
    }
    cClass* separator = Wrapper("_cSeparator");
    EXPECT_TRUE(separator->ForceProperty());
    delete separator;
}

TEST(Wrappers, BoolIsTrueOnlyForTextStartingWithTrue) {
    bool b = false;
    for (const char* text : {"true", "  true", "trueish", "true false"}) {
        b = false;
        EXPECT_TRUE(LoadText("_cBool", text, &b).ok);
        EXPECT_TRUE(b) << text;
    }
    for (const char* text : {"True", "TRUE", "1", "", "yes", "\ttrue", "tru"}) {
        b = true;
        LoadResult r = LoadText("_cBool", text, &b);
        EXPECT_TRUE(r.ok) << text;  // never an error
        EXPECT_EQ("", r.messages);
        EXPECT_FALSE(b) << text;
    }
    b = true;
    EXPECT_EQ("true", SaveText("_cBool", &b));
    b = false;
    EXPECT_EQ("false", SaveText("_cBool", &b));
}

TEST(Wrappers, NumbersFailWithTheirMessageAndLeaveZero) {
    int i = 99;
    EXPECT_TRUE(LoadText("_cInt", "-42", &i).ok);
    EXPECT_EQ(-42, i);
    LoadResult r = LoadText("_cInt", "abc", &i);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(0, i);
    EXPECT_EQ("unable to read dword from XML: abc\n", r.messages);
    i = 5;
    EXPECT_EQ("unable to read dword from XML: \n", LoadText("_cSliderI", "", &i).messages);
    EXPECT_EQ(0, i);
    i = -2147483647 - 1;
    EXPECT_EQ("-2147483648", SaveText("_cEditSliderI", &i));

    float f = 9;
    EXPECT_TRUE(LoadText("_cFloat", "1.25", &f).ok);
    EXPECT_FLOAT_EQ(1.25f, f);
    EXPECT_TRUE(LoadText("_cSliderF", "-2.5e2", &f).ok);
    EXPECT_FLOAT_EQ(-250.0f, f);
    r = LoadText("_cEditSliderF", "x1", &f);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(0.0f, f);
    EXPECT_EQ("unable to read float from XML: x1\n", r.messages);
    f = 1234.5678f;
    EXPECT_EQ("1234.568", SaveText("_cFloat", &f));
    f = -1.5f;
    EXPECT_EQ("-1.500", SaveText("_cSliderF", &f));

    int key = 7;
    r = LoadText("_cBind", "k", &key);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(-1, key);  // a failed key binding is no key, not key 0
    EXPECT_EQ("Parsing error during \"int\" read from XML: k\n", r.messages);
    EXPECT_TRUE(LoadText("_cBind", "65", &key).ok);
    EXPECT_EQ(65, key);
    EXPECT_EQ("65", SaveText("_cBind", &key));
}

TEST(Wrappers, FloatVectorsNeedEnoughNumbers) {
    cVec3 v(9, 9, 9);
    EXPECT_TRUE(LoadText("_cFloat3", "1 2 3 4", &v).ok);  // the fourth is ignored
    EXPECT_EQ(cVec3(1, 2, 3), v);
    EXPECT_TRUE(LoadText("_cFloat3", "1,2;\t3", &v).ok);  // any separators
    EXPECT_EQ(cVec3(1, 2, 3), v);
    LoadResult r = LoadText("_cFloat3", "1 2", &v);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(cVec3(0, 0, 0), v);
    EXPECT_EQ("Parsing error during \"_cFloat3\" read from XML: 1 2\n", r.messages);
    EXPECT_FALSE(LoadText("_cFloat3", "1 x 2 3", &v).ok);

    v = cVec3(1, -2.5f, 3.14159f);
    EXPECT_EQ("1.000 -2.500 3.142", SaveText("_cFloat3", &v));

    cVec2 two(5, 5);
    EXPECT_EQ("Parsing error during \"_cFloat2\" read from XML: 3\n", LoadText("_cFloat2", "3", &two).messages);
    EXPECT_EQ(cVec2(0, 0), two);
    EXPECT_TRUE(LoadText("_cFloat2", "0.5 -0.5", &two).ok);
    EXPECT_EQ("0.500 -0.500", SaveText("_cFloat2", &two));

    cColor c(1, 1, 1, 1);
    EXPECT_EQ("Parsing error during \"_cFloat4\" read from XML: 1 2 3\n", LoadText("_cColor", "1 2 3", &c).messages);
    EXPECT_EQ(cColor(0, 0, 0, 0), c);
    EXPECT_TRUE(LoadText("_cColor", "0.25 0.5 0.75 1", &c).ok);
    EXPECT_EQ(cColor(0.25f, 0.5f, 0.75f, 1), c);
    EXPECT_EQ("0.250 0.500 0.750 1.000", SaveText("_cColor", &c));
    cVec4 four(0, 0, 0, 0);
    EXPECT_TRUE(LoadText("_cFloat4", "1 2 3 4 5", &four).ok);
    EXPECT_EQ(cVec4(1, 2, 3, 4), four);

    float ranged[3] = {7, 7, 7};
    cClass* w = Wrapper("_cSliderRangedF");
    w->CallCtor(ranged);
    EXPECT_EQ(0.0f, ranged[0]);
    EXPECT_EQ(0.0f, ranged[1]);
    EXPECT_EQ(1.0f, ranged[2]);
    delete w;
    EXPECT_EQ("0.000 0.000 1.000", SaveText("_cSliderRangedF", ranged));
}

TEST(Wrappers, IntVectorsNeedExactlyTheirCount) {
    cVec<int, 2> cell(9, 9);
    LoadResult r = LoadText("_cVec2i", "1 2 3", &cell);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(0, cell[0]);
    EXPECT_EQ(0, cell[1]);
    EXPECT_EQ("Parsing error during \"_cVec2i\" read from XML: 1 2 3\n", r.messages);
    EXPECT_TRUE(LoadText("_cVec2i", "-3 4", &cell).ok);
    EXPECT_EQ(-3, cell[0]);
    EXPECT_EQ(4, cell[1]);
    EXPECT_EQ("-3 4", SaveText("_cVec2i", &cell));
    EXPECT_FALSE(LoadText("_cVec2i", "1", &cell).ok);
    EXPECT_FALSE(LoadText("_cVec2i", "1 2 x", &cell).ok);

    int box[3] = {1, 1, 1};
    EXPECT_TRUE(LoadText("_cVec3i", "5 6 7", box).ok);
    EXPECT_EQ(7, box[2]);
    EXPECT_EQ("Parsing error during \"_cVec3i\" read from XML: 5 6\n", LoadText("_cVec3i", "5 6", box).messages);

    int ranged[3] = {4, 4, 4};
    cClass* w = Wrapper("_cSliderRangedI");
    w->CallCtor(ranged);
    delete w;
    EXPECT_EQ("0 0 1", SaveText("_cSliderRangedI", ranged));
    EXPECT_EQ("Parsing error during \"_cVec3i\" read from XML: 2\n", LoadText("_cSliderRangedI", "2", ranged).messages);
}

TEST(Wrappers, TextsLabelsAndImageIds) {
    cStr s("old");
    EXPECT_TRUE(LoadText("_cXmlFile", "Xmls/scene.xml", &s).ok);
    EXPECT_EQ(cStr("Xmls/scene.xml"), s);
    EXPECT_EQ("Xmls/scene.xml", SaveText("_cStr", &s));

    cStr label("shown");
    EXPECT_EQ("", SaveText("_cLabel", &label));  // never written with a value
    EXPECT_TRUE(LoadText("_cLabel", "from file", &label).ok);
    EXPECT_EQ(cStr(""), label);

    int image = 12;
    EXPECT_EQ("", SaveText("_cImageID", &image));
    EXPECT_TRUE(LoadText("_cImageID", "12", &image).ok);
    EXPECT_EQ(-1, image);
}

TEST(Wrappers, IndexSavesNamesAndFallsBackToTheFirstValue) {
    cEnum* kinds = ShapeKindEnum();
    unsigned kind = 7;
    EXPECT_EQ("Star", SaveText("_cIndex", &kind, kinds));
    kind = 3;  // not in the enumeration
    EXPECT_EQ("", SaveText("_cIndex", &kind, kinds));
    EXPECT_EQ("", SaveText("_cIndex", &kind, nullptr));

    for (const char* text : {"", "Unknown", "star", "Broken"}) {
        kind = 7;
        EXPECT_TRUE(LoadText("_cIndex", text, &kind, kinds).ok) << text;
        EXPECT_EQ(1u, kind) << text;  // Round, the first value
    }
    EXPECT_TRUE(LoadText("_cIndex", "Square", &kind, kinds).ok);
    EXPECT_EQ(2u, kind);

    LoadResult r = LoadText("_cIndex", "Square", &kind, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ("cEnum not assigned for type \"_cIndex\" for variable Member\n", r.messages);

    cEnum empty("TestEmptyEnum");
    EXPECT_TRUE(LoadText("_cIndex", "Anything", &kind, &empty).ok);
    EXPECT_EQ(0u, kind);
}

TEST(Wrappers, CopyAndCompatibility) {
    struct Case {
        const char* wrapper;
        const char* type;
        int size;
        bool compatible;
    };
    const Case cases[] = {
        {"_cInt", "anything", 4, true},      {"_cInt", "int", 2, false},        {"_cFloat", "float", 0, true},
        {"_cFloat", "double", 4, false},     {"_cBool", "bool", 1, true},       {"_cBool", "bool", 4, false},
        {"_cStr", "whatever", 0, true},      {"_cBind", "int", 4, true},        {"_cBind", "unsigned", 4, false},
        {"_cImageID", "int", 4, true},       {"_cFloat2", "cVec2", 8, true},    {"_cFloat2", "cVec2", 12, false},
        {"_cFloat3", "cVec3", 12, true},     {"_cFloat3", "cAngles", 12, true}, {"_cFloat3", "cVec4", 12, false},
        {"_cFloat4", "cVec4", 16, true},     {"_cColor", "cColor", 16, true},   {"_cColor", "cVec4", 16, false},
        {"_cVec2i", "cVec.int.2", 8, true},  {"_cVec3i", "cVec.int.3", 12, true}, {"_cVec3i", "cVec.int.2", 12, false},
        {"_cSliderI", "x", 4, true},         {"_cSliderF", "float", 4, true},   {"_cIndex", "unsigned", 4, true},
        {"_cImageFile", "cStr", 16, true},
    };
    for (const Case& c : cases) {
        cClass* w = Wrapper(c.wrapper);
        EXPECT_EQ(c.compatible, w->CompatibleWith(c.type, c.size)) << c.wrapper << " " << c.type << " " << c.size;
        delete w;
    }

    cVec3 a(1, 2, 3), b(0, 0, 0);
    cClass* w = Wrapper("_cFloat3");
    w->FullCopy(&b, nullptr, w, &a, nullptr, nullptr);
    EXPECT_EQ(a, b);
    delete w;
    cStr s1("copied"), s2;
    w = Wrapper("_cImageFile");
    w->FullCopy(&s2, nullptr, w, &s1, nullptr, nullptr);
    EXPECT_EQ(s1, s2);
    delete w;
    int r1[3] = {1, 2, 3}, r2[3] = {0, 0, 0};
    w = Wrapper("_cSliderRangedI");
    w->FullCopy(r2, nullptr, w, r1, nullptr, nullptr);
    EXPECT_EQ(3, r2[2]);
    delete w;
}

TEST(Wrappers, ButtonCallsTheMemberFunction) {
    RegisterTestClasses();
    cTestAll all;
    int i = all.FindElementByName("&cTestAll::Press");
    ASSERT_GE(i, 0);
    cClass* button = all.GetElementClass(i);
    EXPECT_STREQ("_cButton", button->GetClassName());
    EXPECT_TRUE(button->CheckIfFunction());
    void* data = all.GetElementPtr(i, &all);
    EXPECT_EQ(static_cast<void*>(&all), data);
    button->call(&all, data);
    button->call(&all, data);
    EXPECT_EQ(2, all.Pressed);

    cClass* copy = button->new_element();  // keeps the function
    copy->call(&all, data);
    EXPECT_EQ(3, all.Pressed);
    delete copy;

    cXml node("Press");
    EXPECT_TRUE(button->Save(node, data, nullptr));
    EXPECT_TRUE(node.Get_string().IsEmpty());
}
