// cVec<T, N>: N (1 to 4) packed components of T (float or 32-bit int). Surprise:
// the default constructor sets every component to UNDEFINED (FLT_MAX for
// float, 2147483647 for int), the marker that empty boxes are built from.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <ostream>

#include "zozud/core/Str.h"

namespace zozud {

template <class T> struct cVecTraits;
template <> struct cVecTraits<float> { static constexpr float UNDEFINED = FLT_MAX; };
template <> struct cVecTraits<int>   { static constexpr int   UNDEFINED = 2147483647; };

template <class T, size_t N>
class cVec {
    static_assert(N >= 1 && N <= 4, "cVec holds 1 to 4 components");
public:
    static constexpr T UNDEFINED = cVecTraits<T>::UNDEFINED;

    T v[N];

    cVec() { for (size_t i = 0; i < N; i++) v[i] = UNDEFINED; }
    explicit cVec(T all) { for (size_t i = 0; i < N; i++) v[i] = all; }
    cVec(T x, T y) { static_assert(N == 2, "two components"); v[0] = x; v[1] = y; }
    cVec(T x, T y, T z) { static_assert(N == 3, "three components"); v[0] = x; v[1] = y; v[2] = z; }
    cVec(T x, T y, T z, T w) { static_assert(N == 4, "four components"); v[0] = x; v[1] = y; v[2] = z; v[3] = w; }
    static cVec ZERO() { return cVec(T(0)); }

    // ---- Components ----
    T        operator[](size_t i) const { return v[i]; }
    T&       operator[](size_t i) { return v[i]; }
    const T* ToPtr() const { return v; }
    T*       ToPtr() { return v; }
    bool IsUndefined() const;  // every component UNDEFINED

    // ---- Arithmetic, component-wise ----
    bool operator==(const cVec& o) const;
    bool operator!=(const cVec& o) const { return !(*this == o); }
    cVec operator+(const cVec& o) const { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = v[i] + o.v[i]; return r; }
    cVec operator-(const cVec& o) const { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = v[i] - o.v[i]; return r; }
    cVec operator*(T s) const { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = v[i] * s; return r; }
    cVec operator-() const { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = -v[i]; return r; }
    cVec& operator+=(const cVec& o) { for (size_t i = 0; i < N; i++) v[i] += o.v[i]; return *this; }
    cVec& operator-=(const cVec& o) { for (size_t i = 0; i < N; i++) v[i] -= o.v[i]; return *this; }
    T    Dot(const cVec& o) const { T s = 0; for (size_t i = 0; i < N; i++) s += v[i] * o.v[i]; return s; }
    T    LengthSq() const { return Dot(*this); }
    float Length() const { return std::sqrt(float(LengthSq())); }
    void Normalize();  // float only in practice; a zero vector stays zero
    static cVec Min(const cVec& a, const cVec& b) { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = a.v[i] < b.v[i] ? a.v[i] : b.v[i]; return r; }
    static cVec Max(const cVec& a, const cVec& b) { cVec r; for (size_t i = 0; i < N; i++) r.v[i] = a.v[i] > b.v[i] ? a.v[i] : b.v[i]; return r; }

    // ---- Text: components separated by one space (ints in decimal, floats with precision decimals) ----
    cStr ToString(int precision = 2) const;
};

// ---- Inline implementation ----

template <class T, size_t N>
bool cVec<T, N>::IsUndefined() const {
    for (size_t i = 0; i < N; i++)
        if (v[i] != UNDEFINED) return false;
    return true;
}

template <class T, size_t N>
bool cVec<T, N>::operator==(const cVec& o) const {
    for (size_t i = 0; i < N; i++)
        if (v[i] != o.v[i]) return false;
    return true;
}

template <class T, size_t N>
void cVec<T, N>::Normalize() {
    float len = Length();
    if (len > 0)
        for (size_t i = 0; i < N; i++) v[i] = T(v[i] / len);
}

template <class T, size_t N>
cStr cVec<T, N>::ToString(int precision) const {
    (void)precision;
    return cStr::ToString(v, int(N), " ");
}

template <>
inline cStr cVec<float, 1>::ToString(int precision) const { return cStr::ToString(v, 1, precision, " "); }
template <>
inline cStr cVec<float, 2>::ToString(int precision) const { return cStr::ToString(v, 2, precision, " "); }
template <>
inline cStr cVec<float, 3>::ToString(int precision) const { return cStr::ToString(v, 3, precision, " "); }
template <>
inline cStr cVec<float, 4>::ToString(int precision) const { return cStr::ToString(v, 4, precision, " "); }

// Stream output: "[" then the components separated by ", " then "]".
template <class T, size_t N>
std::ostream& operator<<(std::ostream& os, const cVec<T, N>& a) {
    os << "[";
    for (size_t i = 0; i < N; i++) os << (i ? ", " : "") << a.v[i];
    return os << "]";
}

// cStr output: appends ToString(2).
template <class T, size_t N>
cStr& operator<<(cStr& s, const cVec<T, N>& a) {
    s.Append(a.ToString(2));
    return s;
}

static_assert(sizeof(cVec<int, 2>) == 8 && sizeof(cVec<int, 3>) == 12, "cVec is packed");
static_assert(sizeof(cVec<float, 4>) == 16, "cVec is packed");

}  // namespace zozud
