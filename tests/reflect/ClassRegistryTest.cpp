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

class LogTail {
public:
    LogTail() : start_(cLog::GetLogCopy().Length()) {}
    std::string Text() const { return std::string(cLog::GetLogCopy().ToChar() + start_); }

private:
    int start_;
};

std::vector<std::string> ElementIDs(cClass* c) {
    std::vector<std::string> ids;
    for (int i = 0; i < c->GetAmountOfElements(); i++) ids.push_back(c->GetElementID(i));
    return ids;
}

int s_StaticValue = 0;

// Registration modes: read-only A, static global, not-savable C, plain D,
// and an integer property registered under static mode.
class cTestModes : public cClass {
public:
    ZOZUD_CLASS(cTestModes)
    cTestModes() { CallCtor(this); }
    static int  Get(void* owner) { return static_cast<cTestModes*>(static_cast<cClass*>(owner))->Hidden; }
    static void Set(void* owner, int v) { static_cast<cTestModes*>(static_cast<cClass*>(owner))->Hidden = v; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass::ReadOnlyMode = 1;
        cClass::SimpleMode = 1;
        cClass_RegMember(this, "_cInt", &A, "A");
        cClass::StaticMode = 1;
        cClass::InvisibleMode = 1;
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
    cTestAll first;
    int members = num_cOneClassMemberStorage;
    int count = first.GetAmountOfElements();
    EXPECT_EQ(32, count);
    cTestAll second;
    EXPECT_EQ(count, second.RegisterMembers());  // a second object adds nothing
    EXPECT_EQ(count, second.GetAmountOfElements());
    EXPECT_EQ(members, num_cOneClassMemberStorage);

    cClass* prototype = cClass_GetClassFromPalette("cTestAll");
    ASSERT_NE(nullptr, prototype);
    EXPECT_STREQ("cTestAll", prototype->GetClassName());
    EXPECT_NE(static_cast<cClass*>(&first), prototype);

    EXPECT_EQ(nullptr, cClass_GetClassFromPalette("cNoSuchClass"));
    EXPECT_EQ(nullptr, ZOZUD_CGARB.FindClass("cNoSuchClass"));
    int classes = ZOZUD_CGARB.GetClassCount();
    cOneClassStorage* anonymous = ZOZUD_CGARB.GetClass(nullptr);
    EXPECT_NE(anonymous, ZOZUD_CGARB.GetClass(nullptr));  // a null name always makes a new table
    EXPECT_EQ(classes + 2, ZOZUD_CGARB.GetClassCount());
    EXPECT_EQ(classes, anonymous->index);

    // The first display text stays.
    cTestCircle circle;
    cClass_RegClass(&circle, "Another text");
    EXPECT_EQ(cStr("A circle"), ZOZUD_CGARB.FindClass("cTestCircle")->text);

    // Names with a dot are left alone by the automatic registration.
    cClassList<cTestInner> dotted;
    EXPECT_EQ(nullptr, cClass_RegClassAuto(&dotted));
    EXPECT_EQ(nullptr, ZOZUD_CGARB.FindClass("cClassList.cTestInner"));
    EXPECT_NE(nullptr, cClass_RegClass(&dotted));
    EXPECT_NE(nullptr, cClass_GetClassFromPalette("cClassList.cTestInner"));
}

TEST(ClassRegistry, ElementsFollowRegistrationOrderWithTheirData) {
    RegisterTestClasses();
    cTestAll all;
    std::vector<std::string> ids = ElementIDs(&all);
    std::vector<std::string> expected = {
        "Count", "Scale", "Enabled", "Name", "Key", "Image", "Caption", "SliderI", "SliderF", "EditI", "EditF",
        "Offset", "Position", "Plane", "Tint", "Cell", "Box", "RangeI", "RangeF", "Texture", "Sound", "Model",
        "Anim", "Camera", "Bsp", "XmlFile", "Kind", "Separator", "Inner", "Level", "Shapes", "&cTestAll::Press"};
    EXPECT_EQ(expected, ids);

    cTestAll other;
    EXPECT_EQ(static_cast<void*>(&other.Scale), other.GetElementPtr(1, &other));
    EXPECT_EQ(static_cast<void*>(&all.Scale), all.GetElementPtr(1, &all));
    // A prototype answers for any object of its class.
    cClass* prototype = cClass_GetClassFromPalette("cTestAll");
    EXPECT_EQ(static_cast<void*>(&other.Box), prototype->GetElementPtr(16, &other));
    EXPECT_STREQ("_cVec3i", all.GetElementClass(16)->GetClassName());
    EXPECT_EQ(nullptr, all.GetElementID(all.GetAmountOfElements()));
    EXPECT_EQ(nullptr, all.GetElementPtr(-1, &all));

    int separator = all.FindElementByName("Separator");
    EXPECT_EQ(nullptr, all.GetElementPtr(separator, &all));
    EXPECT_TRUE(all.GetElementCMS(separator)->notSavable);
    EXPECT_EQ(static_cast<void*>(cTestAll::s_IntRange), all.GetElementExtraPtr(all.FindElementByName("SliderI")));
    EXPECT_EQ(static_cast<void*>(ShapeKindEnum()), all.GetElementExtraPtr(all.FindElementByName("Kind")));
    EXPECT_EQ(nullptr, all.GetElementExtraPtr(999));

    // The embedded object: its prototype describes it, the lookup hands out the object.
    int inner = all.FindElementByName("Inner");
    EXPECT_TRUE(all.GetElementCMS(inner)->embedded);
    EXPECT_TRUE(all.GetElementClass(inner)->CheckDirectCasting());
    cOneClassMemberInfo info;
    ASSERT_TRUE(all.GetElementInfo("Inner", &all, &info));
    EXPECT_EQ(static_cast<cClass*>(&all.Inner), info.GetClass());
    EXPECT_EQ(static_cast<void*>(static_cast<cClass*>(&all.Inner)), info.GetData());
    EXPECT_TRUE(info.IsDirectCasting());
    EXPECT_STREQ("Inner", info.Name());
    EXPECT_FALSE(all.GetElementInfo("Nothing", &all, &info));
    EXPECT_TRUE(all.ContainsMember("Level"));
    EXPECT_FALSE(all.ContainsMember("level"));

    // Parents: members belong to the object that holds them.
    EXPECT_EQ(static_cast<cClass*>(&all), all.Inner.GetParent());
    EXPECT_EQ(static_cast<cClass*>(&all), all.Shapes.GetParent());
    EXPECT_EQ(inner, all.Inner.IndexOfThis());
    auto* circle = new cTestCircle;
    all.Shapes.Add(circle);
    all.SetParent(nullptr);
    EXPECT_EQ(static_cast<cClass*>(&all.Shapes), circle->GetParent());
    EXPECT_EQ(static_cast<cClass*>(&all), circle->GetRoot());
    EXPECT_EQ(static_cast<cClass*>(&all), circle->GetParent(2));
    EXPECT_EQ(0, circle->IndexOfThis());
    EXPECT_EQ(-1, all.IndexOfThis());
}

TEST(ClassRegistry, InheritedMembersAndHostClasses) {
    RegisterTestClasses();
    cTestCircle circle;
    EXPECT_EQ((std::vector<std::string>{"Size", "Radius"}), ElementIDs(&circle));
    EXPECT_STREQ("cTestShape", circle.GetElementHostClass("Size"));
    EXPECT_STREQ("cTestCircle", circle.GetElementHostClass(1));
    EXPECT_TRUE(circle.HasParentClass("cTestShape"));
    EXPECT_FALSE(circle.HasParentClass("cTestSquare"));
    circle.Size = 3;
    EXPECT_EQ(static_cast<void*>(&circle.Size), circle.GetElementPtr(0, &circle));
    EXPECT_NE(cTestShape().GetElementClass(0), circle.GetElementClass(0));  // a private copy of the descriptor

    cOneClassStorage* shape = ZOZUD_CGARB.FindClass("cTestShape");
    cOneClassStorage* square = ZOZUD_CGARB.FindClass("cTestSquare");
    EXPECT_EQ(2, shape->children.Count());  // each child once, however often it registered
    EXPECT_TRUE(shape->CheckChildren("cTestCircle"));
    EXPECT_TRUE(square->CheckParent("cTestShape"));
    EXPECT_FALSE(square->CheckChildren("cTestShape"));
    EXPECT_TRUE(shape->CheckAll("cTestSquare", false, true, false));
    EXPECT_FALSE(shape->CheckAll("cTestSquare", true, false, true));

    // cClass_RegBase records the relation and copies nothing.
    cTestInner inner;
    cTestNode node;
    int before = inner.GetAmountOfElements();
    cClass_RegBase(&inner, &node);
    EXPECT_EQ(before, inner.GetAmountOfElements());
    EXPECT_TRUE(ZOZUD_CGARB.FindClass("cTestInner")->CheckParent("cTestNode"));
    EXPECT_TRUE(ZOZUD_CGARB.FindClass("cTestCircle")->CheckAll("cTestShape", true, false, true));
}

TEST(ClassRegistry, ModesApplyToTheNextRegistrationOnly) {
    LogTail tail;
    cTestModes modes;
    EXPECT_NE(std::string::npos,
              tail.Text().find("Class engine warning!\r\ncClassMode_Static Not allowed for properties: <_cInt Prop>"))
        << tail.Text();
    const cList<cOneClassMemberStorage*>& m = modes.GetClassStorage()->members;
    ASSERT_EQ(5, m.Count());
    EXPECT_TRUE(m[0]->readOnly && m[0]->simple && !m[0]->isStatic && !m[0]->invisible);
    EXPECT_TRUE(m[1]->isStatic && m[1]->invisible && !m[1]->readOnly && !m[1]->notSavable);
    EXPECT_TRUE(m[2]->notSavable && !m[2]->isStatic);
    EXPECT_FALSE(m[3]->notSavable || m[3]->readOnly || m[3]->simple || m[3]->invisible || m[3]->isStatic);
    EXPECT_FALSE(m[4]->isStatic);  // refused for the property, which is registered all the same
    EXPECT_TRUE(m[4]->getInt != nullptr);
    EXPECT_EQ(0, cClass::StaticMode + cClass::ReadOnlyMode + cClass::NoSaveMode + cClass::SimpleMode +
                     cClass::InvisibleMode);

    // A static member lives at its own address whatever the object.
    cTestModes other;
    EXPECT_EQ(static_cast<void*>(&s_StaticValue), modes.GetElementPtr(1, &modes));
    EXPECT_EQ(static_cast<void*>(&s_StaticValue), other.GetElementPtr(1, &other));

    // The panel's flags come from the records.
    EXPECT_TRUE(modes.CheckIfElementReadOnly(0, &modes, 3));
    EXPECT_TRUE(modes.CheckIfElementSimple(0, &modes, 3));
    EXPECT_TRUE(modes.CheckIfElementInvisible(1, &modes, 3));
    EXPECT_FALSE(modes.CheckIfElementReadOnly(3, &modes, 3));
    EXPECT_FALSE(modes.CheckIfElementReadOnly(99, &modes, 3));
}

TEST(ClassRegistry, IntegerPropertiesShareOneSlot) {
    RegisterTestClasses();
    cTestAll a, b;
    a.m_Level = 4;
    b.m_Level = 9;
    int level = a.FindElementByName("Level");
    int* pa = static_cast<int*>(a.GetElementPtr(level, &a));
    EXPECT_EQ(4, *pa);
    int* pb = static_cast<int*>(b.GetElementPtr(level, &b));
    EXPECT_EQ(pa, pb);  // one address for every such element
    EXPECT_EQ(9, *pa);  // holding the latest getter result

    cOneClassMemberInfo info;
    ASSERT_TRUE(a.GetElementInfo(level, &a, &info));
    *static_cast<int*>(info.GetData()) = 42;
    info.AcceptAfterWrite();
    EXPECT_EQ(10, a.m_Level);  // through the setter, which clamps
    EXPECT_EQ(9, b.m_Level);
}

TEST(ClassRegistry, MasksSelectElements) {
    cTestMasked masked;
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "D", "E"}), ElementIDs(&masked));
    masked.Mask = 0x5;
    EXPECT_EQ((std::vector<std::string>{"A", "C", "D"}), ElementIDs(&masked));
    EXPECT_EQ(0, masked.GetRealMaskedPosition(0));
    EXPECT_EQ(2, masked.GetRealMaskedPosition(1));
    EXPECT_EQ(3, masked.GetRealMaskedPosition(2));
    EXPECT_EQ(0, masked.GetRealMaskedPosition(3));  // none
    EXPECT_EQ(nullptr, masked.GetElementID(3));
    EXPECT_EQ(3, masked.GetRealMaskedPosition(0x1000003));
    EXPECT_STREQ("B", masked.GetElementID(0x1000001));  // raw indexes ignore the mask
    EXPECT_EQ(static_cast<void*>(&masked.B), masked.GetElementPtr(0x1000001, &masked));
    EXPECT_TRUE(masked.AndFlags(0x1000001, 2));
    EXPECT_FALSE(masked.AndFlags(0x1000001, 5));
    EXPECT_EQ(-1, masked.FindElementByName("B"));

    // Saving and loading see the masked elements only.
    masked.A = 1, masked.B = 2, masked.C = 3, masked.D = 4, masked.E = 5;
    cXml saved;
    masked.Save(saved, &masked, nullptr);
    cStr text;
    saved.GetXMLSource(&text, 0);
    EXPECT_EQ(cStr("<cTestMasked>\n <A>1</A>\n <C>3</C>\n <D>4</D>\n</cTestMasked>\n"), text);
    cXml input;
    ASSERT_GT(input.Load("<cTestMasked><B>20</B><C>30</C></cTestMasked>"), 0);
    cErrorPager pager(true);
    masked.Load(input, &masked, &pager, nullptr);
    EXPECT_EQ(2, masked.B);
    EXPECT_EQ(30, masked.C);
    EXPECT_EQ(cStr("Unknown identifier B of class cTestMasked.\n"), pager.GetText());
    masked.Mask = 8;
    EXPECT_EQ((std::vector<std::string>{"E"}), ElementIDs(&masked));
    masked.Mask = 0x10;
    EXPECT_EQ(0, masked.GetAmountOfElements());
}

