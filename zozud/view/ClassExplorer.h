// cClassExplorer: the property panel generated from reflected objects. Init
// registers every member wrapper class, so wrappers exist before any class
// registers a member; it runs once and is cheap to call again.
#pragma once

namespace zozud {

class cClassExplorer {
public:
    static void Init();
};

}  // namespace zozud
