// The class registry: registration, element lookup, inheritance, modes,
// properties, masks, lists, the property-panel view, enumerations, the
// named-object table and enumeration output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reflect/ReflectClasses.h"
#include "zozud/core/Log.h"
#include "zozud/reflect/ClassPointers.h"
#include "zozud/reflect/EnumeratorOutput.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;
using namespace reflecttest;

namespace {

std::string LogSince(int start) { return std::string(cLog::GetLogCopy().ToChar() + start); }

std::vector<std::string> ElementIDs(cClass* c) {
    std::vector<std::string> ids;
    for (int i = 0; i < c->GetAmountOfElements(); i++) ids.push_back(c->GetElementID(i));
    return ids;
}

int s_StaticValue = 0;

// Registration modes: read-only and simple A, static and invisible Global,
// not-savable C, plain D, and an integer property registered under static mode.
class cTestModes : public cClass {
public:
    ZOZUD_CLASS(cTestModes)
    cTestModes() { CallCtor(this); }
    static int  Get(void* owner) { return static_cast<cTestModes*>(static_cast<cClass*>(owner))->Hidden; }
    static void Set(void* owner, int v) { static_cast<cTestModes*>(static_cast<cClass*>(owner))->Hidden = v; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass::ReadOnlyMode = cClass::SimpleMode = 1;
        cClass_RegMember(this, "_cInt", &A, "A");
        cClass::StaticMode = cClass::InvisibleMode = 1;
        cClass_RegMember(this, "_cInt", &s_StaticValue, "Global");
        cClass::NoSaveMode = 1;
        cClass_RegMember(this, "_cInt", &C, "C");
        cClass_RegMember(this, "_cInt", &D, "D");
        cClass::StaticMode = 1;
        cClass_RegIntProperty(this, "_cInt", Get, Set, "Prop");
        return EndRegisterMembers();
    }
    int A, C, D, Hidden = 0;
};

// Direct casting, but never registered and without a cached storage.
class cTestUnregistered : public cClass {
public:
    const char* GetClassName() override { return "cTestUnregistered"; }
    bool CheckDirectCasting() override { return true; }
};

// An object with a global name.
class cTestNamed : public cClass {
public:
    ZOZUD_CLASS(cTestNamed)
    explicit cTestNamed(const char* name = "") : Name(name) {}
    cStr* GetObjectNamePointer() override { return Name.IsEmpty() ? nullptr : &Name; }
    unsigned GetObjectGlobalID() override { return ID; }
    void SetObjectGlobalID(unsigned id) override { ID = id; }
    cStr     Name;
    unsigned ID = 0xFFFFFFFFu;
};

// Every element of a forced object is a property.
class cTestForced : public cTestInner {
public:
    ZOZUD_CLASS(cTestForced)
    bool ForceProperty() override { return true; }
};

}  // namespace

TEST(ClassRegistry, ClassesRegisterOnceAndLookupsNeverCreate) {
    RegisterTestClasses();
    cTestAll first, second;
    EXPECT_EQ(32, first.GetAmountOfElements());
    EXPECT_EQ(32, second.RegisterMembers());  // a second object adds nothing
    cClass* prototype = cClass_GetClassFromPalette("cTestAll");
    ASSERT_NE(nullptr, prototype);
    EXPECT_STREQ("cTestAll", prototype->GetClassName());
    EXPECT_TRUE(cClass_GetClassFromPalette("cNoSuchClass") == nullptr && ZOZUD_CGARB.FindClass("cNoSuchClass") == nullptr);
    cTestCircle circle;
    cClass_RegClass(&circle, "Another text");  // the first display text stays
    EXPECT_EQ(cStr("A circle"), ZOZUD_CGARB.FindClass("cTestCircle")->text);
    // Names with a dot are left alone by the automatic registration.
    cClassList<cTestInner> dotted;
    EXPECT_EQ(nullptr, cClass_RegClassAuto(&dotted));
    EXPECT_EQ(nullptr, ZOZUD_CGARB.FindClass("cClassList.cTestInner"));
    EXPECT_NE(nullptr, cClass_RegClass(&dotted));
}

