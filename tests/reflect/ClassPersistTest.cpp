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
    a.Count = -12;
    a.Scale = 2.25f;
    a.Enabled = false;
    a.Name = "a<b>&c";
    a.Key = 65;
    a.Image = 3;
    a.Caption = "shown";
    a.SliderI = 40;
    a.SliderF = 0.25f;
    a.EditI = 7;
    a.EditF = 0.5f;
    a.Offset = cVec2(1, 2);
    a.Position = cVec3(1, -2.5f, 3.14159f);
    a.Plane = cVec4(0, 0, 1, -4);
    a.Tint = cColor(1, 0.5f, 0, 1);
    a.Cell = cVec<int, 2>(3, -4);
    a.Box = cVec<int, 3>(1, 2, 3);
    a.RangeI[0] = 5;
    a.RangeI[1] = 0;
    a.RangeI[2] = 10;
    a.RangeF[0] = 0.5f;
    a.RangeF[1] = 0;
    a.RangeF[2] = 1;
    a.Texture = "Textures/a.tga";
    a.Model = "Models/m.obj";
    a.XmlFile = "Xmls/x.xml";
    a.Kind = 7;
    a.Inner.Depth = 9;
    a.Inner.Label = "in";
    a.m_Level = 4;
    auto* circle = new cTestCircle;
    circle->Radius = 2;
    a.Shapes.Add(circle);
    auto* square = new cTestSquare;
    square->Filled = true;
    a.Shapes.Add(square);
}

const char* LongForm =
    "<cTestAll>\n"
    " <Count>-12</Count>\n"
    " <Scale>2.250</Scale>\n"
    " <Enabled>false</Enabled>\n"
    " <Name>a&ltb&gt&c</Name>\n"
    " <Key>65</Key>\n"
    " <Image></Image>\n"
    " <Caption></Caption>\n"
    " <SliderI>40</SliderI>\n"
    " <SliderF>0.250</SliderF>\n"
    " <EditI>7</EditI>\n"
    " <EditF>0.500</EditF>\n"
    " <Offset>1.000 2.000</Offset>\n"
    " <Position>1.000 -2.500 3.142</Position>\n"
    " <Plane>0.000 0.000 1.000 -4.000</Plane>\n"
    " <Tint>1.000 0.500 0.000 1.000</Tint>\n"
    " <Cell>3 -4</Cell>\n"
    " <Box>1 2 3</Box>\n"
    " <RangeI>5 0 10</RangeI>\n"
    " <RangeF>0.500 0.000 1.000</RangeF>\n"
    " <Texture>Textures/a.tga</Texture>\n"
    " <Sound></Sound>\n"
    " <Model>Models/m.obj</Model>\n"
    " <Anim></Anim>\n"
    " <Camera></Camera>\n"
    " <Bsp></Bsp>\n"
    " <XmlFile>Xmls/x.xml</XmlFile>\n"
    " <Kind>Star</Kind>\n"
    " <Inner>\n"
    "  <Depth>9</Depth>\n"
    "  <Label>in</Label>\n"
    " </Inner>\n"
    " <Level>4</Level>\n"
    " <Shapes>\n"
    "  <cTestCircle>\n"
    "   <Size>1.000</Size>\n"
    "   <Radius>2.000</Radius>\n"
    "  </cTestCircle>\n"
    "  <cTestSquare>\n"
    "   <Size>1.000</Size>\n"
    "   <Corners>4</Corners>\n"
    "   <Filled>true</Filled>\n"
    "  </cTestSquare>\n"
    " </Shapes>\n"
    " <&cTestAll::Press></&cTestAll::Press>\n"
    "</cTestAll>\n";

