// The names of the 124 input codes and the character class of each key.
// The names are the key-binding texts of the settings: ToCode reads them back
// with any letter case but otherwise exactly (no blanks trimmed).
#include "zozud/widgets/Input.h"

namespace zozud {

namespace {

const char* const Names[cInput::CodeCount] = {
    "Esc", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "-", "=",
    "BackSpace", "Tab", "CapsLock", "Insert", "Delete", "Home", "End", "PageUp", "PageDown",
    "Up", "Down", "Left", "Right", "\\", "Enter",
    "[", "]", ";", "'", ",", ".", "/",
    "Shift", "Control", "Alt", "Space", "~",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "NumPad0", "NumPad1", "NumPad2", "NumPad3", "NumPad4", "NumPad5", "NumPad6", "NumPad7", "NumPad8", "NumPad9",
    "Add", "Subtract", "Multiply", "Divide", "Decimal",
    "LeftButton", "RightButton", "MiddleButton", "WheelUp", "WheelDown", "XButton1", "XButton2",
    "DpadUp", "DpadDown", "DpadLeft", "DpadRight", "Start", "Back",
    "LeftThumb", "LeftThumbUp", "LeftThumbDown", "LeftThumbLeft", "LeftThumbRight",
    "RightThumb", "RightThumbUp", "RightThumbDown", "RightThumbLeft", "RightThumbRight",
    "LeftShoulder", "RightShoulder", "(A)", "(B)", "(X)", "(Y)",
    "LeftTrigger", "RightTrigger",
};

// Keys that type a character (1) and editing keys whose events carry their
// code (2); every other key types nothing. Ranges of keyboard codes.
struct ClassRange {
    int first, last, charClass;
};
const ClassRange CharClasses[] = {
    {cInput::Key0, cInput::Equals, 1},
    {cInput::BackSpace, cInput::Tab, 2},
    {cInput::Delete, cInput::Delete, 2},
    {cInput::Up, cInput::Right, 2},
    {cInput::BackSlash, cInput::BackSlash, 1},
    {cInput::LeftBracket, cInput::Slash, 1},
    {cInput::Space, cInput::Z, 1},
};

// ASCII only: the names are plain ASCII and the comparison must not depend on the locale.
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameNoCase(const char* a, const char* b) {
    for (; *a && *b; a++, b++) {
        if (Lower(*a) != Lower(*b)) return false;
    }
    return *a == *b;
}

}  // namespace

cStr cInput::ToString(int code) {
    if (code < 0 || code >= CodeCount) return cStr();
    return cStr(Names[code]);
}

int cInput::ToCode(const char* name) {
    if (!name) return -1;
    for (int code = 0; code < CodeCount; code++) {
        if (SameNoCase(name, Names[code])) return code;
    }
    return -1;
}

int cInput::GetCharClass(int code) {
    for (const ClassRange& range : CharClasses) {
        if (code >= range.first && code <= range.last) return range.charClass;
    }
    return 0;
}

bool cInput::IsKeyboardCode(int code) { return code >= 0 && code < KeyboardCodeCount; }
bool cInput::IsMouseButtonCode(int code) { return (code >= LeftButton && code <= MiddleButton) || code == XButton1 || code == XButton2; }
bool cInput::IsGamepadCode(int code) { return code >= DpadUp && code < CodeCount; }

}  // namespace zozud