TEST(ClassRegistry, ElementsFollowRegistrationOrderWithTheirData) {
    RegisterTestClasses();
    cTestAll all, other;
    EXPECT_EQ(static_cast<void*>(&all.Scale), all.GetElementPtr(1, &all));
    // A prototype answers for any object of its class.
    EXPECT_EQ(static_cast<void*>(&other.Box), cClass_GetClassFromPalette("cTestAll")->GetElementPtr(16, &other));
    EXPECT_TRUE(all.GetElementID(all.GetAmountOfElements()) == nullptr && all.GetElementPtr(-1, &all) == nullptr);
    EXPECT_EQ(nullptr, all.GetElementPtr(all.FindElementByName("Separator"), &all));
    EXPECT_EQ(static_cast<void*>(cTestAll::s_IntRange), all.GetElementExtraPtr(all.FindElementByName("SliderI")));
    EXPECT_EQ(static_cast<void*>(ShapeKindEnum()), all.GetElementExtraPtr(all.FindElementByName("Kind")));
    EXPECT_EQ(nullptr, all.GetElementExtraPtr(999));
    // The embedded object: the lookup hands out the object itself.
    cOneClassMemberInfo info;
    ASSERT_TRUE(all.GetElementInfo("Inner", &all, &info));
    EXPECT_TRUE(info.IsDirectCasting());
    EXPECT_EQ(static_cast<cClass*>(&all.Inner), info.GetClass());
    EXPECT_FALSE(all.GetElementInfo("Nothing", &all, &info));
    EXPECT_TRUE(all.ContainsMember("Level") && !all.ContainsMember("level"));
    // Members belong to the object that holds them.
    auto* circle = new cTestCircle;
    all.Shapes.Add(circle);
    all.SetParent(nullptr);
    EXPECT_TRUE(all.Inner.GetParent() == &all && circle->GetParent() == &all.Shapes && circle->GetRoot() == &all);
    EXPECT_EQ(static_cast<cClass*>(&all), circle->GetParent(2));
    EXPECT_TRUE(all.Inner.IndexOfThis() == all.FindElementByName("Inner") && circle->IndexOfThis() == 0 && all.IndexOfThis() == -1);
}

TEST(ClassRegistry, InheritedMembersAndHostClasses) {
    RegisterTestClasses();
    cTestCircle circle;
    EXPECT_EQ((std::vector<std::string>{"Size", "Radius"}), ElementIDs(&circle));
    EXPECT_STREQ("cTestShape", circle.GetElementHostClass("Size"));
    EXPECT_STREQ("cTestCircle", circle.GetElementHostClass(1));
    EXPECT_TRUE(circle.HasParentClass("cTestShape") && !circle.HasParentClass("cTestSquare"));
    EXPECT_EQ(static_cast<void*>(&circle.Size), circle.GetElementPtr(0, &circle));
    cOneClassStorage *shape = ZOZUD_CGARB.FindClass("cTestShape"), *square = ZOZUD_CGARB.FindClass("cTestSquare");
    EXPECT_TRUE(shape->CheckChildren("cTestCircle") && square->CheckParent("cTestShape") && !square->CheckChildren("cTestShape"));
    EXPECT_TRUE(shape->CheckAll("cTestSquare", false, true, false) && !shape->CheckAll("cTestSquare", true, false, true));
    // cClass_RegBase records the relation and copies nothing.
    cTestInner inner;
    cTestNode node;
    int before = inner.GetAmountOfElements();
    cClass_RegBase(&inner, &node);
    EXPECT_EQ(before, inner.GetAmountOfElements());
    EXPECT_TRUE(ZOZUD_CGARB.FindClass("cTestInner")->CheckParent("cTestNode"));
}

TEST(ClassRegistry, ModesApplyToTheNextRegistrationOnly) {
    int start = cLog::GetLogCopy().Length();
    cTestModes modes, other;
    EXPECT_NE(std::string::npos,
              LogSince(start).find("Class engine warning!\r\ncClassMode_Static Not allowed for properties: <_cInt Prop>"));
    ASSERT_EQ((std::vector<std::string>{"A", "Global", "C", "D", "Prop"}), ElementIDs(&modes));  // the refused mode registers it all the same
    // A static member lives at its own address whatever the object; the property is per object.
    EXPECT_TRUE(modes.GetElementPtr(1, &modes) == &s_StaticValue && other.GetElementPtr(1, &other) == &s_StaticValue);
    modes.Hidden = 5, other.Hidden = 6;
    cOneClassMemberInfo info;
    ASSERT_TRUE(modes.GetElementInfo(4, &modes, &info));
    EXPECT_EQ(5, *static_cast<int*>(info.GetData()));
    EXPECT_TRUE(modes.CheckIfElementReadOnly(0, &modes, 3) && modes.CheckIfElementSimple(0, &modes, 3) && !modes.CheckIfElementInvisible(0, &modes, 3));
    EXPECT_TRUE(modes.CheckIfElementInvisible(1, &modes, 3) && !modes.CheckIfElementReadOnly(1, &modes, 3));
    EXPECT_FALSE(modes.CheckIfElementReadOnly(3, &modes, 3) || modes.CheckIfElementSimple(3, &modes, 3) ||
                 modes.CheckIfElementInvisible(3, &modes, 3) || modes.CheckIfElementReadOnly(99, &modes, 3));
    // NoSave stays on C only.
    modes.A = 1, modes.C = 3, modes.D = 4;
    cXml saved;
    modes.Save(saved, &modes, nullptr);
    cStr text;
    saved.GetXMLSource(&text, 0);
    EXPECT_TRUE(strstr(text, "<D>4</D>") && !strstr(text, "<C>")) << text.ToChar();
}

