// cStr: the framework's one string type, a growable NUL-terminated byte string
// with value semantics. Surprise: there is no geometric growth; buffers of up
// to 20 bytes come from a free list of short buffers, longer ones from cPool
// in multiples of 32 bytes, and a null buffer reads as "".
#pragma once

#include <cstdarg>
#include <cstring>

#include "zozud/core/List.h"

namespace zozud {

class cStr {
public:
    static const char def_str[1];  // what an empty string reads as
    static cStr       Empty;       // process-wide empty string with its own short buffer

    cStr() : buffer(nullptr), length(0), capacity(0) {}
    // A view of constant text, made at compile time, so it is usable before
    // any constructor has run. It owns nothing and must never be changed or
    // destroyed: only for process-wide constants that are held where no
    // destructor reaches them (the line end of cLog).
    struct ConstantText {};
    constexpr cStr(ConstantText, const char* text, int n) : buffer(const_cast<char*>(text)), length(n), capacity(0) {}
    cStr(const char* s);
    cStr(const char* s, int start, int count);
    cStr(const cStr& s);
    cStr(cStr&& s) noexcept : buffer(s.buffer), length(s.length), capacity(s.capacity) { s.Forget(); }
    ~cStr() { if (buffer) Release(); }
    cStr& operator=(const cStr& s) { Copy(s); return *this; }
    cStr& operator=(cStr&& s) noexcept {
        if (this != &s) {
            if (buffer) Release();
            buffer = s.buffer;
            length = s.length;
            capacity = s.capacity;
            s.Forget();
        }
        return *this;
    }
    cStr& operator=(const char* s) { Copy(s); return *this; }

    // ---- Access ----
    const char* ToChar() const { return buffer ? buffer : def_str; }
    operator const char*() const { return ToChar(); }
    int   Length() const { return length; }
    int   Capacity() const { return capacity; }
    bool  IsEmpty() const { return length == 0; }
    char* GetBuffer() { return buffer; }  // null while there is none
    char  GetLast() const { return length ? buffer[length - 1] : 0; }

    // ---- Memory ----
    void Resize(int size, bool keep);  // new buffer of size rounded up to 32 (short below 20 when there is none)
    void Free();                       // gives the buffer back; all fields 0
    void Clear();                      // empty text, buffer kept

    // ---- Comparison: 1, 0 or -1; n = -1 compares to the end ----
    static int  Compare(const char* a, const char* b, int n = -1);
    static int  CompareNoCase(const char* a, const char* b, int n = -1);
    static int  ComparePath(const char* a, const char* b, int n = -1);
    static bool EqualsNoCase(const cStr* a, const cStr* b);
    int  IndexOf(const char* what, int start = 0, int count = -1, bool noCase = true) const;  // -1 when absent
    bool operator==(const char* s) const { return Compare(ToChar(), s ? s : def_str) == 0; }
    bool operator!=(const char* s) const { return !(*this == s); }
    // Two strings are equal when they hold the same bytes (an embedded NUL counts).
    bool operator==(const cStr& s) const { return length == s.length && memcmp(ToChar(), s.ToChar(), length) == 0; }
    bool operator!=(const cStr& s) const { return !(*this == s); }
    bool operator<(const cStr& s) const { return Compare(ToChar(), s.ToChar()) < 0; }

