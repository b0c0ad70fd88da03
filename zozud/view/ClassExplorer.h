// cClassExplorer: the property panel generated from reflected objects. Init
// registers every member wrapper class, so wrappers exist before any class
// registers a member; it runs once and is cheap to call again. The class
// registry below runs it through its seam (cClass_SetRegisterWrappers).
#pragma once

namespace zozud {

class cClassExplorer {
public:
    static void Init();
};

}  // namespace zozud