TEST(ClassRegistry, IntegerPropertiesReadAndWriteThroughTheirAccessors) {
    RegisterTestClasses();
    cTestAll a, b;
    a.m_Level = 4, b.m_Level = 9;
    int level = a.FindElementByName("Level");
    EXPECT_EQ(4, *static_cast<int*>(a.GetElementPtr(level, &a)));
    EXPECT_EQ(9, *static_cast<int*>(b.GetElementPtr(level, &b)));
    cOneClassMemberInfo info;
    ASSERT_TRUE(a.GetElementInfo(level, &a, &info));
    *static_cast<int*>(info.GetData()) = 42;
    info.AcceptAfterWrite();
    EXPECT_TRUE(a.m_Level == 10 && b.m_Level == 9);  // through the setter, which clamps
}

TEST(ClassRegistry, MasksSelectElements) {
    cTestMasked masked;
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "D", "E"}), ElementIDs(&masked));
    masked.Mask = 0x5;
    EXPECT_EQ((std::vector<std::string>{"A", "C", "D"}), ElementIDs(&masked));
    EXPECT_EQ(nullptr, masked.GetElementID(3));
    EXPECT_EQ(-1, masked.FindElementByName("B"));
    // Saving and loading see the masked elements only.
    masked.A = 1, masked.B = 2, masked.C = 3, masked.D = 4, masked.E = 5;
    cXml saved, input;
    masked.Save(saved, &masked, nullptr);
    cStr text;
    saved.GetXMLSource(&text, 0);
    EXPECT_EQ(cStr("<cTestMasked>\n <A>1</A>\n <C>3</C>\n <D>4</D>\n</cTestMasked>\n"), text);
    ASSERT_GT(input.Load("<cTestMasked><B>20</B><C>30</C></cTestMasked>"), 0);
    cErrorPager pager(true);
    masked.Load(input, &masked, &pager, nullptr);
    EXPECT_TRUE(masked.B == 2 && masked.C == 30);
    EXPECT_EQ(cStr("Unknown identifier B of class cTestMasked.\n"), pager.GetText());
    masked.Mask = 0x10;
    EXPECT_EQ(0, masked.GetAmountOfElements());
}

TEST(ClassRegistry, UnregisteredClassesWarnAndAnswerNothing) {
    cTestUnregistered unknown;
    int start = cLog::GetLogCopy().Length();
    EXPECT_TRUE(unknown.GetAmountOfElements() == 0 && unknown.GetElementID(0) == nullptr);
    EXPECT_EQ(-1, unknown.FindElementByName("X"));
    EXPECT_NE(std::string::npos, LogSince(start).find("Undefined class found: \"cTestUnregistered\""));
    EXPECT_NE(std::string::npos, LogSince(start).find("class not registered: \"cTestUnregistered\""));
    // An unknown wrapper registers nothing, and the mode is consumed all the same.
    cTestInner owner;
    int before = owner.GetAmountOfElements(), value = 0;
    cClass::ReadOnlyMode = 1;
    EXPECT_FALSE(cClass_RegMember(&owner, "_cNoSuchWrapper", &value, "Value"));
    EXPECT_TRUE(before == owner.GetAmountOfElements() && cClass::ReadOnlyMode == 0);
    EXPECT_NE(std::string::npos, LogSince(start).find("class not registered: \"_cNoSuchWrapper\""));
    // Every file operation wants a direct-casting object.
    cClass* w = cClass_GetClassFromPalette("_cInt")->new_element();
    cStr text;
    EXPECT_FALSE(w->WriteToString(&text) || w->ReadFromString(cStr("<_cInt></_cInt>")));
    EXPECT_FALSE(w->WriteToFile("/tmp/never-written.xml") || w->ReadFromFile("/tmp/never-written.xml") ||
                 w->SafeReadFromFile("/tmp/never-written.xml"));
    delete w;
}

