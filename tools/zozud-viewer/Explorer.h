// The property panel beside the view (--explorer, or the "E" key): the
// framework's class explorer shows the viewer's reflected settings (what is
// drawn, the animation, the camera's field of view) and the materials the
// models use, and edits them in place. The settings and the control form
// stay in step both ways.
#pragma once

#include "zozud/math/Rect.h"

namespace zozud {
class cClass;
class cFreeViewer;
class cTheme;
}

namespace viewer {

class Panel;

bool OpenExplorer(const zozud::cTheme* theme);  // false when it could not be shown
void ToggleExplorer(const zozud::cTheme* theme);
void SetExplorerTheme(const zozud::cTheme* theme);
// Another object to browse (a material); the caller keeps it alive.
void AddExplorerObject(const char* name, zozud::cClass* object);
// Once a frame: an edit in the explorer goes to the form and the viewer,
// otherwise the form's values go to the explorer.
void SyncExplorer(Panel* panel, zozud::cFreeViewer* viewer);
void CloseExplorer();
// The part of the window the explorer's window covers: empty when it is
// closed, minimised or see-through (while dragged).
zozud::cRect ExplorerCover();

}  // namespace viewer
