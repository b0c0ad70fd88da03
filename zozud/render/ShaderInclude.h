// cShaderInclude: the shared text of shader sections. A line that starts
// with '#include "NAME"' is replaced by the text a loader gives for NAME,
// then '#line N' so that compiler messages still count the section's own
// lines. Included text is not searched again: no nesting, so no cycles.
// Plain text work: the OpenGL device lends a loader that reads the shader
// folder, the fuzz target one of its own.
#pragma once

#include "zozud/core/Str.h"

namespace zozud {

class cShaderInclude {
public:
    // The text for a name; false when there is none.
    typedef bool (*Loader)(const cStr& name, cStr* text, void* user);

    // False for a directive without its closing quote or name, or a name the
    // loader has no text for: *why (when given) says which, with the line,
    // and the source is left as it was.
    static bool Expand(cStr* source, Loader load, void* user, cStr* why);
};

}  // namespace zozud