const char* ShortForm =
    "<cTestAll>\n"
    " <Count>-12</Count>\n"
    " <Scale>2.250</Scale>\n"
    " <Enabled>false</Enabled>\n"
    " <Name>a&ltb&gt&c</Name>\n"
    " <Key>65</Key>\n"
    " <SliderI>40</SliderI>\n"
    " <SliderF>0.250</SliderF>\n"
    " <EditI>7</EditI>\n"
    " <EditF>0.500</EditF>\n"
    " <Offset>1.000 2.000</Offset>\n"
    " <Position>1.000 -2.500 3.142</Position>\n"
    " <Plane>0.000 0.000 1.000 -4.000</Plane>\n"
    " <Tint>1.000 0.500 0.000 1.000</Tint>\n"
    " <Cell>3 -4</Cell>\n"
    " <Box>1 2 3</Box>\n"
    " <RangeI>5 0 10</RangeI>\n"
    " <RangeF>0.500 0.000 1.000</RangeF>\n"
    " <Texture>Textures/a.tga</Texture>\n"
    " <Model>Models/m.obj</Model>\n"
    " <XmlFile>Xmls/x.xml</XmlFile>\n"
    " <Kind>Star</Kind>\n"
    " <Inner>\n"
    "  <Depth>9</Depth>\n"
    "  <Label>in</Label>\n"
    " </Inner>\n"
    " <Level>4</Level>\n"
    " <Shapes>\n"
    "  <cTestCircle>\n"
    "   <Radius>2.000</Radius>\n"
    "  </cTestCircle>\n"
    "  <cTestSquare>\n"
    "   <Filled>true</Filled>\n"
    "  </cTestSquare>\n"
    " </Shapes>\n"
    "</cTestAll>\n";

// What a load restores: everything but the image id (-1) and the label (empty).
void ExpectLoaded(const cTestAll& want, const cTestAll& got) {
    EXPECT_EQ(want.Count, got.Count);
    EXPECT_EQ(want.Scale, got.Scale);
    EXPECT_EQ(want.Enabled, got.Enabled);
    EXPECT_EQ(want.Name, got.Name);
    EXPECT_EQ(want.Key, got.Key);
    EXPECT_EQ(-1, got.Image);
    EXPECT_EQ(cStr(""), got.Caption);
    EXPECT_EQ(want.SliderI, got.SliderI);
    EXPECT_EQ(want.SliderF, got.SliderF);
    EXPECT_EQ(want.EditI, got.EditI);
    EXPECT_EQ(want.EditF, got.EditF);
    EXPECT_EQ(want.Offset, got.Offset);
    EXPECT_EQ(want.Position.x, got.Position.x);
    EXPECT_NEAR(want.Position.z, got.Position.z, 0.0005f);  // written with three decimals
    EXPECT_EQ(want.Plane, got.Plane);
    EXPECT_EQ(want.Tint, got.Tint);
    EXPECT_EQ(want.Cell[0], got.Cell[0]);
    EXPECT_EQ(want.Cell[1], got.Cell[1]);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(want.Box[i], got.Box[i]);
        EXPECT_EQ(want.RangeI[i], got.RangeI[i]);
        EXPECT_EQ(want.RangeF[i], got.RangeF[i]);
    }
    EXPECT_EQ(want.Texture, got.Texture);
    EXPECT_EQ(want.Sound, got.Sound);
    EXPECT_EQ(want.Model, got.Model);
    EXPECT_EQ(want.XmlFile, got.XmlFile);
    EXPECT_EQ(want.Kind, got.Kind);
    EXPECT_EQ(want.Inner.Depth, got.Inner.Depth);
    EXPECT_EQ(want.Inner.Label, got.Inner.Label);
    EXPECT_EQ(want.m_Level, got.m_Level);
    ASSERT_EQ(want.Shapes.Count(), got.Shapes.Count());
    for (int i = 0; i < want.Shapes.Count(); i++) {
        EXPECT_STREQ(want.Shapes[i]->GetClassName(), got.Shapes[i]->GetClassName());
        EXPECT_EQ(want.Shapes[i]->Size, got.Shapes[i]->Size);
        EXPECT_EQ(static_cast<const cClass*>(&got.Shapes), got.Shapes[i]->GetParent());
    }
    auto* circle = dynamic_cast<cTestCircle*>(got.Shapes.Count() ? got.Shapes[0] : nullptr);
    if (circle) {
        EXPECT_EQ(static_cast<cTestCircle*>(want.Shapes[0])->Radius, circle->Radius);
    }
}

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

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

}  // namespace

