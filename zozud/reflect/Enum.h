// cEnum: a named list of (name, value) pairs that an enumeration index
// member saves by name. Values keep insertion order; names are kept sorted
// for bisection, each with its insertion position. The first value given
// for a name stays. cEnums is the process-wide list of enums by name.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/core/StrHash.h"

namespace zozud {

class cEnum {
public:
    static constexpr unsigned Invalid = 0xFFFFFFFFu;  // a value that loads as the first value

    explicit cEnum(const char* name = nullptr) : m_Name(name) {}

    void Add(const char* name, unsigned value);  // nothing for null or a name already present
    const cStr& GetName() const { return m_Name; }
    int  Count() const { return m_Values.Count(); }
    unsigned GetValue(int position) const { return m_Values[position]; }
    const char* GetNameAt(int position) const { return m_NamesByPosition[position]; }
    unsigned GetFirstValue() const { return m_Values.IsEmpty() ? 0 : m_Values[0]; }
    int  FindName(const char* name) const;       // insertion position of the name, -1 when absent
    int  FindValue(unsigned value) const;        // position of the first such value, -1 when absent
    const char* GetNameOf(unsigned value) const; // name registered at the value's position, null when absent

private:
    cStr            m_Name;
    cList<unsigned> m_Values;           // insertion order
    cList<cStr>     m_NamesByPosition;  // insertion order
    cStrHash        m_Names;            // sorted: name -> position
};

class cEnums {
public:
    static cList<cEnum*> s_Enums;  // every enum, in creation order
    static cStrHash      s_Reg;    // enum name -> index in s_Enums

    static cEnum* Create(const char* name);  // appends a new enum and registers its name
    static cEnum* Get(const char* name);     // the enum of that name, created when absent
    static void   ClearAll();                // frees every enum: members registered over them must go first
};

}  // namespace zozud
