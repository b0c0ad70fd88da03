// Saving and loading reflected objects: the exact long and short forms,
// round trips through strings, files and copies, lists, unknown tags, bad
// values, defaults and member access by name.
#include <gtest/gtest.h>

#include <string>

#include "reflect/ReflectClasses.h"
#include "support/Process.h"
#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;
using namespace reflecttest;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

// Every member away from its default.
void Fill(cTestAll& a) {
    a.Count = -12, a.Scale = 2.25f, a.Enabled = false, a.Name = "a<b>&c", a.Key = 65, a.Image = 3, a.Caption = "shown";
    a.SliderI = 40, a.SliderF = 0.25f, a.EditI = 7, a.EditF = 0.5f;
    a.Offset = cVec2(1, 2), a.Position = cVec3(1, -2.5f, 3.14159f), a.Plane = cVec4(0, 0, 1, -4), a.Tint = cColor(1, 0.5f, 0, 1);
    a.Cell = cVec<int, 2>(3, -4), a.Box = cVec<int, 3>(1, 2, 3);
    a.RangeI[0] = 5, a.RangeI[1] = 0, a.RangeI[2] = 10, a.RangeF[0] = 0.5f, a.RangeF[1] = 0, a.RangeF[2] = 1;
    a.Texture = "Textures/a.tga", a.Model = "Models/m.obj", a.XmlFile = "Xmls/x.xml";
    a.Kind = 7, a.Inner.Depth = 9, a.Inner.Label = "in", a.m_Level = 4;
    auto* circle = new cTestCircle;
    circle->Radius = 2;
    a.Shapes.Add(circle);
    auto* square = new cTestSquare;
    square->Filled = true;
    a.Shapes.Add(square);
}

const char* LongForm =
    "<cTestAll>\n <Count>-12</Count>\n <Scale>2.250</Scale>\n <Enabled>false</Enabled>\n <Name>a&ltb&gt&c</Name>\n"
    " <Key>65</Key>\n <Image></Image>\n <Caption></Caption>\n <SliderI>40</SliderI>\n <SliderF>0.250</SliderF>\n"
    " <EditI>7</EditI>\n <EditF>0.500</EditF>\n <Offset>1.000 2.000</Offset>\n <Position>1.000 -2.500 3.142</Position>\n"
    " <Plane>0.000 0.000 1.000 -4.000</Plane>\n <Tint>1.000 0.500 0.000 1.000</Tint>\n <Cell>3 -4</Cell>\n"
    " <Box>1 2 3</Box>\n <RangeI>5 0 10</RangeI>\n <RangeF>0.500 0.000 1.000</RangeF>\n"
    " <Texture>Textures/a.tga</Texture>\n <Sound></Sound>\n <Model>Models/m.obj</Model>\n <Anim></Anim>\n"
    " <Camera></Camera>\n <Bsp></Bsp>\n <XmlFile>Xmls/x.xml</XmlFile>\n <Kind>Star</Kind>\n"
    " <Inner>\n  <Depth>9</Depth>\n  <Label>in</Label>\n </Inner>\n <Level>4</Level>\n"
    " <Shapes>\n  <cTestCircle>\n   <Size>1.000</Size>\n   <Radius>2.000</Radius>\n  </cTestCircle>\n"
    "  <cTestSquare>\n   <Size>1.000</Size>\n   <Corners>4</Corners>\n   <Filled>true</Filled>\n  </cTestSquare>\n"
    " </Shapes>\n <_x0026_cTestAll_x003A__x003A_Press></_x0026_cTestAll_x003A__x003A_Press>\n</cTestAll>\n";