TEST(ClassSave, WritesEveryMemberInRegistrationOrder) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    EXPECT_EQ(LongForm, Saved(all));
    EXPECT_EQ(nullptr, cClass::CurrentSaveFile);
}

TEST(ClassSave, ShortFormKeepsOnlyWhatDiffersFromTheDefaults) {
    RegisterTestClasses();
    cTestAll all;
    EXPECT_EQ("<cTestAll></cTestAll>\n", ShortText(all));

    Fill(all);
    EXPECT_EQ(ShortForm, ShortText(all));

    // List entries survive even when every value in them is a default.
    cTestAll entries;
    entries.Shapes.Add(new cTestCircle);
    entries.Shapes.Add(new cTestSquare);
    entries.Shapes.Add(new cTestCircle);
    std::string text = ShortText(entries);
    EXPECT_EQ(
        "<cTestAll>\n <Shapes>\n  <cTestCircle></cTestCircle>\n  <cTestSquare></cTestSquare>\n"
        "  <cTestCircle></cTestCircle>\n </Shapes>\n</cTestAll>\n",
        text);
    cTestAll back;
    ASSERT_TRUE(back.ReadFromString(cStr(text.c_str())));
    ASSERT_EQ(3, back.Shapes.Count());
    EXPECT_STREQ("cTestSquare", back.Shapes[1]->GetClassName());
    EXPECT_EQ(4, static_cast<cTestSquare*>(back.Shapes[1])->Corners);

    // The object saved in short form is left as it was, and so are the mode flags.
    EXPECT_EQ(3, entries.Shapes.Count());
    EXPECT_FALSE(cClassList_CtorNoClear);
    cClass::SaveInShortForm = 1;
    ShortText(entries);
    EXPECT_EQ(0, cClass::SaveInShortForm);
}

TEST(ClassLoad, RestoresEveryMemberOnAFreshObject) {
    RegisterTestClasses();
    cTestAll source;
    Fill(source);
    for (const char* text : {LongForm, ShortForm}) {
        cTestAll fresh;
        ASSERT_TRUE(fresh.ReadFromString(cStr(text)));
        ExpectLoaded(source, fresh);
        EXPECT_EQ(ShortForm, ShortText(fresh));
    }
}

