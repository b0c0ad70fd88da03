// Path operations of cStr. Both '/' and '\\' separate when reading; the
// separator written is '\\' (the file layer turns it into '/' afterwards).
#include <cstring>

#include "zozud/core/Str.h"

namespace zozud {

int cStr::LastSeparator(int end) const {
    for (int i = end - 1; i >= 0; i--)
        if (IsSeparator(buffer[i])) return i;
    return -1;
}

int cStr::ExtensionDot() const {
    int sep = LastSeparator(length);
    for (int i = length - 1; i > sep; i--)
        if (buffer[i] == '.') return i;
    return -1;
}

cStr cStr::GetFileExtension() const {
    int dot = ExtensionDot();
    if (dot < 0) return cStr();
    return cStr(buffer, dot + 1, length - dot - 1);
}

// The last character is never taken as the separator: "dir\sub\" names "sub\".
cStr cStr::GetFileName() const {
    if (!length) return cStr();
    int sep = LastSeparator(length - 1);
    return cStr(buffer, sep + 1, length - sep - 1);
}

cStr cStr::GetFileBase() const {
    cStr name = GetFileName();
    const char* dot = strchr(name.ToChar(), '.');
    if (dot) name.SetLength(int(dot - name.ToChar()));
    return name;
}

cStr cStr::GetFilePath() const {
    int sep = LastSeparator(length);
    if (sep < 0) return cStr();
    return cStr(buffer, 0, sep + 1);
}

void cStr::RemoveFileExtension() {
    int dot = ExtensionDot();
    if (dot >= 0) SetLength(dot);
}

void cStr::RemoveFileName() {
    SetLength(LastSeparator(length) + 1);
}

// Keeps what GetFileName gives, a trailing separator included.
void cStr::RemoveFilePath() {
    if (!length) return;
    int sep = LastSeparator(length - 1);
    if (sep >= 0) Remove(0, sep + 1);
}

// A null extension only removes the old one.
void cStr::SetFileExtension(const char* ext) {
    RemoveFileExtension();
    if (!ext) return;
    if (*ext != '.') Append('.');
    Append(ext);
}

void cStr::SetFileDefaultExtension(const char* ext) {
    if (!ext || ExtensionDot() >= 0) return;
    if (*ext != '.') Append('.');
    Append(ext);
}

void cStr::SetFilePath(const char* path) {
    cStr name = GetFileName();
    Copy(path);
    AppendPath(name);
}

void cStr::SetFileDefaultPath(const char* path) {
    if (LastSeparator(length) >= 0) return;
    cStr old(*this);
    Copy(path);
    AppendPath(old);
}

// The prefix test is on characters, not components: base "/home/us" also
// cuts "/home/user/x" to "er/x". An empty base is a prefix of every path.
void cStr::RemoveFileAbsPath(const char* base) {
    if (!base) base = def_str;
    int blen = (int)strlen(base);
    if (length >= blen && CompareNoCase(ToChar(), base, blen) == 0) {
        Remove(0, blen);
        if (length && IsSeparator(buffer[0])) Remove(0, 1);
        return;
    }
    cList<cStr> mine, theirs;
    Split(ToChar(), &mine, "\\/");
    Split(base, &theirs, "\\/");
    int shared = 0;
    while (shared < mine.Count() && shared < theirs.Count() && CompareNoCase(mine[shared], theirs[shared]) == 0)
        shared++;
    Clear();
    for (int i = shared; i < theirs.Count(); i++) AppendPath("..");
    for (int i = shared; i < mine.Count(); i++) AppendPath(mine[i]);
}

// Reserves room for the whole result and a separator in one step.
void cStr::AppendPath(const char* part) {
    if (Owns(part)) {  // a part of our own text moves when the buffer grows
        cStr copy(part);
        AppendPath(copy);
        return;
    }
    if (part && IsSeparator(*part)) part++;
    int n = part ? (int)strlen(part) : 0;
    Reserve(length + n + 1, 1);
    if (length && !IsSeparator(buffer[length - 1])) Append('\\');
    int start = length;
    AppendChars(part, n);
    Replace('/', '\\', start);
}

void cStr::EnsureTrailingBackslash() {
    if (!length || IsSeparator(buffer[length - 1])) return;
    Reserve(length + 1, 1);
    Append('\\');
}

}  // namespace zozud