const char* ShortForm =
    "<cTestAll>\n <Count>-12</Count>\n <Scale>2.250</Scale>\n <Enabled>false</Enabled>\n <Name>a&ltb&gt&c</Name>\n"
    " <Key>65</Key>\n <SliderI>40</SliderI>\n <SliderF>0.250</SliderF>\n <EditI>7</EditI>\n <EditF>0.500</EditF>\n"
    " <Offset>1.000 2.000</Offset>\n <Position>1.000 -2.500 3.142</Position>\n"
    " <Plane>0.000 0.000 1.000 -4.000</Plane>\n <Tint>1.000 0.500 0.000 1.000</Tint>\n <Cell>3 -4</Cell>\n"
    " <Box>1 2 3</Box>\n <RangeI>5 0 10</RangeI>\n <RangeF>0.500 0.000 1.000</RangeF>\n"
    " <Texture>Textures/a.tga</Texture>\n <Model>Models/m.obj</Model>\n <XmlFile>Xmls/x.xml</XmlFile>\n"
    " <Kind>Star</Kind>\n <Inner>\n  <Depth>9</Depth>\n  <Label>in</Label>\n </Inner>\n <Level>4</Level>\n"
    " <Shapes>\n  <cTestCircle>\n   <Radius>2.000</Radius>\n  </cTestCircle>\n"
    "  <cTestSquare>\n   <Filled>true</Filled>\n  </cTestSquare>\n </Shapes>\n</cTestAll>\n";

std::string Saved(cClass& object) {
    cXml root;
    object.Save(root, &object, nullptr);
    cStr out;
    root.GetXMLSource(&out, 0);
    return out.ToChar();
}

std::string ShortText(cClass& object) {
    cStr out;
    EXPECT_TRUE(object.WriteToString(&out));
    return out.ToChar();
}

// A restored object saves the long form again (which holds every value a file
// can carry); the image id and the label come back as -1 and empty.
void ExpectRestored(cTestAll& got) {
    EXPECT_EQ(LongForm, Saved(got));
    EXPECT_EQ(-1, got.Image);
    EXPECT_EQ(cStr(""), got.Caption);
    for (int i = 0; i < got.Shapes.Count(); i++) EXPECT_EQ(static_cast<cClass*>(&got.Shapes), got.Shapes[i]->GetParent());
}

}  // namespace

TEST(ClassSave, LongAndShortForms) {
    RegisterTestClasses();
    cTestAll all;
    EXPECT_EQ("<cTestAll></cTestAll>\n", ShortText(all));  // all defaults: no children
    Fill(all);
    EXPECT_EQ(LongForm, Saved(all));
    EXPECT_EQ(ShortForm, ShortText(all));
    EXPECT_EQ(LongForm, Saved(all));  // the short form leaves neither the object nor the next save changed

    // List entries survive even when every value in them is a default.
    cTestAll entries, back;
    entries.Shapes.Add(new cTestCircle);
    entries.Shapes.Add(new cTestSquare);
    std::string text = ShortText(entries);
    EXPECT_EQ("<cTestAll>\n <Shapes>\n  <cTestCircle></cTestCircle>\n  <cTestSquare></cTestSquare>\n </Shapes>\n</cTestAll>\n", text);
    ASSERT_TRUE(back.ReadFromString(cStr(text.c_str())));
    ASSERT_EQ(2, back.Shapes.Count());
    EXPECT_EQ(4, static_cast<cTestSquare*>(back.Shapes[1])->Corners);
}

TEST(ClassLoad, RoundTripsThroughStringsFilesAndCopies) {
    RegisterTestClasses();
    cTestAll source;
    Fill(source);
    for (const char* text : {LongForm, ShortForm}) {
        cTestAll fresh;
        ASSERT_TRUE(fresh.ReadFromString(cStr(text)));
        ExpectRestored(fresh);
    }
    TempDir dir;
    std::string path = dir / "all.xml";
    cTestAll fromPath, safe, fromFile, target;
    ASSERT_TRUE(source.WriteToFile(path.c_str()));
    EXPECT_EQ(ShortForm, ReadFile(path));
    ASSERT_TRUE(fromPath.ReadFromFile(path.c_str()));
    ExpectRestored(fromPath);
    ASSERT_TRUE(safe.SafeReadFromFile(path.c_str()));
    ExpectRestored(safe);
    cFile file;
    ASSERT_TRUE(source.WriteToFile(&file));
    ASSERT_TRUE(fromFile.ReadFromFile(file));
    ExpectRestored(fromFile);

    // A deep copy keeps what a file cannot; copying over other entries replaces them.
    cTestAll* copy = dynamic_cast<cTestAll*>(source.Clone());
    ASSERT_NE(nullptr, copy);
    EXPECT_TRUE(copy->Image == 3 && copy->Caption == cStr("shown") && copy->Shapes[0] != source.Shapes[0]);
    EXPECT_EQ(LongForm, Saved(*copy));
    delete copy;
    for (int i = 0; i < 3; i++) target.Shapes.Add(new cTestSquare);
    target.FullCopy(&target, nullptr, &source, &source, nullptr, nullptr);
    EXPECT_EQ(LongForm, Saved(target));
    source.FullCopy(&source, nullptr, &source, &source, nullptr, nullptr);  // onto itself: nothing
    EXPECT_EQ(LongForm, Saved(source));

    EXPECT_FALSE(fromPath.ReadFromFile((dir / "missing.xml").c_str()));
    EXPECT_FALSE(fromPath.SafeReadFromFile((dir / "missing.xml").c_str()));
    WriteFile(dir / "broken.xml", "<cTestAll><Count>5</Count>");
    EXPECT_FALSE(fromPath.SafeReadFromFile((dir / "broken.xml").c_str()));
    EXPECT_FALSE(fromPath.ReadFromString(cStr("")));
}