    // ---- Editing; count = -1 means to the end of the argument ----
    void Copy(const char* s, int start, int count);
    void Copy(const char* s) { Copy(s, 0, -1); }
    void Copy(const cStr& s);  // a string without a buffer copies without allocating
    void Append(const char* s, int start, int count);
    void Append(const cStr& s, int start = 0, int count = -1);
    void Append(const char* s) { Append(s, 0, -1); }
    void Append(char c, int count = 1) {
        if (count == 1 && length + 1 < capacity) {  // the common case: it fits
            buffer[length++] = c;
            buffer[length] = 0;
            return;
        }
        AppendFill(c, count);
    }
    cStr& operator+=(const char* s) { Append(s); return *this; }
    cStr& operator+=(const cStr& s) { Append(s); return *this; }
    cStr& operator+=(char c) { Append(c); return *this; }
    void Insert(int pos, const char* s, int start = 0, int count = -1);
    void Insert(int pos, const cStr& s, int start = 0, int count = -1);
    void Insert(int pos, char c, int count = 1);
    void Remove(int start, int count = -1);
    void SetLength(int length, char fill = ' ');
    void Replace(char from, char to, int start = 0, int count = -1);
    void ReplaceAny(const char* set, char to, int start = 0, int count = -1);
    // Occurrences of what within the range, left to right; an empty what matches nothing.
    void Replace(const char* what, const char* with, int start = 0, int count = -1, bool noCase = false);
    void ReplaceFirst(const char* what, const char* with, int start = 0, int count = -1, bool noCase = false);
    void TrimStart(const char* set);
    void TrimEnd(const char* set);
    void Trim(const char* set) { TrimEnd(set); TrimStart(set); }
    cStr ToUpper() const;
    cStr ToLower() const;
    static cStr Join(const char* separator, const cList<cStr>& items, int start = 0, int count = -1);

    // ---- Formatting and numbers ----
    static cStr Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));  // cut at 9998 characters
    static cStr Formatv(const char* fmt, va_list args);
    void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    static bool ToInt(const char* s, int* out);
    static bool ToFloat(const char* s, float* out);
    static bool ToIntArray(const char* s, cList<int>* out);      // false at the first bad number, out holds those before
    static bool ToFloatArray(const char* s, cList<float>* out);
    static cStr ToString(const int* values, int count, const char* separator);
    static cStr ToString(const float* values, int count, int precision, const char* separator);
    static cStr ToString(const double* values, int count, int precision, const char* separator);
    static void Split(const char* text, cList<cStr>* out, const char* delimiters);  // no empty items

    // ---- Text encoding ----
    bool DecodeUTF8(cList<unsigned short>* out) const;  // UTF-16 units; false on a bad sequence
    int  CalcUTF8Length(int pos) const;                 // bytes of the sequence at pos; 0 past the end

    // ---- Paths: '/' and '\\' both separate; '\\' is written ----
    cStr GetFileExtension() const;
    cStr GetFileName() const;
    cStr GetFileBase() const;
    cStr GetFilePath() const;
    void RemoveFileExtension();
    void RemoveFileName();
    void RemoveFilePath();
    void SetFileExtension(const char* ext);
    void SetFileDefaultExtension(const char* ext);
    void SetFilePath(const char* path);
    void SetFileDefaultPath(const char* path);
    void RemoveFileAbsPath(const char* base);
    void AppendPath(const char* part);
    void EnsureTrailingBackslash();
    void SlashesToBackSlashes() { Replace('/', '\\'); }
    void BackSlashesToSlashes() { Replace('\\', '/'); }
    static bool IsSeparator(char c) { return c == '/' || c == '\\'; }

    // ---- Short-string store (20-byte buffers cut from 5120-byte slabs) ----
    static char* getstr();
    static void  freestr(char* p);
    static int   FreeShortCount();  // free buffers, shared and in the threads' caches (diagnostic)
    static int   ShortSlabCount();  // slabs allocated so far (diagnostic)

private:
    friend cStr operator+(const cStr& a, const cStr& b);

    void Reserve(int need, int extra = 0);  // growth rule: room for need bytes (text + NUL)
    void Release();                         // give the buffer back by the release rule
    void Forget() { buffer = nullptr; length = capacity = 0; }  // after the buffer moved elsewhere
    void TakeCopy(const char* s, int n);    // a new buffer for n characters of s (no buffer yet)
    void TakeShort();                       // a short buffer holding ""
    bool Owns(const char* p) const;         // p points into our buffer
    void Assign(const char* from, int n);
    void AppendChars(const char* from, int n);
    void AppendFill(char c, int count);
    void InsertChars(int pos, const char* from, int n);
    bool MatchesAt(int i, const char* what, int wlen, bool noCase) const;
    void ReplaceText(const char* what, const char* with, int start, int count, bool noCase, bool first);
    int  LastSeparator(int end) const;      // last separator before end, -1 when none
    int  ExtensionDot() const;              // the extension's dot, -1 when none

    char* buffer;
    int   length;
    int   capacity;
};

cStr operator+(const cStr& a, const cStr& b);

}  // namespace zozud
