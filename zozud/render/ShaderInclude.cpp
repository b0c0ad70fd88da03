#include "zozud/render/ShaderInclude.h"

#include <cstring>

namespace zozud {

namespace {

const char Directive[] = "#include \"";
const int  DirectiveLength = (int)sizeof Directive - 1;

bool Fail(cStr* why, const cStr& reason) {
    if (why) *why = reason;
    return false;
}

}  // namespace

bool cShaderInclude::Expand(cStr* source, Loader load, void* user, cStr* why) {
    const char* text = source->ToChar();
    const int length = source->Length();
    cStr out;
    int copied = 0, expanded = 0, line = 1;
    for (int at = 0; at < length; at++, line++) {
        const char* eol = static_cast<const char*>(memchr(text + at, '\n', size_t(length - at)));
        const int end = eol ? int(eol - text) : length;  // the line's end, its newline not included
        if (end - at >= DirectiveLength && memcmp(text + at, Directive, DirectiveLength) == 0) {
            const int nameStart = at + DirectiveLength;
            const char* quote = static_cast<const char*>(memchr(text + nameStart, '"', size_t(end - nameStart)));
            if (!quote) return Fail(why, cStr::Format("line %d: an #include without its closing quote", line));
            cStr name;
            name.Append(text, nameStart, int(quote - text) - nameStart);
            cStr included;
            if (name.IsEmpty()) return Fail(why, cStr::Format("line %d: an #include without a name", line));
            if (!load(name, &included, user))
                return Fail(why, cStr::Format("line %d: cannot load the included \"%s\"", line, name.ToChar()));
            out.Append(text, copied, at - copied);
            out += included;
            if (!included.IsEmpty() && included.GetLast() != '\n') out += '\n';
            out.AppendFormat("#line %d", line + 1);  // the directive's newline follows
            copied = end;
            expanded++;
        }
        at = end;
    }
    if (expanded == 0) return true;
    out.Append(text, copied, length - copied);
    *source = out;
    return true;
}

}  // namespace zozud
