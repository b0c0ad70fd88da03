// Formatting, number parsing and splitting of cStr. Numbers are read by
// hand rather than with strtod: the decimal separator may be '.' or ',', the
// exponent may be written with 'd', and the locale never matters. They are
// written by the C library under the "C" locale, whatever the process's
// locale is (gtk_init sets every category from the desktop's environment,
// and a comma-decimal locale would write "1,500", which reads back as two
// numbers).
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "zozud/core/Str.h"

namespace zozud {

namespace {

const int FormatBufferSize = 9999;  // longer output is cut at 9998 characters

const char* SkipBlanks(const char* s) {
    while (*s == ' ' || *s == '\t') s++;
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads an optional sign; returns -1 or 1.
int ReadSign(const char** s) {
    if (**s == '+' || **s == '-') return *(*s)++ == '-' ? -1 : 1;
    return 1;
}

// Ten to the power e (e >= 0) by repeated squaring.
double PowerOfTen(int e) {
    double result = 1.0, square = 10.0;
    for (; e > 0; e >>= 1, square *= square)
        if (e & 1) result *= square;
    return result;
}

// The exponent after 'e', 'E', 'd' or 'D'; 0 when there is none.
int ReadExponent(const char* s) {
    if (*s != 'e' && *s != 'E' && *s != 'd' && *s != 'D') return 0;
    s++;
    int sign = ReadSign(&s), e = 0;
    for (; IsDigit(*s); s++)
        if (e < 100000) e = e * 10 + (*s - '0');
    return sign * e;
}

// The "C" locale, made once and never freed; uselocale switches only the
// calling thread, so formatting on other threads is not disturbed.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return c;
}

// Formats into a buffer of FormatBufferSize bytes; the length of the text,
// cut at FormatBufferSize - 1 characters.
int FormatInto(char* text, const char* fmt, va_list args) {
    locale_t c = CLocale();
    locale_t previous = c ? uselocale(c) : (locale_t)0;
    int n = vsnprintf(text, FormatBufferSize, fmt ? fmt : "", args);
    if (c) uselocale(previous);
    if (n < 0) {
        text[0] = 0;
        return 0;
    }
    return n < FormatBufferSize ? n : FormatBufferSize - 1;
}

}  // namespace

cStr cStr::Formatv(const char* fmt, va_list args) {
    char text[FormatBufferSize];
    int n = FormatInto(text, fmt, args);
    cStr out;
    out.Assign(text, n);
    return out;
}

cStr cStr::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    cStr out = Formatv(fmt, args);
    va_end(args);
    return out;
}

void cStr::AppendFormat(const char* fmt, ...) {
    char text[FormatBufferSize];
    va_list args;
    va_start(args, fmt);
    int n = FormatInto(text, fmt, args);
    va_end(args);
    AppendChars(text, n);
}

bool cStr::ToInt(const char* s, int* out) {
    int ignored;
    if (!out) out = &ignored;
    *out = 0;
    if (!s) return false;
    s = SkipBlanks(s);
    int sign = ReadSign(&s);
    if (!IsDigit(*s)) return false;
    unsigned value = 0;  // wraps like 32-bit arithmetic, without undefined overflow
    for (; IsDigit(*s); s++) value = value * 10u + unsigned(*s - '0');
    *out = int(sign < 0 ? 0u - value : value);
    return true;
}

// The mantissa and the power of ten are both taken in double and the result
// rounded to float once: the result is within a rounding step of the exact
// value, tiny results end as denormals rather than 0, and the long digit runs
// of "%.3f" texts of large floats (39 digits for 3e38) do not overflow.
bool cStr::ToFloat(const char* s, float* out) {
    float ignored;
    if (!out) out = &ignored;
    *out = 0;
    if (!s) return false;
    s = SkipBlanks(s);
    int sign = ReadSign(&s);
    double mantissa = 0;
    int digits = 0, fraction = 0;
    for (; IsDigit(*s); s++, digits++) mantissa = mantissa * 10 + (*s - '0');
    if (*s == '.' || *s == ',') {
        for (s++; IsDigit(*s); s++, digits++, fraction++) mantissa = mantissa * 10 + (*s - '0');
    }
    if (!digits) return false;
    int e = ReadExponent(s) - fraction;
    if (e < -125 || e > 128) return false;
    double value = e >= 0 ? mantissa * PowerOfTen(e) : mantissa / PowerOfTen(-e);
    float result = float(sign * value);
    if (std::isinf(result)) return false;
    *out = result;
    return true;
}

namespace {

// Calls parse on every item of s between the separators " ,;\t"; stops at
// the first item it refuses.
template <class F>
bool ParseItems(const char* s, F parse) {
    if (!s) return true;
    const char* separators = " ,;\t";
    char item[64];
    while (*s) {
        while (*s && strchr(separators, *s)) s++;
        int n = (int)strcspn(s, separators);
        if (!n) break;
        bool ok;
        if (n < (int)sizeof(item)) {
            memcpy(item, s, n);
            item[n] = 0;
            ok = parse(item);
        } else {
            ok = parse(cStr(s, 0, n).ToChar());
        }
        if (!ok) return false;
        s += n;
    }
    return true;
}

}  // namespace

bool cStr::ToIntArray(const char* s, cList<int>* out) {
    out->Clear();
    return ParseItems(s, [out](const char* item) {
        int v;
        if (!ToInt(item, &v)) return false;
        out->Add(v);
        return true;
    });
}

bool cStr::ToFloatArray(const char* s, cList<float>* out) {
    out->Clear();
    return ParseItems(s, [out](const char* item) {
        float v;
        if (!ToFloat(item, &v)) return false;
        out->Add(v);
        return true;
    });
}

cStr cStr::ToString(const int* values, int count, const char* separator) {
    cStr out;
    for (int i = 0; i < count; i++) {
        if (i) out.Append(separator);
        out.AppendFormat("%d", values[i]);
    }
    return out;
}

namespace {

template <class F>
cStr FixedList(const F* values, int count, int precision, const char* separator) {
    if (precision < 0) precision = 0;
    if (precision > 100) precision = 100;
    cStr fmt = cStr::Format("%%.%df", precision);
    cStr out;
    for (int i = 0; i < count; i++) {
        if (i) out.Append(separator);
        out.AppendFormat(fmt, double(values[i]));
    }
    return out;
}

}  // namespace

cStr cStr::ToString(const float* values, int count, int precision, const char* separator) {
    return FixedList(values, count, precision, separator);
}

cStr cStr::ToString(const double* values, int count, int precision, const char* separator) {
    return FixedList(values, count, precision, separator);
}

// Works on a copy, so text may even be one of out's own strings. Items are
// written into out's slots, whose buffers are reused from an earlier split.
void cStr::Split(const char* text, cList<cStr>* out, const char* delimiters) {
    out->Clear();
    if (!text || !*text) return;
    if (!delimiters || !*delimiters) {
        out->Add(cStr(text));
        return;
    }
    cStr copy(text);
    char cut = delimiters[0];
    copy.ReplaceAny(delimiters, cut);
    const char* s = copy.ToChar();
    for (int i = 0, n = copy.Length(); i < n;) {
        while (i < n && s[i] == cut) i++;
        int start = i;
        while (i < n && s[i] != cut) i++;
        if (i == start) continue;
        int k = out->Count();
        out->SetCount(k + 1);
        (*out)[k].Assign(s + start, i - start);
    }
}

}  // namespace zozud