TEST(ClassRegistry, UnregisteredClassesWarnAndAnswerNothing) {
    cTestUnregistered unknown;
    LogTail tail;
    EXPECT_EQ(0, unknown.GetAmountOfElements());
    EXPECT_EQ(nullptr, unknown.GetElementID(0));
    EXPECT_NE(std::string::npos, tail.Text().find("Undefined class found: \"cTestUnregistered\""));
    LogTail lookup;
    EXPECT_EQ(-1, unknown.FindElementByName("X"));
    EXPECT_NE(std::string::npos, lookup.Text().find("class not registered: \"cTestUnregistered\""));

    LogTail wrapper;
    cTestInner owner;
    int before = num_cOneClassMemberStorage;
    cClass::ReadOnlyMode = 1;
    int value = 0;
    EXPECT_FALSE(cClass_RegMember(&owner, "_cNoSuchWrapper", &value, "Value"));
    EXPECT_EQ(before, num_cOneClassMemberStorage);
    EXPECT_EQ(0, cClass::ReadOnlyMode);  // consumed all the same
    EXPECT_NE(std::string::npos, wrapper.Text().find("class not registered: \"_cNoSuchWrapper\""));

    // Every file operation wants a direct-casting object.
    cClass* w = cClass_GetClassFromPalette("_cInt")->new_element();
    cStr text;
    EXPECT_FALSE(w->WriteToString(&text));
    EXPECT_FALSE(w->ReadFromString(cStr("<_cInt></_cInt>")));
    EXPECT_FALSE(w->WriteToFile("/tmp/never-written.xml"));
    EXPECT_FALSE(w->ReadFromFile("/tmp/never-written.xml"));
    EXPECT_FALSE(w->SafeReadFromFile("/tmp/never-written.xml"));
    delete w;
}

