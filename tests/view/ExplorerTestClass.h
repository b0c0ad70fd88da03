// Reflected classes for the class explorer's tests, pixel tests and
// benchmark: cExplorerAll has one member of every wrapper kind (two index
// members share one enumeration, a third has its own), a button, and a
// sub-object; cExplorerItem and cExplorerItemB are list entries.
#pragma once

#include "zozud/reflect/Button.h"
#include "zozud/reflect/ClassList.h"
#include "zozud/reflect/Enum.h"
#include "zozud/reflect/Wrappers.h"

namespace zozud_test {
using namespace zozud;

inline void ExplorerTestEnums() {
    cEnum* shade = cEnums::Get("ExplorerShade");
    if (shade->Count() == 0) {
        shade->Add("Light", 10);
        shade->Add("Medium", 20);
        shade->Add("Dark", 30);
    }
    cEnum* size = cEnums::Get("ExplorerSize");
    if (size->Count() == 0) {
        size->Add("Small", 1);
        size->Add("Large", 2);
    }
}

class cExplorerChild : public cClass {
public:
    ZOZUD_CLASS(cExplorerChild)
    cExplorerChild() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &Depth, "Depth");
        return EndRegisterMembers();
    }
    int Depth;
};

class cExplorerAll : public cClass {
public:
    ZOZUD_CLASS(cExplorerAll)
    cExplorerAll() { CallCtor(this); }
    void CustomCtor() override { Name = "start"; }

    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        ExplorerTestEnums();
        static int rangeI[2] = {0, 10};
        static float rangeF[2] = {0, 2};
        cClass_RegMember(this, "_cSeparator", nullptr, "Values");
        cClass_RegMember(this, "_cInt", &Int, "Int");
        cClass_RegMember(this, "_cFloat", &Float, "Float");
        cClass_RegMember(this, "_cBool", &Bool, "Bool");
        cClass_RegMember(this, "_cStr", &Name, "Name");
        cClass_RegMember(this, "_cBind", &Key, "Key");
        cClass_RegMember(this, "_cImageID", &Image, "Image");
        cClass_RegMember(this, "_cLabel", &Note, "Note");
        cClass_RegMember(this, "_cSliderI", &SliderI, "SliderI", rangeI);
        cClass_RegMember(this, "_cSliderF", &SliderF, "SliderF", rangeF);
        cClass_RegMember(this, "_cEditSliderI", &EditSliderI, "EditSliderI", rangeI);
        cClass_RegMember(this, "_cEditSliderF", &EditSliderF, "EditSliderF", rangeF);
        cClass_RegMember(this, "_cFloat2", Vec2, "Vec2");
        cClass_RegMember(this, "_cFloat3", Vec3, "Vec3");
        cClass_RegMember(this, "_cFloat4", Vec4, "Vec4");
        cClass_RegMember(this, "_cColor", Color, "Color");
        cClass_RegMember(this, "_cVec2i", Vec2i, "Vec2i");
        cClass_RegMember(this, "_cVec3i", Vec3i, "Vec3i");
        cClass_RegMember(this, "_cSliderRangedI", RangeI, "RangeI");
        cClass_RegMember(this, "_cSliderRangedF", RangeF, "RangeF");
        cClass_RegMember(this, "_cImageFile", &ImageFile, "ImageFile");
        cClass_RegMember(this, "_cSoundFile", &SoundFile, "SoundFile");
        cClass_RegMember(this, "_cModelFile", &ModelFile, "ModelFile");
        cClass_RegMember(this, "_cAnimFile", &AnimFile, "AnimFile");
        cClass_RegMember(this, "_cCameraFile", &CameraFile, "CameraFile");
        cClass_RegMember(this, "_cBspFile", &BspFile, "BspFile");
        cClass_RegMember(this, "_cXmlFile", &XmlFile, "XmlFile");
        cClass_RegIndex(this, &Shade, "Shade", "ExplorerShade");
        cClass_RegIndex(this, &Shade2, "Shade2", "ExplorerShade");
        cClass_RegIndex(this, &Size, "Size", "ExplorerSize");
        cClass_RegButton(this, &cExplorerAll::Bump, "&cExplorerAll::Bump");
        cClass_RegAuto(this, Child, "Child");
        return EndRegisterMembers();
    }

    // The panel asks these on every exchange; Lock turns Float off and Name read-only.
    void OnProcess() override { Processed++; }
    bool IsEnabled(const char* member) override { return !(Lock && cStr(member) == "Float"); }
    bool IsReadOnly(const char* member) override { return Lock && cStr(member) == "Name"; }
    bool OnChangeMember(cClass*, void*, void*, const char* name) override {
        Changed = name;
        return true;
    }
    void Bump() { Bumps++; }

    int Int;
    float Float;
    bool Bool;
    cStr Name;
    int Key, Image;
    cStr Note;
    int SliderI;
    float SliderF;
    int EditSliderI;
    float EditSliderF;
    float Vec2[2], Vec3[3], Vec4[4], Color[4];
    int Vec2i[2], Vec3i[3], RangeI[3];
    float RangeF[3];
    cStr ImageFile, SoundFile, ModelFile, AnimFile, CameraFile, BspFile, XmlFile;
    unsigned Shade, Shade2, Size;
    cExplorerChild Child;

    int Processed = 0, Bumps = 0;
    bool Lock = false;
    cStr Changed;
};

class cExplorerItem : public cClass {
public:
    ZOZUD_CLASS(cExplorerItem)
    cExplorerItem() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cInt", &Value, "Value");
        return EndRegisterMembers();
    }
    int Value;
};

class cExplorerItemB : public cExplorerItem {
public:
    ZOZUD_CLASS(cExplorerItemB)
    cExplorerItemB() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cExplorerItem base;
        cClass_RegParent(this, &base);
        cClass_RegMember(this, "_cFloat", &Weight, "Weight");
        return EndRegisterMembers();
    }
    float Weight;
};

}  // namespace zozud_test