TEST(ClassLoad, RoundTripsThroughFilesStringsAndCopies) {
    RegisterTestClasses();
    TempDir dir;
    cTestAll source;
    Fill(source);

    std::string path = dir / "all.xml";
    ASSERT_TRUE(source.WriteToFile(path.c_str()));
    EXPECT_EQ(ShortForm, ReadFile(path));
    cTestAll fromPath;
    ASSERT_TRUE(fromPath.ReadFromFile(path.c_str()));
    ExpectLoaded(source, fromPath);
    cTestAll safe;
    ASSERT_TRUE(safe.SafeReadFromFile(path.c_str()));
    ExpectLoaded(source, safe);

    cFile file;
    ASSERT_TRUE(source.WriteToFile(&file));
    EXPECT_EQ(ShortForm, std::string((const char*)file.GetData(), file.GetSize()));
    cTestAll fromFile;
    ASSERT_TRUE(fromFile.ReadFromFile(file));
    ExpectLoaded(source, fromFile);

    cClass* clone = source.Clone();
    ASSERT_NE(nullptr, clone);
    auto* copy = dynamic_cast<cTestAll*>(clone);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(source.Image, copy->Image);      // a copy keeps what a file cannot
    EXPECT_EQ(source.Caption, copy->Caption);
    copy->Image = -1;
    copy->Caption = "";
    ExpectLoaded(source, *copy);
    EXPECT_NE(source.Shapes[0], copy->Shapes[0]);  // a deep copy
    EXPECT_EQ(ShortForm, ShortText(*copy));
    delete clone;

    // Copying over an object that has other entries replaces them.
    cTestAll target;
    target.Shapes.Add(new cTestSquare);
    target.Shapes.Add(new cTestSquare);
    target.Shapes.Add(new cTestSquare);
    target.FullCopy(&target, nullptr, &source, &source, nullptr, nullptr);
    target.Image = -1;
    target.Caption = "";
    ExpectLoaded(source, target);
    source.FullCopy(&source, nullptr, &source, &source, nullptr, nullptr);  // onto itself: nothing
    EXPECT_EQ(2, source.Shapes.Count());

    EXPECT_FALSE(fromPath.ReadFromFile((dir / "missing.xml").c_str()));
    EXPECT_FALSE(fromPath.SafeReadFromFile((dir / "missing.xml").c_str()));
    WriteFile(dir / "broken.xml", "<cTestAll><Count>5</Count>");
    EXPECT_FALSE(fromPath.SafeReadFromFile((dir / "broken.xml").c_str()));
    EXPECT_EQ(nullptr, cClass::CurrentSaveFile);
}

TEST(ClassLoad, MembersTheFileLeavesOutKeepTheirValues) {
    RegisterTestClasses();
    cTestAll all;
    all.Scale = 7;
    all.Inner.Label = "kept";
    ASSERT_TRUE(all.ReadFromString(cStr("<cTestAll><Count>9</Count><Inner><Depth>1</Depth></Inner></cTestAll>")));
    EXPECT_EQ(9, all.Count);
    EXPECT_EQ(7.0f, all.Scale);
    EXPECT_EQ(1, all.Inner.Depth);
    EXPECT_EQ(cStr("kept"), all.Inner.Label);
    EXPECT_EQ(static_cast<cClass*>(&all), all.Inner.GetParent());

    // The root's name is not checked; only the members matter.
    ASSERT_TRUE(all.ReadFromString(cStr("<Anything><Count>10</Count></Anything>")));
    EXPECT_EQ(10, all.Count);
    EXPECT_FALSE(all.ReadFromString(cStr("<cTestAll><Count>11</Count>")));
    EXPECT_FALSE(all.ReadFromString(cStr("")));
}