TEST(ClassList, EntriesAreNamedByClassMovedAndOwned) {
    RegisterTestClasses();
    cClassList<cTestShape> list;
    EXPECT_STREQ("cClassList.cTestShape", list.GetClassName());
    EXPECT_STREQ("cTestShape", list.GetExpansionBaseClass());
    cTestCircle* circle = new cTestCircle;
    cTestSquare* square = new cTestSquare;
    list.Add(circle);
    list.Add(static_cast<cTestShape*>(nullptr));
    list.Add(square);
    EXPECT_EQ((std::vector<std::string>{"cTestCircle", "NULL", "cTestSquare"}), ElementIDs(&list));
    EXPECT_TRUE(list.IndexOf(static_cast<const void*>(square)) == 2 && list.IndexOf(static_cast<const void*>(&list)) == -1);
    EXPECT_TRUE(list.GetElementClass(2) == square && list.GetElementPtr(2, &list) == square && list.GetElementPtr(3, &list) == nullptr);
    EXPECT_TRUE(list.MoveElement(0, 2) && list.MoveElement(1, 0));
    EXPECT_TRUE(list[0] == square && list[2] == circle);
    EXPECT_FALSE(list.MoveElement(0, -1));  // out of range: refused, nothing moves
    EXPECT_EQ(list[0], square);
    EXPECT_EQ(3, list.ExpandWith("cTestCircle", &list));
    EXPECT_EQ(static_cast<cClass*>(&list), list[3]->GetParent());
    EXPECT_FLOAT_EQ(0.5f, static_cast<cTestCircle*>(list[3])->Radius);  // made with its defaults
    EXPECT_EQ(-1, list.ExpandWith("cTestInner", &list));  // registered, but not a shape
    EXPECT_EQ(-1, list.ExpandWith("cNoSuchClass", &list));
    EXPECT_EQ(-1, list.Add(static_cast<cClass*>(new cTestInner)));  // refused and deleted
    // Member wrappers describe data elsewhere: no list takes them, not even one of any cClass.
    cClassList<cClass> any;
    EXPECT_EQ(-1, any.ExpandWith("_cStr", &any));
    EXPECT_EQ(-1, static_cast<cClass&>(any).Add(cClass_GetClassFromPalette("_cFloat3")->new_element()));
    EXPECT_TRUE(any.ReadFromString(cStr("<L><_cStr>abc</_cStr><_cFloat3>1 2 3</_cFloat3><cTestCircle></cTestCircle></L>")));
    ASSERT_EQ(1, any.Count());
    EXPECT_STREQ("cTestCircle", any[0]->GetClassName());
    list.RemoveAt(1);  // the null entry
    list.RemoveAt(0, 2);
    list.RemoveAt(5);
    EXPECT_EQ(1, list.Count());
    list.CallDtor(&list);
    EXPECT_EQ(0, list.Count());
}

TEST(ClassEditable, PropertiesNodesAndTheAddRow) {
    const unsigned P = cClass::EditableProperties, N = cClass::EditableNodes, T = cClass::EditableTrailing;
    RegisterTestClasses();
    cTestAll all;
    cTestInner holder;
    all.Shapes.Add(new cTestCircle);
    all.Shapes.Add(new cTestSquare);
    int n = all.GetAmountOfElements();
    // Without a parent every element is a node.
    EXPECT_TRUE(all.GetAmountOfEditableElements(&all, N) == n && all.GetAmountOfEditableElements(&all, P) == 0);
    all.SetParent(&holder);
    EXPECT_TRUE(all.GetAmountOfEditableElements(&all, N) == 2 && all.GetAmountOfEditableElements(&all, P) == n - 2);
    EXPECT_EQ(n, all.GetAmountOfEditableElements(&all, P | N));
    EXPECT_STREQ("Shapes", all.GetEditableElementName(1, &all, N));  // Inner and Shapes are the nodes
    EXPECT_TRUE(all.GetEditableElementName(2, &all, N) == nullptr && all.GetIndexOfEditableElement(2, &all, N) == -1);
    EXPECT_EQ(all.FindElementByName("Shapes"), all.GetIndexOfEditableElement(1, &all, N));
    EXPECT_TRUE(all.CheckIfEditableElementIsNode(0, &all, N) && !all.CheckIfEditableElementIsNode(0, &all, P));
    EXPECT_EQ(static_cast<void*>(static_cast<cClass*>(&all.Shapes)), all.GetEditableElementData(1, &all, N));
    EXPECT_EQ(static_cast<void*>(cTestAll::s_IntRange), all.GetEditableElementExtra(7, &all, P));  // SliderI
    EXPECT_STREQ("Position", all.GetEditableElementView(12, &all, "name", P));
    // The list's entries are nodes, and the "Add" row follows them.
    EXPECT_TRUE(all.Shapes.GetAmountOfEditableElements(&all.Shapes, N) == 2 && all.Shapes.GetAmountOfEditableElements(&all.Shapes, N | T) == 3);
    EXPECT_EQ(2, all.Inner.GetAmountOfEditableElements(&all.Inner, P | T));  // no expansion rules: no extra row
    cClassExpParams params;
    EXPECT_TRUE(all.Shapes.GetEditableElementExpansionList(params, 0, &all.Shapes, N, nullptr, nullptr));
    ASSERT_EQ(2, params.classes.Count());
    EXPECT_TRUE(params.classes[0] == cStr("cTestCircle") && params.texts[0] == cStr("A circle") && params.classes[1] == cStr("cTestSquare"));
    EXPECT_FALSE(all.Inner.GetEditableElementExpansionList(params, 0, &all.Inner, N, nullptr, nullptr));
    EXPECT_EQ(0, params.classes.Count());
    cTestForced forced;  // a forced object shows everything as properties
    forced.SetParent(&holder);
    EXPECT_TRUE(forced.GetAmountOfEditableElements(&forced, P) == 2 && forced.GetAmountOfEditableElements(&forced, N) == 0);
}

