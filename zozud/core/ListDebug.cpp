#include "zozud/core/List.h"

namespace zozud {

int cList_Debug::ContainersCount = 0;
int cList_Debug::CtorContainersCount = 0;

}  // namespace zozud