TEST(ClassLoad, MembersTheFileLeavesOutKeepTheirValues) {
    RegisterTestClasses();
    cTestAll all;
    all.Scale = 7;
    all.Inner.Label = "kept";
    ASSERT_TRUE(all.ReadFromString(cStr("<cTestAll><Count>9</Count><Inner><Depth>1</Depth></Inner></cTestAll>")));
    EXPECT_TRUE(all.Count == 9 && all.Scale == 7 && all.Inner.Depth == 1 && all.Inner.Label == cStr("kept"));
    EXPECT_EQ(static_cast<cClass*>(&all), all.Inner.GetParent());
    ASSERT_TRUE(all.ReadFromString(cStr("<Anything><Count>10</Count></Anything>")));  // the root's name is not checked
    EXPECT_EQ(10, all.Count);
}

TEST(ClassLoad, ListsAreEmptiedAndRefilledInFileOrder) {
    RegisterTestClasses();
    cTestAll all;
    for (int i = 0; i < 4; i++) all.Shapes.Add(new cTestCircle);
    cErrorPager pager(true);
    cXml root;
    ASSERT_GT(root.Load("<cTestAll><Shapes><cTestSquare><Corners>5</Corners></cTestSquare><cTestBogus></cTestBogus>"
                        "<cTestInner><Depth>1</Depth></cTestInner><cTestCircle><Radius>3</Radius></cTestCircle>"
                        "<cTestShape></cTestShape></Shapes></cTestAll>"),
              0);
    EXPECT_TRUE(all.Load(root, &all, &pager, nullptr));
    ASSERT_EQ(3, all.Shapes.Count());
    EXPECT_EQ(5, static_cast<cTestSquare*>(all.Shapes[0])->Corners);
    EXPECT_EQ(3.0f, static_cast<cTestCircle*>(all.Shapes[1])->Radius);
    EXPECT_STREQ("cTestShape", all.Shapes[2]->GetClassName());
    EXPECT_EQ(cStr("Unknown identifier cTestBogus of class cClassList.cTestShape.\n"  // not a shape: reported
                   "Unknown identifier cTestInner of class cClassList.cTestShape.\n"),
              pager.GetText());

    // Lists of lists as deep as the reader goes (two elements per node) save and load again.
    std::string text;
    const int deepest = cXml::MaxDepth / 2;
    for (int i = 0; i < deepest; i++) text += "<cTestNode><Value>" + std::to_string(i) + "</Value><Children>";
    for (int i = 0; i < deepest; i++) text += "</Children></cTestNode>";
    cTestNode deep, again;
    ASSERT_TRUE(deep.ReadFromString(cStr(text.c_str())));
    cStr saved;
    ASSERT_TRUE(deep.WriteToString(&saved));
    ASSERT_TRUE(again.ReadFromString(saved));
    cTestNode* walk = &again;
    while (walk->Children.Count()) walk = walk->Children[0];
    EXPECT_EQ(deepest - 1, walk->Value);
}

