// cEdit: the single-line text edit control. Prec is the number of decimals
// with which the framework writes floats, in edit fields and in saved files
// (the member wrappers below own the number).
#pragma once

#include "zozud/reflect/Wrappers.h"

namespace zozud {

class cEdit {
public:
    static constexpr int Prec = cWrappers_FloatPrec;
};

}  // namespace zozud
