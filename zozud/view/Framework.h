// cFramework: the framework's start-up. Lower layers call into higher ones
// only through seams they own (function pointers they declare and the layer
// above fills); Start fills every one of them and hands in the lists that
// must know the top layers (built-in codecs, member wrapper registration).
// It only stores function pointers: it logs nothing and touches no file.
//
// Every program calls it once, first thing, before other threads run: the
// shell's main does, tools call it at the top of their main, and test
// programs from their support code. The platform shell then lends its own
// services (the log dialog, the clipboard, text input) the same way.
#pragma once

namespace zozud {

class cFramework {
public:
    static void Start();
};

}  // namespace zozud