TEST(ClassLoad, ListsAreEmptiedAndRefilledInFileOrder) {
    RegisterTestClasses();
    cTestAll all;
    for (int i = 0; i < 4; i++) all.Shapes.Add(new cTestCircle);
    cErrorPager pager(true);
    cXml root;
    ASSERT_GT(root.Load("<cTestAll><Shapes>"
                        "<cTestSquare><Corners>5</Corners></cTestSquare>"
                        "<cTestBogus></cTestBogus>"
                        "<cTestInner><Depth>1</Depth></cTestInner>"
                        "<cTestCircle><Radius>3</Radius></cTestCircle>"
                        "<cTestShape></cTestShape>"
                        "</Shapes></cTestAll>"),
              0);
    EXPECT_TRUE(all.Load(root, &all, &pager, nullptr));
    ASSERT_EQ(3, all.Shapes.Count());
    EXPECT_STREQ("cTestSquare", all.Shapes[0]->GetClassName());
    EXPECT_EQ(5, static_cast<cTestSquare*>(all.Shapes[0])->Corners);
    EXPECT_STREQ("cTestCircle", all.Shapes[1]->GetClassName());
    EXPECT_EQ(3.0f, static_cast<cTestCircle*>(all.Shapes[1])->Radius);
    EXPECT_STREQ("cTestShape", all.Shapes[2]->GetClassName());
    std::string messages = pager.GetText().ToChar();
    EXPECT_EQ(
        "Unknown identifier cTestBogus of class cClassList.cTestShape.\n"
        "Unknown identifier cTestInner of class cClassList.cTestShape.\n",
        messages);

    // A tree of lists loads to any depth the reader accepts.
    cTestNode tree;
    std::string text;
    for (int i = 0; i < 100; i++) text += "<cTestNode><Value>" + std::to_string(i) + "</Value><Children>";
    for (int i = 0; i < 100; i++) text += "</Children></cTestNode>";
    ASSERT_TRUE(tree.ReadFromString(cStr(text.c_str())));
    cTestNode* walk = &tree;
    int depth = 0;
    while (walk->Children.Count()) {
        walk = walk->Children[0];
        depth++;
    }
    EXPECT_EQ(99, depth);
    EXPECT_EQ(99, walk->Value);

    // As deep as the reader goes (two elements per node), and back out again.
    text.clear();
    const int deepest = cXml::MaxDepth / 2;
    for (int i = 0; i < deepest; i++) text += "<cTestNode><Value>1</Value><Children>";
    for (int i = 0; i < deepest; i++) text += "</Children></cTestNode>";
    cTestNode deep;
    ASSERT_TRUE(deep.ReadFromString(cStr(text.c_str())));
    cStr saved;
    ASSERT_TRUE(deep.WriteToString(&saved));
    cTestNode again;
    ASSERT_TRUE(again.ReadFromString(saved));
    // One node more is too deep for the reader, which refuses it before any loading.
    EXPECT_FALSE(again.ReadFromString(cStr(("<cTestNode><Children>" + text + "</Children></cTestNode>").c_str())));
}

TEST(ClassLoad, UnknownTagsAreReportedOncePerOccurrence) {
    RegisterTestClasses();
    cTestAll all;
    cXml root;
    ASSERT_GT(root.Load("<cTestAll><Bogus>1</Bogus><Count>3</Count><Bogus>2</Bogus><count>4</count>"
                        "<Inner><Nope></Nope></Inner><Name>after</Name></cTestAll>"),
              0);
    cErrorPager pager(true);
    EXPECT_TRUE(all.Load(root, &all, &pager, nullptr));
    std::string messages = pager.GetText().ToChar();
    EXPECT_EQ(2, Occurrences(messages, "Unknown identifier Bogus of class cTestAll.\n"));
    EXPECT_EQ(1, Occurrences(messages, "Unknown identifier count of class cTestAll.\n"));
    EXPECT_EQ(1, Occurrences(messages, "Unknown identifier Nope of class cTestInner.\n"));
    EXPECT_EQ(4, Occurrences(messages, "Unknown identifier"));
    EXPECT_EQ(3, all.Count);  // the load went on
    EXPECT_EQ(cStr("after"), all.Name);

    cErrorPager silent(false);
    EXPECT_TRUE(all.Load(root, &all, &silent, nullptr));
    EXPECT_EQ(cStr(""), silent.GetText());
    EXPECT_TRUE(all.Load(root, &all, nullptr, nullptr));  // no pager at all
}

TEST(ClassLoad, BadValuesAreReportedAndTheLoadGoesOn) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    cXml root;
    ASSERT_GT(root.Load("<cTestAll><Count>abc</Count><Scale>x</Scale><Position>1 2</Position>"
                        "<Cell>1 2 3</Cell><Key>k</Key><Enabled>TRUE</Enabled><Kind>Nothing</Kind>"
                        "<Level>-5</Level><Shapes>NULL</Shapes><Name>ok</Name></cTestAll>"),
              0);
    cErrorPager pager(false);
    EXPECT_TRUE(all.Load(root, &all, &pager, nullptr));
    EXPECT_EQ(
        "unable to read dword from XML: abc\n"
        "unable to read float from XML: x\n"
        "Parsing error during \"_cFloat3\" read from XML: 1 2\n"
        "Parsing error during \"_cVec2i\" read from XML: 1 2 3\n"
        "Parsing error during \"int\" read from XML: k\n",
        std::string(pager.GetText().ToChar()));
    EXPECT_EQ(0, all.Count);
    EXPECT_EQ(0.0f, all.Scale);
    EXPECT_EQ(cVec3(0, 0, 0), all.Position);
    EXPECT_EQ(0, all.Cell[0]);
    EXPECT_EQ(-1, all.Key);
    EXPECT_FALSE(all.Enabled);
    EXPECT_EQ(1u, all.Kind);
    EXPECT_EQ(0, all.m_Level);  // through the setter, which clamps
    EXPECT_EQ(0, all.Shapes.Count());
    EXPECT_EQ(cStr("ok"), all.Name);
}