TEST(ClassList, EntriesAreNamedByClassMovedAndOwned) {
    RegisterTestClasses();
    cClassList<cTestShape> list;
    EXPECT_STREQ("cClassList.cTestShape", list.GetClassName());
    EXPECT_STREQ("cTestShape", list.GetExpansionBaseClass());
    EXPECT_EQ(2, list.GetExpansionRules());
    EXPECT_TRUE(list.CheckDirectCasting());

    auto* circle = new cTestCircle;
    auto* square = new cTestSquare;
    list.Add(circle);
    list.Add(static_cast<cTestShape*>(nullptr));
    list.Add(square);
    EXPECT_EQ((std::vector<std::string>{"cTestCircle", "NULL", "cTestSquare"}), ElementIDs(&list));
    EXPECT_EQ(2, list.IndexOf(static_cast<const void*>(square)));
    EXPECT_EQ(-1, list.IndexOf(static_cast<const void*>(&list)));
    EXPECT_EQ(static_cast<cClass*>(square), list.GetElementClass(2));
    EXPECT_EQ(nullptr, list.GetElementPtr(3, &list));

    EXPECT_TRUE(list.MoveElement(0, 2));
    EXPECT_EQ(static_cast<cTestShape*>(square), list[0]);
    EXPECT_EQ(static_cast<cTestShape*>(circle), list[2]);
    EXPECT_TRUE(list.MoveElement(1, 0));
    EXPECT_FALSE(list.MoveElement(0, -1));  // out of range: refused, nothing moves
    EXPECT_EQ(static_cast<cTestShape*>(square), list[0]);

    int made = list.ExpandWith("cTestCircle", &list);
    EXPECT_EQ(3, made);
    EXPECT_STREQ("cTestCircle", list.GetElementID(3));
    EXPECT_EQ(static_cast<cClass*>(&list), list[3]->GetParent());
    EXPECT_FLOAT_EQ(0.5f, static_cast<cTestCircle*>(list[3])->Radius);  // made with its defaults
    EXPECT_EQ(-1, list.ExpandWith("cTestInner", &list));   // registered, but not a shape
    EXPECT_EQ(-1, list.ExpandWith("cNoSuchClass", &list));
    EXPECT_EQ(-1, list.Add(static_cast<cClass*>(new cTestInner)));  // refused and deleted
    EXPECT_EQ(4, list.Count());

    list.RemoveAt(1);  // the null entry
    list.RemoveAt(0, 2);
    EXPECT_EQ(1, list.Count());
    list.RemoveAt(5);
    list.CallDtor(&list);
    EXPECT_EQ(0, list.Count());
}

