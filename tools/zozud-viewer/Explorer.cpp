#include "Explorer.h"

#include "Panel.h"

namespace viewer {

// The class explorer's form is not in the framework yet: when it is, build it
// here over the panel's reflected members and register it in the layer.
bool OpenExplorer(Panel*, int) { return false; }
void CloseExplorer() {}

}  // namespace viewer