// A list saved as the root object keeps its entries in the short form, even
// those that hold only defaults, and reloads them in order.
TEST(ClassSave, AListAsTheRootKeepsEntriesThatHoldOnlyDefaults) {
    RegisterTestClasses();
    cClassList<cTestShape> list, back;
    list.Add(new cTestCircle);
    list.Add(new cTestSquare);
    auto* changed = new cTestCircle;
    changed->Radius = 3;
    list.Add(changed);
    cStr text;
    ASSERT_TRUE(list.WriteToString(&text));
    EXPECT_EQ(cStr("<cClassList.cTestShape>\n <cTestCircle></cTestCircle>\n <cTestSquare></cTestSquare>\n"
                   " <cTestCircle>\n  <Radius>3.000</Radius>\n </cTestCircle>\n</cClassList.cTestShape>\n"),
              text);
    ASSERT_TRUE(back.ReadFromString(text));
    ASSERT_EQ(3, back.Count());
    EXPECT_STREQ("cTestSquare", back[1]->GetClassName());
    EXPECT_EQ(3.0f, static_cast<cTestCircle*>(back[2])->Radius);
}

// Objects nested deeper than a file may hold are refused with a result and a
// log line, never written as a file that would not load again.
TEST(ClassSave, ObjectsNestedTooDeepForAFileAreRefused) {
    RegisterTestClasses();
    cTestNode root, again;
    cTestNode* at = &root;
    std::string deep;
    for (int i = 0; i < 600; i++, deep += "<cTestNode><Children>") {
        at->Children.Add(new cTestNode);
        at = at->Children[0];
    }
    int start = cLog::GetLogCopy().Length();
    cFile file;
    EXPECT_FALSE(root.WriteToFile(&file));
    EXPECT_EQ(0, file.GetSize());
    // A load that the reader refuses tells why through its pager.
    EXPECT_FALSE(again.ReadFromString(cStr(deep.c_str())));
    std::string log = cLog::GetLogCopy().ToChar() + start;
    EXPECT_NE(std::string::npos, log.find("Can't save cTestNode: objects nested deeper than the 1024 levels a file may")) << log;
    EXPECT_NE(std::string::npos, log.find("Can't read xml: elements nested deeper than 1024 levels at character 10752"));
}

TEST(ClassLoad, UnknownTagsAndBadValuesAreReportedAndTheLoadGoesOn) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    cXml root;
    // Each wrapper's own messages are in the wrapper tests; one stands for them here.
    ASSERT_GT(root.Load("<cTestAll><Bogus>1</Bogus><Count>abc</Count><Bogus>2</Bogus><count>4</count>"
                        "<Inner><Nope></Nope></Inner><Level>-5</Level><Shapes>NULL</Shapes><Name>after</Name></cTestAll>"),
              0);
    cErrorPager pager(true), silent(false);
    EXPECT_TRUE(all.Load(root, &all, &pager, nullptr));
    EXPECT_EQ(cStr("Unknown identifier Bogus of class cTestAll.\n"
                   "unable to read dword from XML: abc\n"
                   "Unknown identifier Bogus of class cTestAll.\n"
                   "Unknown identifier count of class cTestAll.\n"
                   "Unknown identifier Nope of class cTestInner.\n"),
              pager.GetText());
    EXPECT_TRUE(all.Count == 0 && all.Shapes.Count() == 0 && all.Name == cStr("after"));
    EXPECT_EQ(0, all.m_Level);  // through the setter, which clamps
    EXPECT_TRUE(all.Load(root, &all, &silent, nullptr));  // a silent pager keeps only the value messages
    EXPECT_EQ(cStr("unable to read dword from XML: abc\n"), silent.GetText());
    EXPECT_TRUE(all.Load(root, &all, nullptr, nullptr));  // no pager at all
}

TEST(ClassCtor, CallCtorResetsEveryMemberToItsDefault) {
    RegisterTestClasses();
    cTestAll all, fresh;
    Fill(all);
    all.CallDtor(&all);
    EXPECT_EQ(0, all.Shapes.Count());
    Fill(all);
    all.CallCtor(&all);
    ASSERT_EQ(2, all.Shapes.Count());  // CallCtor alone keeps the entries, reset
    EXPECT_EQ(0.5f, static_cast<cTestCircle*>(all.Shapes[0])->Radius);
    EXPECT_TRUE(all.Key == -1 && all.Image == -1 && all.Inner.Depth == 7);
    EXPECT_TRUE(all.RangeI[0] == 0 && all.RangeI[2] == 1 && all.RangeF[1] == 0 && all.RangeF[2] == 1);  // ranged sliders: 0, 0, 1
    all.Shapes.Clear();
    EXPECT_EQ(Saved(fresh), Saved(all));
}