TEST(ClassEditable, PropertiesNodesAndTheAddRow) {
    RegisterTestClasses();
    cTestAll all;
    all.Shapes.Add(new cTestCircle);
    all.Shapes.Add(new cTestSquare);
    int n = all.GetAmountOfElements();

    // Without a parent every element is a node.
    EXPECT_EQ(n, all.GetAmountOfEditableElements(&all, 2));
    EXPECT_EQ(0, all.GetAmountOfEditableElements(&all, 1));
    EXPECT_EQ(n, all.GetAmountOfEditableElements(&all, 3));

    cTestInner holder;
    all.SetParent(&holder);
    EXPECT_EQ(2, all.GetAmountOfEditableElements(&all, 2));  // Inner and Shapes
    EXPECT_EQ(n - 2, all.GetAmountOfEditableElements(&all, 1));
    EXPECT_STREQ("Inner", all.GetEditableElementName(0, &all, 2));
    EXPECT_STREQ("Shapes", all.GetEditableElementName(1, &all, 2));
    EXPECT_EQ(nullptr, all.GetEditableElementName(2, &all, 2));
    EXPECT_EQ(all.FindElementByName("Shapes"), all.GetIndexOfEditableElement(1, &all, 2));
    EXPECT_EQ(-1, all.GetIndexOfEditableElement(2, &all, 2));
    EXPECT_TRUE(all.CheckIfEditableElementIsNode(0, &all, 2));
    EXPECT_FALSE(all.CheckIfEditableElementIsNode(0, &all, 1));
    EXPECT_EQ(static_cast<void*>(static_cast<cClass*>(&all.Shapes)), all.GetEditableElementData(1, &all, 2));
    EXPECT_STREQ("Count", all.GetEditableElementName(0, &all, 1));
    EXPECT_EQ(static_cast<void*>(&all.Count), all.GetEditableElementData(0, &all, 1));
    EXPECT_STREQ("_cInt", all.GetEditableElementClass(0, &all, 1)->GetClassName());
    EXPECT_EQ(static_cast<void*>(cTestAll::s_IntRange), all.GetEditableElementExtra(7, &all, 1));
    EXPECT_STREQ("Position", all.GetEditableElementView(12, &all, "name", 1));

    // The list: its entries are nodes, and the "Add" row follows them.
    EXPECT_EQ(2, all.Shapes.GetAmountOfEditableElements(&all.Shapes, 2));
    EXPECT_EQ(3, all.Shapes.GetAmountOfEditableElements(&all.Shapes, 2 | 4));
    EXPECT_EQ(1, all.Shapes.GetAmountOfEditableElements(&all.Shapes, 1 | 4));
    EXPECT_EQ(2, all.Inner.GetAmountOfEditableElements(&all.Inner, 1 | 4));  // no expansion rules: no extra row

    cClassExpParams params;
    EXPECT_TRUE(all.Shapes.GetEditableElementExpansionList(params, 0, &all.Shapes, 2, nullptr, nullptr));
    ASSERT_EQ(2, params.classes.Count());
    EXPECT_EQ(cStr("cTestCircle"), params.classes[0]);
    EXPECT_EQ(cStr("A circle"), params.texts[0]);
    EXPECT_EQ(cStr("cTestSquare"), params.classes[1]);
    EXPECT_FALSE(all.Inner.GetEditableElementExpansionList(params, 0, &all.Inner, 2, nullptr, nullptr));
    EXPECT_EQ(0, params.classes.Count());

    // A forced object shows everything as properties.
    cTestForced forced;
    forced.SetParent(&holder);
    EXPECT_EQ(2, forced.GetAmountOfEditableElements(&forced, 1));
    EXPECT_EQ(0, forced.GetAmountOfEditableElements(&forced, 2));
    EXPECT_TRUE(forced.ForceProperty());
    EXPECT_TRUE(all.Inner.ForceProperty() == false);
}

