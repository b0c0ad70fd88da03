// Reflected classes of the shapes users write, shared by the reflection
// tests, the fuzz targets and the benchmark: plain members of every wrapper
// kind, an enumeration index, an embedded object, an inherited class, an
// integer property, masked members and a list of polymorphic entries.
#pragma once

#include "zozud/image/Color.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"
#include "zozud/math/VecT.h"
#include "zozud/reflect/Button.h"
#include "zozud/reflect/Class.h"
#include "zozud/reflect/ClassList.h"
#include "zozud/reflect/Enum.h"
#include "zozud/reflect/Wrappers.h"

namespace reflecttest {

using namespace zozud;

// Round 1, Square 2, Star 7; "Broken" is registered with the invalid value.
inline cEnum* ShapeKindEnum() {
    cEnum* e = cEnums::Get("TestShapeKind");
    e->Add("Round", 1);
    e->Add("Square", 2);
    e->Add("Star", 7);
    e->Add("Broken", cEnum::Invalid);
    return e;
}

// An object embedded by value in another.
class cTestInner : public cClass {
public:
    ZOZUD_CLASS(cTestInner)
    cTestInner() { CallCtor(this); }
    void CustomCtor() override { Depth = 7; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &Depth, "Depth");
        cClass_RegMember(this, "_cStr", &Label, "Label");
        return EndRegisterMembers();
    }
    int  Depth;
    cStr Label;
};

// The base of the list entries.
class cTestShape : public cClass {
public:
    ZOZUD_CLASS(cTestShape)
    cTestShape() { CallCtor(this); }
    void CustomCtor() override { Size = 1; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cFloat", &Size, "Size");
        return EndRegisterMembers();
    }
    float Size;
};

// Inherits Size through cClass_RegParent, then adds its own member.
class cTestCircle : public cTestShape {
public:
    ZOZUD_CLASS(cTestCircle)
    cTestCircle() { CallCtor(this); }
    void CustomCtor() override { cTestShape::CustomCtor(); Radius = 0.5f; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cTestShape parent;
        cClass_RegParent(this, &parent);
        cClass_RegMember(this, "_cFloat", &Radius, "Radius");
        return EndRegisterMembers();
    }
    float Radius;
};

class cTestSquare : public cTestShape {
public:
    ZOZUD_CLASS(cTestSquare)
    cTestSquare() { CallCtor(this); }
    void CustomCtor() override { cTestShape::CustomCtor(); Corners = 4; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cTestShape parent;
        cClass_RegParent(this, &parent);
        cClass_RegMember(this, "_cInt", &Corners, "Corners");
        cClass_RegMember(this, "_cBool", &Filled, "Filled");
        return EndRegisterMembers();
    }
    int  Corners;
    bool Filled;
};

// One member of every wrapper kind, in the order they are saved.
class cTestAll : public cClass {
public:
    ZOZUD_CLASS(cTestAll)
    cTestAll() { CallCtor(this); }
    void CustomCtor() override { Scale = 1.5f; Enabled = true; Name = "unnamed"; Kind = 2; m_Level = 3; }
    int RegisterMembers() override;

    void Press() { Pressed++; }
    static int  GetLevel(void* owner) { return static_cast<cTestAll*>(static_cast<cClass*>(owner))->m_Level; }
    static void SetLevel(void* owner, int v) {  // clamps to 0..10
        static_cast<cTestAll*>(static_cast<cClass*>(owner))->m_Level = v < 0 ? 0 : v > 10 ? 10 : v;
    }

    int          Count, Key, Image, SliderI, EditI, RangeI[3];
    float        Scale, SliderF, EditF, RangeF[3];
    bool         Enabled;
    cStr         Name, Caption, Texture, Sound, Model, Anim, Camera, Bsp, XmlFile;
    cVec2        Offset;
    cVec3        Position;
    cVec4        Plane;
    cColor       Tint;
    cVec<int, 2> Cell;
    cVec<int, 3> Box;
    unsigned     Kind;
    cTestInner   Inner;
    cClassList<cTestShape> Shapes;
    int          m_Level;      // behind the "Level" property
    int          Pressed = 0;  // counts button presses; not a member

    static int   s_IntRange[2];
    static float s_FloatRange[2];
};

inline int   cTestAll::s_IntRange[2] = {0, 100};
inline float cTestAll::s_FloatRange[2] = {0, 1};

