// The live keyboard for the input layer: which keys of the framework's key
// set are down now (XQueryKeymap) and which character each one types with
// the current group and modifiers (XKB); and the character one key press
// typed, for the window's key handler. Both read the key tables main built
// and take the key-query mutex around the X calls, which the shell's key
// handler shares.
#include "platform/linux/LinuxMainInternal.h"
#include "zozud/widgets/Input.h"

// Last: Xlib's macros (None, Bool, Status) must not reach the framework's headers.
#include <gdk/gdkx.h>
#include <X11/XKBlib.h>

using zozud::cInput;
using zozud::cList;

namespace {

struct KeysLock {
    KeysLock() { pthread_mutex_lock(&cLinuxMain_GetKeysMutex); }
    ~KeysLock() { pthread_mutex_unlock(&cLinuxMain_GetKeysMutex); }
};

// The toolkit's X display; null before the toolkit has one.
Display* XDisplay() {
    GdkDisplay* display = gdk_display_get_default();
    return display ? gdk_x11_display_get_xdisplay(display) : nullptr;
}

bool IsBitSet(const char keys[32], int keycode) {
    return keycode > 0 && keycode < 256 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
}

bool AnyBitSet(const char keys[32], const cList<int>& keycodes) {
    for (int keycode : keycodes) {
        if (IsBitSet(keys, keycode)) return true;
    }
    return false;
}

// The modifier keys count for either of their keys (Shift_L or Shift_R...).
bool IsDown(const char keys[32], int code) {
    if (code == cInput::Shift) return AnyBitSet(keys, cLinuxMain_ShiftCodes);
    if (code == cInput::Control) return AnyBitSet(keys, cLinuxMain_ControlCodes);
    if (code == cInput::Alt) return AnyBitSet(keys, cLinuxMain_AltCodes);
    if (code == cInput::Enter) return AnyBitSet(keys, cLinuxMain_EnterCodes);
    return code < cLinuxMain_Codes.Count() && IsBitSet(keys, cLinuxMain_Codes[code]);
}

// The first byte of the text the key types with these core modifiers and
// this group, 0 when it types none.
int CharOf(Display* display, XkbDescPtr xkb, unsigned int coreMods, int group, int keycode) {
    if (keycode <= 0) return 0;
    unsigned int mods = XkbBuildCoreState(coreMods, group), consumed = 0;
    KeySym keysym = NoSymbol;
    if (!XkbTranslateKeyCode(xkb, (KeyCode)keycode, mods, &consumed, &keysym) || keysym == NoSymbol) return 0;
    char text[8] = {};
    int extra = 0;
    int n = XkbTranslateKeySym(display, &keysym, mods & ~consumed, text, sizeof text, &extra);
    return n > 0 ? (unsigned char)text[0] : 0;
}

XkbDescPtr KeyboardMap(Display* display) {
    int opcode, event, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) return nullptr;
    return XkbGetMap(display, XkbAllClientInfoMask, XkbUseCoreKbd);
}

void ReadChars(Display* display, cInput::KeyboardState* state) {
    XkbDescPtr xkb = KeyboardMap(display);
    if (!xkb) return;
    XkbStateRec xkbState;
    if (XkbGetState(display, XkbUseCoreKbd, &xkbState) == Success) {
        for (int code = 0; code < cInput::KeyboardCodeCount && code < cLinuxMain_Codes.Count(); code++)
            state->Chars[code] = CharOf(display, xkb, xkbState.mods, xkbState.group, cLinuxMain_Codes[code]);
    }
    XkbFreeKeyboard(xkb, 0, True);
}

}  // namespace

bool cLinuxMain_IsKeyDown(int code) {
    if (code < 0 || code >= cInput::KeyboardCodeCount) return false;
    Display* display = XDisplay();
    if (!display) return false;
    char keys[32];
    KeysLock lock;
    XQueryKeymap(display, keys);
    return IsDown(keys, code);
}

void cLinuxMain_AcquireKeyboard(cInput::KeyboardState* state) {
    *state = cInput::KeyboardState();
    Display* display = XDisplay();
    if (!display) return;
    KeysLock lock;
    char keys[32];
    XQueryKeymap(display, keys);
    for (int code = 0; code < cInput::KeyboardCodeCount; code++) state->IsPressed[code] = IsDown(keys, code);
    ReadChars(display, state);
    state->PressesTyped = cLinuxMain_TypesKeyPresses();
}

int cLinuxMain_CharOfKey(int keycode, unsigned int modifiers, int group) {
    Display* display = XDisplay();
    XkbDescPtr xkb = display ? KeyboardMap(display) : nullptr;
    if (!xkb) return 0;
    int ch = CharOf(display, xkb, modifiers & 0xff, group, keycode);
    XkbFreeKeyboard(xkb, 0, True);
    return ch;
}