TEST(Enum, NamesAreAddedOnceAndFoundByBisection) {
    cEnum e("TestLocalEnum");
    e.Add("Zeta", 26);
    e.Add("Alpha", 1);
    e.Add("Mid", 13);
    e.Add("Alpha", 99);  // the first value stays
    e.Add(nullptr, 5);
    EXPECT_EQ(3, e.Count());
    EXPECT_EQ(1, e.FindName("Alpha"));
    EXPECT_EQ(0, e.FindName("Zeta"));
    EXPECT_EQ(2, e.FindName("Mid"));
    EXPECT_EQ(-1, e.FindName("alpha"));
    EXPECT_EQ(1u, e.GetValue(e.FindName("Alpha")));
    EXPECT_STREQ("Mid", e.GetNameOf(13));
    EXPECT_EQ(nullptr, e.GetNameOf(99));
    EXPECT_EQ(26u, e.GetFirstValue());

    cEnum* a = cEnums::Get("TestRegistryEnum");
    EXPECT_EQ(a, cEnums::Get("TestRegistryEnum"));
    EXPECT_EQ(cStr("TestRegistryEnum"), a->GetName());
    cEnum* b = cEnums::Create("TestCreatedEnum");
    EXPECT_EQ(b, cEnums::Get("TestCreatedEnum"));
    EXPECT_EQ(b, cEnums::s_Enums[cEnums::s_Reg.Find("TestCreatedEnum")]);
}