inline int cTestAll::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cInt", &Count, "Count");
    cClass_RegMember(this, "_cFloat", &Scale, "Scale");
    cClass_RegMember(this, "_cBool", &Enabled, "Enabled");
    cClass_RegMember(this, "_cStr", &Name, "Name");
    cClass_RegMember(this, "_cBind", &Key, "Key");
    cClass_RegMember(this, "_cImageID", &Image, "Image");
    cClass_RegMember(this, "_cLabel", &Caption, "Caption");
    cClass_RegMember(this, "_cSliderI", &SliderI, "SliderI", s_IntRange);
    cClass_RegMember(this, "_cSliderF", &SliderF, "SliderF", s_FloatRange);
    cClass_RegMember(this, "_cEditSliderI", &EditI, "EditI", s_IntRange);
    cClass_RegMember(this, "_cEditSliderF", &EditF, "EditF", s_FloatRange);
    cClass_RegMember(this, "_cFloat2", &Offset, "Offset");
    cClass_RegMember(this, "_cFloat3", &Position, "Position");
    cClass_RegMember(this, "_cFloat4", &Plane, "Plane");
    cClass_RegMember(this, "_cColor", &Tint, "Tint");
    cClass_RegMember(this, "_cVec2i", &Cell, "Cell");
    cClass_RegMember(this, "_cVec3i", &Box, "Box");
    cClass_RegMember(this, "_cSliderRangedI", RangeI, "RangeI");
    cClass_RegMember(this, "_cSliderRangedF", RangeF, "RangeF");
    cClass_RegMember(this, "_cImageFile", &Texture, "Texture");
    cClass_RegMember(this, "_cSoundFile", &Sound, "Sound");
    cClass_RegMember(this, "_cModelFile", &Model, "Model");
    cClass_RegMember(this, "_cAnimFile", &Anim, "Anim");
    cClass_RegMember(this, "_cCameraFile", &Camera, "Camera");
    cClass_RegMember(this, "_cBspFile", &Bsp, "Bsp");
    cClass_RegMember(this, "_cXmlFile", &XmlFile, "XmlFile");
    ShapeKindEnum();
    cClass_RegIndex(this, &Kind, "Kind", "TestShapeKind");
    cClass_RegMember(this, "_cSeparator", nullptr, "Separator");
    cClass_RegAuto(this, Inner, "Inner");
    cClass_RegIntProperty(this, "_cInt", GetLevel, SetLevel, "Level");
    cClass_RegAuto(this, Shapes, "Shapes");
    cClass_RegButton(this, &cTestAll::Press, "&cTestAll::Press");
    return EndRegisterMembers();
}

// Members with masks 1, 2, 4, 5 and 8; the class mask is the object's.
class cTestMasked : public cClass {
public:
    ZOZUD_CLASS(cTestMasked)
    cTestMasked() { CallCtor(this); }
    unsigned GetClassMask() override { return Mask; }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &A, "A", nullptr, 1);
        cClass_RegMember(this, "_cInt", &B, "B", nullptr, 2);
        cClass_RegMember(this, "_cInt", &C, "C", nullptr, 4);
        cClass_RegMember(this, "_cInt", &D, "D", nullptr, 5);
        cClass_RegMember(this, "_cInt", &E, "E", nullptr, 8);
        return EndRegisterMembers();
    }
    unsigned Mask = 0xFFFFFFFFu;
    int      A, B, C, D, E;
};

// A tree: each node holds a list of nodes.
class cTestNode : public cClass {
public:
    ZOZUD_CLASS(cTestNode)
    cTestNode() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &Value, "Value");
        cClass_RegAuto(this, Children, "Children");
        return EndRegisterMembers();
    }
    int                   Value;
    cClassList<cTestNode> Children;
};

// Registers the classes that lists create by name; safe to call again.
inline void RegisterTestClasses() {
    static bool s_Done = false;
    if (s_Done) return;
    s_Done = true;
    cTestShape shape;
    cClass_RegClass(&shape, "A shape");
    cTestCircle circle;
    cClass_RegClass(&circle, "A circle");
    cTestSquare square;
    cClass_RegClass(&square, "A square");
    cTestAll all;
    cClass_RegClass(&all);
    cTestNode node;
    cClass_RegClass(&node);
    cTestInner inner;
    cClass_RegClass(&inner);
}

}  // namespace reflecttest
