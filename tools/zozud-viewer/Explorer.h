// The property panel beside the view (--explorer, or the "E" key): the
// framework's class explorer shows the viewer's reflected settings (what is
// drawn, the animation, the camera's field of view) and the materials the
// models use, and edits them in place. The settings and the control form
// stay in step both ways.
#pragma once

#include <string>

#include "zozud/math/Rect.h"

namespace zozud {
class cClass;
class cFreeViewer;
class cTransform;
class cTheme;
}

namespace viewer {

class Panel;

bool OpenExplorer(const zozud::cTheme* theme);  // false when it could not be shown
void ToggleExplorer(const zozud::cTheme* theme);
void SetExplorerTheme(const zozud::cTheme* theme);
// Another object to browse (a material); the caller keeps it alive.
void AddExplorerObject(const char* name, zozud::cClass* object);
void RemoveExplorerObject(zozud::cClass* object);
bool ExplorerShows(const zozud::cClass* object);  // the open explorer's current object
// Once a frame with the current model's placement (null without a model):
// the explorer lists it as "Model", and while it is the object shown the
// transform tools of g_ManipulatorsType stand on it in the view.
void EditPlacement(zozud::cTransform* placement);
// Opens the explorer on the current model's placement (the "P" key).
void ShowPlacement(const zozud::cTheme* theme);
// Once a frame: an edit in the explorer goes to the form and the viewer,
// otherwise the form's values go to the explorer.
void SyncExplorer(Panel* panel, zozud::cFreeViewer* viewer);
void CloseExplorer();
// The viewer's settings ("Viewer.xml") and the framework's g_Settings
// ("Settings.xml") kept in a folder: $ZOZUD_VIEWER_CONFIG, else
// $XDG_CONFIG_HOME/zozud-viewer, else ~/.config/zozud-viewer.
std::string ConfigFolder();
// Makes the folder and those above it; false when one cannot be made.
bool MakeFolders(const std::string& path);
// Reads what is there into the settings and gives them to the form and the
// viewer; a missing or unreadable file leaves the defaults.
void LoadSettings(const std::string& folder, Panel* panel, zozud::cFreeViewer* viewer);
// Writes the files whose text changed since they were read or last written
// (the folder made when missing). False when one could not be written.
bool SaveSettings(const std::string& folder);
// The part of the window the explorer's window covers: empty when it is
// closed, minimised or see-through (while dragged).
zozud::cRect ExplorerCover();
// For scripts (--report): a line "control NAME X0 Y0 X1 Y1" for each row of
// the open explorer that is in view, in window pixels counted from the top
// left; empty while the explorer is closed.
std::string ExplorerRows(int windowHeight);

}  // namespace viewer