TEST(ClassPointers, IdsByBucketWithReuse) {
    EXPECT_EQ(0, cClassPointersGarbage::BucketOf(""));
    EXPECT_EQ((97 * 1 + 98 * 2) % 256, cClassPointersGarbage::BucketOf("ab"));
    cClassPointersGarbage& table = cClassPointersGarbage::Get();
    int bucket = cClassPointersGarbage::BucketOf("cTestNamed");

    cTestInner root;
    cTestNamed first("first"), second("second"), third("third"), nameless;
    first.SetParent(&root);
    unsigned id1 = table.AddClass(&first);
    unsigned id2 = table.AddClass(&second);
    EXPECT_EQ(unsigned(bucket), id1 >> 24);
    EXPECT_EQ(id1 + 1, id2);
    EXPECT_EQ(id1, first.ID);
    EXPECT_EQ(cClassPointersGarbage::NoID, table.AddClass(&nameless));
    EXPECT_EQ(cClassPointersGarbage::NoID, nameless.ID);

    EXPECT_EQ(static_cast<cClass*>(&second), table.GetCPointer("second"));
    EXPECT_EQ(static_cast<cClass*>(&root), table.GetBranch("first"));
    EXPECT_EQ(nullptr, table.GetCPointer("nobody"));
    EXPECT_EQ(id2, table.AddRef("second", &root));
    EXPECT_TRUE(table.AddRef(id2));
    EXPECT_EQ(2, table.Find(id2)->refCount);
    EXPECT_TRUE(table.DelRef(id2));
    EXPECT_EQ(cClassPointersGarbage::NoID, table.AddRef("nobody", &root));

    table.DeleteClass(&first);
    EXPECT_EQ(nullptr, table.Find(id1));
    EXPECT_EQ(nullptr, table.GetCPointer("first"));
    EXPECT_FALSE(table.AddRef(id1));
    EXPECT_EQ(id1, table.AddClass(&third));  // the freed record comes back with its id
    EXPECT_EQ(static_cast<cClass*>(&third), table.GetCPointer("third"));
    table.DeleteClass(&second);
    table.DeleteClass(&third);
}