TEST(ClassValues, FieldsByNameAndValueTexts) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    EXPECT_TRUE(all.GetIntField("Count", 99) == -12 && all.GetIntField("Level", 99) == 4 && all.GetIntField("Kind", 99) == 7);
    EXPECT_TRUE(all.GetIntField("Missing", 99) == 99 && all.GetIntField("Name", 99) == 99);  // absent, or not a number
    EXPECT_TRUE(all.GetFloatField("Scale", -1) == 2.25f && all.GetFloatField("SliderI", -1) == 40 && all.GetFloatField("Position", -1) == -1);
    EXPECT_EQ(cStr("1.000 -2.500 3.142"), all.GetStringField("Position", "none"));
    EXPECT_EQ(cStr("none"), all.GetStringField("Missing", "none"));
    cStr text("untouched");
    cClass* wrapper = all.GetElementClass(all.FindElementByName("Cell"));
    wrapper->GetClassPresentationMask(text, &all.Cell, nullptr, "name", 0);
    EXPECT_EQ(cStr("untouched"), text);  // only the "value" view is filled
    wrapper->GetClassPresentationMask(text, &all.Cell, nullptr, "value", 0);
    EXPECT_EQ(cStr("3 -4"), text);
    // One member from its own element.
    cXml node, single("whatever");
    ASSERT_GT(node.Load("<cTestAll><Count>77</Count><Scale>8</Scale></cTestAll>"), 0);
    EXPECT_TRUE(all.LoadMember(node, "Count", nullptr) && all.Count == 77 && all.Scale == 2.25f);
    EXPECT_FALSE(all.LoadMember(node, "Name", nullptr));
    single.Assign_string("5");
    EXPECT_TRUE(all.LoadMemberDirect(single, "Level", nullptr) && all.m_Level == 5);
}

namespace {

// Three members share one name, as a settings class may have two "Platform" lists.
class cTestTwins : public cClass {
public:
    ZOZUD_CLASS(cTestTwins)
    cTestTwins() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &First, "Twin");
        cClass_RegMember(this, "_cInt", &Other, "Other");
        cClass_RegMember(this, "_cInt", &Second, "Twin");
        cClass_RegMember(this, "_cInt", &Third, "Twin");
        return EndRegisterMembers();
    }
    void CustomCtor() override { First = Other = Second = Third = 0; }
    int First, Other, Second, Third;
};

}  // namespace

TEST(ClassLoad, RepeatedNamesLoadTheMembersOfThatNameInOrder) {
    RegisterTestClasses();
    struct Case {
        const char* text;
        int first, other, second, third;
    };
    const Case cases[] = {
        {"<cTestTwins><Twin>1</Twin><Other>5</Other><Twin>2</Twin><Twin>3</Twin></cTestTwins>", 1, 5, 2, 3},
        {"<cTestTwins><Twin>1</Twin><Twin>2</Twin></cTestTwins>", 1, 0, 2, 0},
        {"<cTestTwins><Twin>4</Twin></cTestTwins>", 4, 0, 0, 0},
        // More elements than members: the last member of the name takes the rest.
        {"<cTestTwins><Twin>1</Twin><Twin>2</Twin><Twin>3</Twin><Twin>9</Twin></cTestTwins>", 1, 0, 2, 9},
    };
    for (const Case& c : cases) {
        cTestTwins t;
        ASSERT_TRUE(t.ReadFromString(cStr(c.text))) << c.text;
        EXPECT_EQ(c.first, t.First) << c.text;
        EXPECT_EQ(c.other, t.Other) << c.text;
        EXPECT_EQ(c.second, t.Second) << c.text;
        EXPECT_EQ(c.third, t.Third) << c.text;
    }
    // Written and read back, every twin comes back to its own member.
    cTestTwins written, read;
    written.First = 7, written.Second = 8, written.Third = 9;
    cStr text;
    ASSERT_TRUE(written.WriteToString(&text));
    ASSERT_TRUE(read.ReadFromString(text));
    EXPECT_TRUE(read.First == 7 && read.Second == 8 && read.Third == 9) << text.ToChar();
}
