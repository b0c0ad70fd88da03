// Member wrappers: small indirect classes that describe one plain value at
// the address each call receives (an int, a float, a cStr, a vector, an
// enumeration index...). A class registers a member with a private copy of
// the wrapper fetched by name ("_cFloat"); the wrapper knows the value's
// default, its text in XML and how to copy it. The property panel picks its
// control by the wrapper's class name.
//
// Texts: integers "%d"; floats with cWrappers_FloatPrec decimals; vectors as numbers
// separated by one space (any separators are read); bools "true"/"false"
// (true iff the text, after leading spaces, begins with "true"). A failed
// conversion leaves the value at its zero (or -1 for key bindings) and
// reports through the pager.
#pragma once

#include "zozud/reflect/Class.h"

namespace zozud {

// Decimals with which floats are written, in saved files and in the edit
// fields of the widgets (cEdit::Prec).
constexpr int cWrappers_FloatPrec = 3;

// ---- Scalars ----

class _cInt : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cInt, "_cInt")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
};

// Sliders: the extra holds two values, minimum and maximum, for the control.
class _cSliderI : public _cInt {
public:
    ZOZUD_CLASS_NAMED(_cSliderI, "_cSliderI")
};

class _cEditSliderI : public _cInt {
public:
    ZOZUD_CLASS_NAMED(_cEditSliderI, "_cEditSliderI")
};

class _cFloat : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cFloat, "_cFloat")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
};

class _cSliderF : public _cFloat {
public:
    ZOZUD_CLASS_NAMED(_cSliderF, "_cSliderF")
};

class _cEditSliderF : public _cFloat {
public:
    ZOZUD_CLASS_NAMED(_cEditSliderF, "_cEditSliderF")
};

class _cBool : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cBool, "_cBool")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;  // never fails
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
};

// A key code; -1 (no key) by default and after a failed read.
class _cBind : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cBind, "_cBind")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
};

// An image id of the running program: never written, always loads as -1.
class _cImageID : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cImageID, "_cImageID")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
};

// ---- Texts ----

class _cStr : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cStr, "_cStr")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char*, int) override { return true; }
};

// File paths: texts like _cStr, each with a file picker for its kind.
class _cImageFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cImageFile, "_cImageFile")
};

class _cSoundFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cSoundFile, "_cSoundFile")
};

class _cModelFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cModelFile, "_cModelFile")
};

class _cAnimFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cAnimFile, "_cAnimFile")
};

class _cCameraFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cCameraFile, "_cCameraFile")
};

class _cBspFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cBspFile, "_cBspFile")
};

class _cXmlFile : public _cStr {
public:
    ZOZUD_CLASS_NAMED(_cXmlFile, "_cXmlFile")
};

// A text shown in the panel: written empty, cleared on load.
class _cLabel : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cLabel, "_cLabel")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
};

// A separator row; registered without data, so never saved.
class _cSeparator : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cSeparator, "_cSeparator")
    void CallCtor(void*) override {}
    bool Save(cXml&, void*, void*) override { return true; }
    bool Load(cXml&, void*, cErrorPager*, void*) override { return true; }
    void FullCopy(void*, void*, cClass*, void*, void*, cClassCopyContext*) override {}
    bool ForceProperty() override { return true; }
};

// ---- Vectors ----

// Fixed counts of floats; loading needs at least Count() numbers and takes
// the first Count().
class cFloatVectorWrapper : public cClass {
public:
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;

protected:
    virtual int          Count() const = 0;
    virtual float        Default(int) const { return 0; }
    virtual const char*  ReportedName() const = 0;  // the name a parse error gives
};

class _cFloat2 : public cFloatVectorWrapper {
public:
    ZOZUD_CLASS_NAMED(_cFloat2, "_cFloat2")
    bool CompatibleWith(const char* type, int size) override;

protected:
    int         Count() const override { return 2; }
    const char* ReportedName() const override { return "_cFloat2"; }
};

class _cFloat3 : public cFloatVectorWrapper {
public:
    ZOZUD_CLASS_NAMED(_cFloat3, "_cFloat3")
    bool CompatibleWith(const char* type, int size) override;

protected:
    int         Count() const override { return 3; }
    const char* ReportedName() const override { return "_cFloat3"; }
};

class _cFloat4 : public cFloatVectorWrapper {
public:
    ZOZUD_CLASS_NAMED(_cFloat4, "_cFloat4")
    bool CompatibleWith(const char* type, int size) override;

protected:
    int         Count() const override { return 4; }
    const char* ReportedName() const override { return "_cFloat4"; }
};

// A cColor (r, g, b, a), read and written as _cFloat4.
class _cColor : public _cFloat4 {
public:
    ZOZUD_CLASS_NAMED(_cColor, "_cColor")
    bool CompatibleWith(const char* type, int size) override;
};

// Three floats for a ranged slider, in the order the control takes them.
class _cSliderRangedF : public _cFloat3 {
public:
    ZOZUD_CLASS_NAMED(_cSliderRangedF, "_cSliderRangedF")

protected:
    float Default(int i) const override { return i == 2 ? 1.0f : 0.0f; }
};

// Fixed counts of ints; loading needs exactly Count() numbers.
class cIntVectorWrapper : public cClass {
public:
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;

protected:
    virtual int         Count() const = 0;
    virtual int         Default(int) const { return 0; }
    virtual const char* ReportedName() const = 0;
};

class _cVec2i : public cIntVectorWrapper {
public:
    ZOZUD_CLASS_NAMED(_cVec2i, "_cVec2i")
    bool CompatibleWith(const char* type, int size) override;

protected:
    int         Count() const override { return 2; }
    const char* ReportedName() const override { return "_cVec2i"; }
};

class _cVec3i : public cIntVectorWrapper {
public:
    ZOZUD_CLASS_NAMED(_cVec3i, "_cVec3i")
    bool CompatibleWith(const char* type, int size) override;

protected:
    int         Count() const override { return 3; }
    const char* ReportedName() const override { return "_cVec3i"; }
};

class _cSliderRangedI : public _cVec3i {
public:
    ZOZUD_CLASS_NAMED(_cSliderRangedI, "_cSliderRangedI")

protected:
    int Default(int i) const override { return i == 2 ? 1 : 0; }
};

// ---- Enumeration index ----

// An unsigned value saved as its name in the cEnum held by the member's extra.
class _cIndex : public cClass {
public:
    ZOZUD_CLASS_NAMED(_cIndex, "_cIndex")
    void CallCtor(void* data) override;
    bool Save(cXml& node, void* data, void* extra) override;
    bool Load(cXml& node, void* data, cErrorPager* pager, void* extra) override;
    void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext*) override;
    bool CompatibleWith(const char* type, int size) override;
    void SetEnumName(const char* name) override { m_EnumName = name; }
    const cStr& GetEnumName() const { return m_EnumName; }

private:
    cStr m_EnumName;
};

}  // namespace zozud