TEST(EnumeratorOutput, RewritingTheSameSequenceChangesNothing) {
    cEnumeratorOutputStream out;
    out.add("b", 2, "x");
    out.add("A", 1, "");
    EXPECT_EQ(2, out.Count());
    const cStr* firstText = &out[0].text;
    out.Rewind();
    out.add("b", 2, "x");
    out.add("C", 3, "");
    EXPECT_EQ(2, out.Count());
    EXPECT_EQ(firstText, &out[0].text);
    EXPECT_EQ(cStr("C"), out[1].text);
    EXPECT_EQ(3u, out[1].value);
    out.add("d", 4, "");
    EXPECT_EQ(3, out.Count());
    out.Rewind();
    out.add("b", 2, "x");
    out.Truncate();
    EXPECT_EQ(1, out.Count());

    cEnumeratorOutputStream::Entry a, b, null;
    a.text = "apple";
    b.text = "BANANA";
    null.text = "NULL";
    EXPECT_LT(cEnumeratorOutputStream::StringCompare(&a, &b), 0);
    EXPECT_GT(cEnumeratorOutputStream::StringCompare(&b, &a), 0);
    EXPECT_EQ(0, cEnumeratorOutputStream::StringCompare(&null, &a));
    EXPECT_EQ(0, cEnumeratorOutputStream::StringCompare(&b, &null));

    cEnumeratorOutput owned;
    owned.Init();
    owned.texts = new cList<cStr>;
    owned.ownsTexts = true;
    cList<unsigned> borrowed;
    owned.values = &borrowed;
    owned.Free();  // frees the texts, leaves the borrowed values alone
    EXPECT_EQ(nullptr, owned.texts);
    EXPECT_EQ(nullptr, owned.values);

    int context = 0;
    cClass::CurrentContext = &context;
    cEnumeratorContext c(5);
    EXPECT_EQ(static_cast<void*>(&context), c.context);
    EXPECT_EQ(5, c.value);
}
