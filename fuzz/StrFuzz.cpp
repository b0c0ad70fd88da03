// Fuzzes the text operations of cStr: number parsing, splitting, UTF-8,
// paths, replacing and comparing. The input is two texts: the bytes before
// the first NUL and those after it (or its two halves when there is no NUL).
// Besides never crashing, every result must be a consistent string, and a
// few relations between operations must hold; a broken one traps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "zozud/core/Str.h"

using namespace zozud;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Length and text agree, and the buffer holds the text with its NUL.
void CheckString(const cStr& s) {
    Check(s.Length() >= 0 && (int)strlen(s.ToChar()) == s.Length());
    Check(s.Capacity() == 0 ? s.Length() == 0 : s.Length() < s.Capacity());
}

void Numbers(const char* a) {
    int i;
    float f;
    cStr::ToInt(a, &i);
    if (!cStr::ToFloat(a, &f)) Check(f == 0);
    cList<int> ints;
    cList<float> floats;
    cStr::ToIntArray(a, &ints);
    cStr::ToFloatArray(a, &floats);
}

void Splitting(const char* a, const char* b) {
    cList<cStr> items;
    cStr::Split(a, &items, b);
    int total = 0;
    for (const cStr& item : items) {
        CheckString(item);
        Check(item.Length() > 0);
        total += item.Length();
    }
    Check(total <= (int)strlen(a));
    cStr::Split(a, &items, nullptr);
    Check(items.Count() == (*a ? 1 : 0));
    cStr joined = cStr::Join(b, items);
    CheckString(joined);
}

// CalcUTF8Length walks the text in as many steps as DecodeUTF8 yields
// characters (a surrogate pair counts once).
void Utf8(const cStr& s) {
    cList<unsigned short> units;
    bool ok = s.DecodeUTF8(&units);
    Check(units.Count() <= s.Length());
    int characters = 0;
    for (unsigned short u : units) characters += (u < 0xDC00 || u > 0xDFFF);
    if (ok) Check(characters <= s.Length());
    int steps = 0;
    for (int pos = 0; pos < s.Length(); steps++) {
        int n = s.CalcUTF8Length(pos);
        Check(n >= 1 && n <= 4 && pos + n <= s.Length());
        pos += n;
    }
    Check(steps == characters);
    for (int pos = -2; pos <= s.Length() + 2; pos++) {
        int n = s.CalcUTF8Length(pos);
        Check(n >= 0 && n <= 4);
    }
}

template <class Edit>
void Edited(const char* a, Edit edit) {
    cStr s(a);
    edit(s);
    CheckString(s);
}

void Paths(const char* a, const char* b) {
    cStr s(a);
    CheckString(s.GetFileExtension());
    CheckString(s.GetFileName());
    CheckString(s.GetFileBase());
    CheckString(s.GetFilePath());
    Edited(a, [](cStr& t) { t.RemoveFileExtension(); });
    Edited(a, [](cStr& t) { t.RemoveFileName(); });
    Edited(a, [](cStr& t) { t.RemoveFilePath(); });
    Edited(a, [b](cStr& t) { t.SetFileExtension(b); });
    Edited(a, [b](cStr& t) { t.SetFileDefaultExtension(b); });
    Edited(a, [b](cStr& t) { t.SetFilePath(b); });
    Edited(a, [b](cStr& t) { t.SetFileDefaultPath(b); });
    Edited(a, [b](cStr& t) { t.RemoveFileAbsPath(b); });
    Edited(a, [b](cStr& t) { t.AppendPath(b); });
    Edited(a, [](cStr& t) { t.AppendPath(t.ToChar() + t.Length() / 2); });
    Edited(a, [](cStr& t) { t.EnsureTrailingBackslash(); });
    Edited(a, [](cStr& t) { t.SlashesToBackSlashes(); });
    Edited(a, [](cStr& t) { t.BackSlashesToSlashes(); });
}

// The first half of b is the pattern, the second half the replacement.
void Replacing(const char* a, const char* b, int start, int count) {
    size_t half = strlen(b) / 2;
    std::string what(b, half), with(b + half);
    for (int noCase = 0; noCase < 2; noCase++) {
        Edited(a, [&](cStr& t) { t.Replace(what.c_str(), with.c_str(), start, count, noCase); });
        Edited(a, [&](cStr& t) { t.ReplaceFirst(what.c_str(), with.c_str(), start, count, noCase); });
    }
    Edited(a, [&](cStr& t) { t.Replace(t.ToChar() + unsigned(start) % unsigned(t.Length() + 1), what.c_str()); });
    Edited(a, [&](cStr& t) { t.Insert(start, t, count, start); });
    Edited(a, [&](cStr& t) { t.Remove(start, count); });
    Edited(a, [&](cStr& t) { t.Append(t, start, count); });
}

void Comparing(const char* a, const char* b, int n) {
    Check(cStr::Compare(a, b) == -cStr::Compare(b, a));
    Check(cStr::CompareNoCase(a, b) == -cStr::CompareNoCase(b, a));
    Check(cStr::ComparePath(a, b) == -cStr::ComparePath(b, a));
    Check(cStr::ComparePath(a, a) == 0);
    int limited = cStr::ComparePath(a, b, n);
    Check(limited >= -1 && limited <= 1);
    cStr s(a);
    if (*b) {
        const char* hit = strstr(a, b);
        Check(s.IndexOf(b, 0, -1, false) == (hit ? int(hit - a) : -1));
    }
    s.IndexOf(b, n, n, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    size_t cut = bytes.find('\0');
    std::string first = cut == std::string::npos ? bytes.substr(0, size / 2) : bytes.substr(0, cut);
    std::string second = cut == std::string::npos ? bytes.substr(size / 2) : bytes.substr(cut + 1);
    const char* a = first.c_str();  // both stop at the next NUL, if any
    const char* b = second.c_str();
    int n = size ? int(data[size - 1]) - 8 : -1;

    Numbers(a);
    Splitting(a, b);
    Utf8(cStr(a));
    Paths(a, b);
    Replacing(a, b, n, size ? int(data[0]) - 8 : -1);
    Comparing(a, b, n);
    CheckString(cStr::Format("%s|%s", a, b));
    return 0;
}