TEST(Enum, NamesAreAddedOnceAndFoundByBisection) {
    cEnum e("TestLocalEnum");
    for (const char* name : {"Zeta", "Alpha", "Mid"}) e.Add(name, name[0]);
    e.Add("Alpha", 99);  // the first value stays
    e.Add(nullptr, 5);
    EXPECT_EQ(3, e.Count());
    EXPECT_TRUE(e.FindName("Alpha") == 1 && e.FindName("Zeta") == 0 && e.FindName("Mid") == 2 && e.FindName("alpha") == -1);
    EXPECT_TRUE(e.GetValue(e.FindName("Alpha")) == 'A' && e.GetNameOf(99) == nullptr && e.GetFirstValue() == 'Z');
    EXPECT_STREQ("Mid", e.GetNameOf('M'));
    cEnum* b = cEnums::Create("TestCreatedEnum");
    EXPECT_EQ(b, cEnums::Get("TestCreatedEnum"));
    EXPECT_EQ(cStr("TestMadeEnum"), cEnums::Get("TestMadeEnum")->GetName());  // made when absent
}

TEST(ClassPointers, IdsWithReuse) {
    cClassPointersGarbage& table = cClassPointersGarbage::Get();
    cTestInner root;
    cTestNamed first("first"), second("second"), third("third"), nameless;
    first.SetParent(&root);
    unsigned id1 = table.AddClass(&first), id2 = table.AddClass(&second);
    EXPECT_TRUE(id2 == id1 + 1 && first.ID == id1);
    EXPECT_TRUE(table.AddClass(&nameless) == cClassPointersGarbage::NoID && nameless.ID == cClassPointersGarbage::NoID);
    EXPECT_TRUE(table.GetCPointer("second") == &second && table.GetBranch("first") == &root && table.GetCPointer("nobody") == nullptr);
    EXPECT_EQ(id2, table.AddRef("second", &root));
    EXPECT_TRUE(table.AddRef(id2) && table.DelRef(id2));
    EXPECT_EQ(cClassPointersGarbage::NoID, table.AddRef("nobody", &root));
    table.DeleteClass(&first);
    EXPECT_TRUE(table.Find(id1) == nullptr && table.GetCPointer("first") == nullptr && !table.AddRef(id1));
    table.AddClass(&third);
    EXPECT_EQ(static_cast<cClass*>(&third), table.GetCPointer("third"));
    table.DeleteClass(&second);
    table.DeleteClass(&third);
}

TEST(EnumeratorOutput, RewindRewritesEntriesAndNamesCompareIgnoringCase) {
    cEnumeratorOutputStream out;
    out.add("b", 2, "x");
    out.add("A", 1, "");
    out.Rewind();
    out.add("b", 2, "x");
    out.add("C", 3, "");
    EXPECT_TRUE(out.Count() == 2 && out[0].text == cStr("b") && out[1].text == cStr("C") && out[1].value == 3u);
    cEnumeratorOutputStream::Entry a, b, null;
    a.text = "apple", b.text = "BANANA", null.text = "NULL";
    EXPECT_TRUE(cEnumeratorOutputStream::StringCompare(&a, &b) < 0 && cEnumeratorOutputStream::StringCompare(&b, &a) > 0);
    EXPECT_TRUE(cEnumeratorOutputStream::StringCompare(&null, &a) == 0 && cEnumeratorOutputStream::StringCompare(&b, &null) == 0);
}