TEST(ClassCtor, CallCtorResetsEveryMemberToItsDefault) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    all.CallDtor(&all);
    EXPECT_EQ(0, all.Shapes.Count());
    Fill(all);
    all.CallCtor(&all);
    EXPECT_EQ(-1, all.Key);
    EXPECT_EQ(-1, all.Image);
    EXPECT_EQ(1, all.RangeI[2]);
    EXPECT_EQ(7, all.Inner.Depth);
    ASSERT_EQ(2, all.Shapes.Count());  // CallCtor alone keeps the entries, reset
    EXPECT_EQ(0.5f, static_cast<cTestCircle*>(all.Shapes[0])->Radius);
    all.Shapes.Clear();
    cTestAll fresh;
    EXPECT_EQ(Saved(fresh), Saved(all));
}

TEST(ClassValues, FieldsByNameAndValueTexts) {
    RegisterTestClasses();
    cTestAll all;
    Fill(all);
    EXPECT_EQ(-12, all.GetIntField("Count", 99));
    EXPECT_EQ(4, all.GetIntField("Level", 99));
    EXPECT_EQ(7, all.GetIntField("Kind", 99));
    EXPECT_EQ(0, all.GetIntField("Enabled", 99));
    EXPECT_EQ(99, all.GetIntField("Missing", 99));
    EXPECT_EQ(99, all.GetIntField("Name", 99));
    EXPECT_FLOAT_EQ(2.25f, all.GetFloatField("Scale", -1));
    EXPECT_FLOAT_EQ(40.0f, all.GetFloatField("SliderI", -1));
    EXPECT_FLOAT_EQ(-1.0f, all.GetFloatField("Position", -1));
    EXPECT_EQ(cStr("a<b>&c"), all.GetStringField("Name", "none"));
    EXPECT_EQ(cStr("1.000 -2.500 3.142"), all.GetStringField("Position", "none"));
    EXPECT_EQ(cStr("none"), all.GetStringField("Missing", "none"));

    cStr text("untouched");
    cClass* wrapper = all.GetElementClass(all.FindElementByName("Cell"));
    wrapper->GetClassPresentationMask(text, &all.Cell, nullptr, "name", 0);
    EXPECT_EQ(cStr("untouched"), text);
    wrapper->GetClassPresentationMask(text, &all.Cell, nullptr, "value", 0);
    EXPECT_EQ(cStr("3 -4"), text);
    bool ok = true;
    EXPECT_EQ(cStr(""), all.ToString(&ok));
    EXPECT_FALSE(ok);

    // One member from its own element.
    cXml node;
    ASSERT_GT(node.Load("<cTestAll><Count>77</Count><Scale>8</Scale></cTestAll>"), 0);
    EXPECT_TRUE(all.LoadMember(node, "Count", nullptr));
    EXPECT_EQ(77, all.Count);
    EXPECT_EQ(2.25f, all.Scale);
    EXPECT_FALSE(all.LoadMember(node, "Name", nullptr));
    cXml single("whatever");
    single.Assign_string("5");
    EXPECT_TRUE(all.LoadMemberDirect(single, "Level", nullptr));
    EXPECT_EQ(5, all.m_Level);
}
