// cEdit: the single-line text edit control. Prec is the number of decimals
// with which the framework writes floats, in edit fields and in saved files.
#pragma once

namespace zozud {

class cEdit {
public:
    static constexpr int Prec = 3;
};

}  // namespace zozud
