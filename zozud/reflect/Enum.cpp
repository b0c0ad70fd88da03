#include "zozud/reflect/Enum.h"

namespace zozud {

// Built before the ordinary globals of other files, whose constructors may
// register members with enumerations.
cList<cEnum*> cEnums::s_Enums __attribute__((init_priority(200)));
cStrHash      cEnums::s_Reg __attribute__((init_priority(200)));

namespace {

// Frees the enums at exit, just before the two lists above go.
struct FreeEnumsAtExit {
    ~FreeEnumsAtExit() { cEnums::ClearAll(); }
} s_FreeEnumsAtExit __attribute__((init_priority(201)));

}  // namespace

void cEnum::Add(const char* name, unsigned value) {
    if (!name || FindName(name) >= 0) return;
    int position = m_Values.Add(value);
    m_NamesByPosition.Add(cStr(name));
    m_Names.Add(name, position);
}

int cEnum::FindName(const char* name) const { return name ? m_Names.Find(name) : -1; }

int cEnum::FindValue(unsigned value) const { return m_Values.IndexOf(value); }

const char* cEnum::GetNameOf(unsigned value) const {
    int position = FindValue(value);
    return position < 0 ? nullptr : m_NamesByPosition[position].ToChar();
}

cEnum* cEnums::Create(const char* name) {
    auto* e = new cEnum(name ? name : "");
    s_Reg.Add(e->GetName(), s_Enums.Add(e));
    return e;
}

cEnum* cEnums::Get(const char* name) {
    int i = s_Reg.Find(name ? name : "");
    return i >= 0 ? s_Enums[i] : Create(name);
}

void cEnums::ClearAll() {
    for (cEnum* e : s_Enums) delete e;
    s_Enums.Free();
    s_Reg.Free();
}

}  // namespace zozud
