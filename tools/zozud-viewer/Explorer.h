// The property panel beside the view (--explorer): the class explorer shows
// the reflected state of the viewer (draw switches, time, camera) and edits
// it in place. OpenExplorer returns false where the framework has no
// explorer form to show; the viewer then runs without it.
#pragma once

namespace viewer {

class Panel;
bool OpenExplorer(Panel* panel, int layer);
void CloseExplorer();

}  // namespace viewer
