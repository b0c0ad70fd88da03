// Memory, comparison and editing of cStr. The formatting, number, encoding
// and path operations live in StrFormat.cpp, StrUtf8.cpp and StrPath.cpp.
//
// Two allocators serve the buffers: short ones (20 bytes) come from a free
// list cut from 5120-byte slabs, longer ones from cPool in multiples of 32.
//
// The short-string store is shared by every thread. So that the common case
// takes no lock, each thread keeps up to 64 free buffers of its own in front
// of the shared list, last in first out: a string freed on a thread is the
// next one that thread takes. Only when its cache is empty or full does a
// thread move 32 buffers from or to the shared list, under ZOZUD_CSTR_MUTEX,
// in an order that hands out the highest buffer of a fresh slab first. A
// buffer freed on another thread than the one that took it joins the cache of
// the thread that frees it; a thread that ends gives its cache back.
//
// Under AddressSanitizer a free short buffer is poisoned past its mark byte,
// so a string used after it was freed is reported.
#include "zozud/core/Str.h"

#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstring>
#include <functional>

#include "zozud/core/Pool.h"
#include "zozud/core/Thread.h"

namespace zozud {

namespace {

const int  ShortSize = 20;    // bytes of a short-string buffer
const int  SlabSize = 5120;   // 256 short buffers
const char FreeMark = 31;     // first byte of a buffer on the free list
const int  LongUnit = 32;     // long buffers are multiples of this

const int CacheSize = 64;     // free buffers a thread keeps
const int CacheBatch = 32;    // buffers moved to or from the shared list at once

// One thread's free buffers, the most recently freed last. Only the owner
// touches it; count is also read by FreeShortCount on other threads, so the
// owner stores it atomically (a plain store on the machines we build for).
struct ShortCache {
    char* items[CacheSize];
    int   count;
    int   limit;  // CacheSize while in use; 0 before the first call and after the thread ended
    bool  ended;  // the thread is ending: its calls go to the shared list
};

struct ShortStore {
    pthread_mutex_t     mutex;         // ZOZUD_CSTR_MUTEX
    cList<char*>        free_strings;  // 20-byte buffers ready for use
    cList<char*>        pool;          // every slab ever allocated; never freed
    cList<ShortCache*>  caches;        // the caches of the threads in use
};

// Zero-initialised and without a destructor, so reaching it costs no check.
thread_local ShortCache t_short;

// Created by the first string that needs a short buffer (cStr::Empty, during
// static construction) and never destroyed: strings are freed until exit.
ShortStore& Store() {
    static ShortStore* ZOZUD_CSTR_STORE = [] {
        auto* s = new ShortStore;
        cThread::CreateMutex(s->mutex);
        return s;
    }();
    return *ZOZUD_CSTR_STORE;
}

void SetCount(ShortCache& c, int n) { __atomic_store_n(&c.count, n, __ATOMIC_RELAXED); }

// Neighbouring 20-byte buffers share AddressSanitizer's 8-byte shadow
// granules, and the buffers of different threads change state without a
// lock: only the granules that lie wholly inside a buffer, past its mark
// byte, are ever poisoned, so no two buffers write the same shadow byte.
void PoisonShort(char* p, bool poison) {
    uintptr_t begin = ((uintptr_t)p + 1 + 7) & ~uintptr_t(7), end = ((uintptr_t)p + ShortSize) & ~uintptr_t(7);
    if (begin >= end) return;
    if (poison)
        ASAN_POISON_MEMORY_REGION((void*)begin, end - begin);
    else
        ASAN_UNPOISON_MEMORY_REGION((void*)begin, end - begin);
}

// A new slab: 256 marked buffers pushed in address order, so the highest
// one is used first.
void AddSlab(ShortStore& s) {
    char* slab = new char[SlabSize];
    s.pool.Add(slab);
    s.free_strings.EnsureCapacity(s.free_strings.Count() + SlabSize / ShortSize, false);
    for (int i = 0; i < SlabSize / ShortSize; i++) {
        char* p = slab + i * ShortSize;
        p[0] = FreeMark;
        PoisonShort(p, true);
        s.free_strings.Add(p);
    }
}

// Runs when a thread that used the store ends: its buffers go back to the
// shared list and its later calls (destructors that run after this one) use
// the shared list directly.
struct ShortCacheOwner {
    ~ShortCacheOwner() {
        ShortStore& s = Store();
        ShortCache& c = t_short;
        cMutexLock lock(s.mutex);
        s.free_strings.AddRange(c.items, c.count);
        SetCount(c, 0);
        c.limit = 0;
        c.ended = true;
        s.caches.Remove(&c);
    }
};

// The first call of a thread: its cache joins the store (under the mutex).
void JoinStore(ShortStore& s, ShortCache& c) {
    static thread_local ShortCacheOwner owner;
    (void)owner;
    c.limit = CacheSize;
    s.caches.Add(&c);
}

// The cache is empty: the top buffers of the shared list (a new slab when
// there are none) move into it, keeping their order, and the topmost is used.
__attribute__((noinline)) char* TakeShared(ShortCache& c) {
    ShortStore& s = Store();
    cMutexLock lock(s.mutex);
    if (!c.limit && !c.ended) JoinStore(s, c);
    if (s.free_strings.IsEmpty()) AddSlab(s);
    int n = s.free_strings.Count();
    int moved = c.ended ? 0 : (n - 1 < CacheBatch ? n - 1 : CacheBatch);
    char** top = s.free_strings.GetPtr() + n - 1 - moved;
    memcpy(c.items, top, sizeof(char*) * moved);
    SetCount(c, moved);
    char* p = top[moved];
    s.free_strings.SetCount(n - 1 - moved);
    return p;
}

// The cache is full (or not in use): its older half moves to the shared list.
__attribute__((noinline)) void GiveShared(ShortCache& c, char* p) {
    ShortStore& s = Store();
    cMutexLock lock(s.mutex);
    if (!c.limit && !c.ended) JoinStore(s, c);
    if (c.ended) {
        s.free_strings.Add(p);
        return;
    }
    if (c.count == CacheSize) {
        s.free_strings.AddRange(c.items, CacheBatch);
        memmove(c.items, c.items + CacheBatch, sizeof(char*) * (CacheSize - CacheBatch));
        SetCount(c, CacheSize - CacheBatch);
    }
    c.items[c.count] = p;
    SetCount(c, c.count + 1);
}

int RoundUp(int need) { return (need + LongUnit - 1) / LongUnit * LongUnit; }

// Characters of s from start (already >= 0), at most count (count < 0: to
// the end); reads no further than it has to.
int Span(const char* s, int start, int count) {
    size_t limit = count < 0 ? (size_t)-1 : (size_t)start + (size_t)count;
    size_t available = strnlen(s, limit);
    return available > (size_t)start ? int(available - start) : 0;
}

// The part [start, start + count) of a text of the given length, clamped.
int ClampCount(int available, int* start, int count) {
    if (*start < 0) *start = 0;
    if (*start > available) *start = available;
    int left = available - *start;
    return (count < 0 || count > left) ? left : count;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool InSet(const char* set, char c) { return c && strchr(set, c); }

}  // namespace

const char cStr::def_str[1] = {0};
cStr cStr::Empty("");

// ---- Short-string store ----

char* cStr::getstr() {
    ShortCache& c = t_short;
    int n = c.count;
    char* p;
    if (__builtin_expect(n > 0, 1)) {
        p = c.items[n - 1];
        SetCount(c, n - 1);
    } else {
        p = TakeShared(c);
    }
    PoisonShort(p, false);
    return p;
}

void cStr::freestr(char* p) {
    p[0] = FreeMark;
    PoisonShort(p, true);
    ShortCache& c = t_short;
    int n = c.count;
    if (__builtin_expect(n < c.limit, 1)) {
        c.items[n] = p;
        SetCount(c, n + 1);
    } else {
        GiveShared(c, p);
    }
}

// The shared list and every cache of a live thread; a cache may change while
// it is read, so the figure is exact only while the other threads stand still.
int cStr::FreeShortCount() {
    ShortStore& s = Store();
    cMutexLock lock(s.mutex);
    int n = s.free_strings.Count();
    for (ShortCache* c : s.caches) n += __atomic_load_n(&c->count, __ATOMIC_RELAXED);
    return n;
}

int cStr::ShortSlabCount() {
    ShortStore& s = Store();
    cMutexLock lock(s.mutex);
    return s.pool.Count();
}

// ---- Memory ----

// The constructors take their buffer by the growth rule directly: a short
// one for up to 18 characters, else a pool block.
cStr::cStr(const char* s) : cStr() {
    if (s) TakeCopy(s, (int)strlen(s));
}

cStr::cStr(const char* s, int start, int count) : cStr() { Copy(s, start, count); }

cStr::cStr(const cStr& s) : cStr() {
    if (s.buffer) TakeCopy(s.buffer, s.length);
}

void cStr::TakeCopy(const char* s, int n) {
    if (n < ShortSize - 1) {
        buffer = getstr();
        capacity = ShortSize;
    } else {
        capacity = RoundUp(n + 1);
        buffer = reinterpret_cast<char*>(cPool::Alloc(capacity));
    }
    memcpy(buffer, s, n);
    buffer[n] = 0;
    length = n;
}

void cStr::Release() {
    if (capacity > ShortSize)
        cPool::Free(reinterpret_cast<unsigned char*>(buffer), capacity);
    else if (buffer)
        freestr(buffer);
}

void cStr::Free() {
    Release();
    buffer = nullptr;
    length = capacity = 0;
}

void cStr::Clear() {
    if (buffer) buffer[0] = 0;
    length = 0;
}

void cStr::TakeShort() {
    buffer = getstr();
    buffer[0] = 0;
    capacity = ShortSize;
}

// A discarded text leaves the string empty, and a kept text that no longer
// fits is cut to the new capacity, so the length always matches the text.
void cStr::Resize(int size, bool keep) {
    if (!buffer && size < ShortSize) {
        TakeShort();
        return;
    }
    int newCapacity = RoundUp(size < 1 ? 1 : size);
    char* p = reinterpret_cast<char*>(cPool::Alloc(newCapacity));
    int kept = keep && buffer ? (length < newCapacity ? length : newCapacity - 1) : 0;
    memcpy(p, ToChar(), kept);
    p[kept] = 0;
    Release();
    buffer = p;
    length = kept;
    capacity = newCapacity;
}

// The growth rule: room for need bytes (text and NUL) plus extra bytes for a
// separator the caller may add. No geometric growth.
void cStr::Reserve(int need, int extra) {
    need += extra;
    if (need <= capacity) return;
    if (!buffer && need <= ShortSize - 1) {
        TakeShort();
        return;
    }
    int newCapacity = RoundUp(need);
    char* p = reinterpret_cast<char*>(cPool::Alloc(newCapacity));
    memcpy(p, ToChar(), length + 1);
    Release();
    buffer = p;
    capacity = newCapacity;
}

bool cStr::Owns(const char* p) const {
    return buffer && std::less_equal<const char*>()(buffer, p) && std::less<const char*>()(p, buffer + capacity);
}

// ---- Comparison ----

// A null pointer reads as "" on either side.
int cStr::Compare(const char* a, const char* b, int n) {
    if (!a) a = def_str;
    if (!b) b = def_str;
    for (int i = 0; n < 0 || i < n; i++) {
        signed char ca = (signed char)a[i], cb = (signed char)b[i];
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
    }
    return 0;
}

int cStr::CompareNoCase(const char* a, const char* b, int n) {
    if (!a) a = def_str;
    if (!b) b = def_str;
    for (int i = 0; n < 0 || i < n; i++) {
        signed char ca = (signed char)Lower(a[i]), cb = (signed char)Lower(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
    }
    return 0;
}

namespace {

char PathChar(char c) { return c == '\\' ? '/' : Lower(c); }
bool Continues(const char* s, int i) { return s[i] && s[i] != '/' && s[i] != '\\'; }

// Judges the first difference of two paths at index i: a path whose current
// component is its last sorts before one that has further components, so a
// file comes before the subfolders of its folder.
int PathDifference(const char* a, const char* b, int i) {
    int ea = i, eb = i;
    while (Continues(a, ea)) ea++;
    while (Continues(b, eb)) eb++;
    bool aEnds = a[ea] == 0, bEnds = b[eb] == 0;
    if (aEnds != bEnds) return aEnds ? -1 : 1;
    return (signed char)PathChar(a[i]) < (signed char)PathChar(b[i]) ? -1 : 1;
}

}  // namespace

int cStr::ComparePath(const char* a, const char* b, int n) {
    if (!a) a = def_str;
    if (!b) b = def_str;
    for (int i = 0; n < 0 || i < n; i++) {
        if (PathChar(a[i]) != PathChar(b[i])) return PathDifference(a, b, i);
        if (!a[i]) return 0;
    }
    // The first n characters agree: a whole-component prefix test.
    if (Continues(b, n)) return -1;
    if (Continues(a, n)) return 1;
    return 0;
}

bool cStr::EqualsNoCase(const cStr* a, const cStr* b) {
    return CompareNoCase(a ? a->ToChar() : def_str, b ? b->ToChar() : def_str) == 0;
}

bool cStr::MatchesAt(int i, const char* what, int wlen, bool noCase) const {
    return noCase ? CompareNoCase(buffer + i, what, wlen) == 0 : memcmp(buffer + i, what, wlen) == 0;
}

int cStr::IndexOf(const char* what, int start, int count, bool noCase) const {
    int wlen = what ? (int)strlen(what) : 0;
    if (!length || !wlen || start < 0 || start >= length) return -1;
    int end = ClampCount(length, &start, count);
    end += start;
    for (int i = start; i + wlen <= end; i++)
        if (MatchesAt(i, what, wlen, noCase)) return i;
    return -1;
}

// ---- Editing ----

// Replaces the text by n characters at from; from may lie in our own buffer.
void cStr::Assign(const char* from, int n) {
    if (Owns(from)) {
        memmove(buffer, from, n);
    } else {
        Clear();
        Reserve(n + 1);
        memcpy(buffer, from, n);
    }
    length = n;
    buffer[n] = 0;
}

void cStr::AppendChars(const char* from, int n) {
    if (n <= 0) return;
    if (Owns(from)) {  // our own text: it moves when the buffer grows
        ptrdiff_t offset = from - buffer;
        Reserve(length + n + 1);
        from = buffer + offset;
    } else {
        Reserve(length + n + 1);
    }
    memcpy(buffer + length, from, n);
    length += n;
    buffer[length] = 0;
}

void cStr::InsertChars(int pos, const char* from, int n) {
    if (n <= 0) return;
    if (Owns(from)) {  // the text shifts under from: insert a copy
        cStr part;
        part.Assign(from, n);
        InsertChars(pos, part.buffer, n);
        return;
    }
    if (pos < 0) pos = 0;
    if (pos > length) pos = length;
    Reserve(length + n + 1);
    memmove(buffer + pos + n, buffer + pos, length - pos + 1);
    memcpy(buffer + pos, from, n);
    length += n;
}

void cStr::Copy(const char* s, int start, int count) {
    if (!s) {
        Clear();
        return;
    }
    if (start < 0) start = 0;
    int n = Span(s, start, count);
    Assign(n ? s + start : s, n);
}

// A string without a buffer copies as one: copying empty strings allocates nothing.
void cStr::Copy(const cStr& s) {
    if (&s == this) return;
    if (!s.buffer) {
        Clear();
        return;
    }
    Assign(s.buffer, s.length);
}

void cStr::Append(const char* s, int start, int count) {
    if (!s) return;
    if (start < 0) start = 0;
    int n = Span(s, start, count);
    if (n) AppendChars(s + start, n);
}

void cStr::Append(const cStr& s, int start, int count) {
    int n = ClampCount(s.length, &start, count);
    AppendChars(s.ToChar() + start, n);
}

void cStr::AppendFill(char c, int count) {
    if (count <= 0) return;
    Reserve(length + count + 1);
    memset(buffer + length, c, count);
    length += count;
    buffer[length] = 0;
}

void cStr::Insert(int pos, const char* s, int start, int count) {
    if (!s) return;
    if (start < 0) start = 0;
    int n = Span(s, start, count);
    if (n) InsertChars(pos, s + start, n);
}

void cStr::Insert(int pos, const cStr& s, int start, int count) {
    int n = ClampCount(s.length, &start, count);
    InsertChars(pos, s.ToChar() + start, n);
}

void cStr::Insert(int pos, char c, int count) {
    if (count <= 0) return;
    if (pos < 0) pos = 0;
    if (pos > length) pos = length;
    Reserve(length + count + 1);
    memmove(buffer + pos + count, buffer + pos, length - pos + 1);
    memset(buffer + pos, c, count);
    length += count;
}

void cStr::Remove(int start, int count) {
    int n = ClampCount(length, &start, count);
    if (!n) return;
    memmove(buffer + start, buffer + start + n, length - start - n + 1);
    length -= n;
}

void cStr::SetLength(int newLength, char fill) {
    if (newLength < 0) newLength = 0;
    if (newLength > length) {
        Append(fill, newLength - length);
        return;
    }
    if (buffer) buffer[newLength] = 0;
    length = newLength;
}

void cStr::Replace(char from, char to, int start, int count) {
    int n = ClampCount(length, &start, count);
    for (int i = start, e = start + n; i < e; i++)
        if (buffer[i] == from) buffer[i] = to;
}

void cStr::ReplaceAny(const char* set, char to, int start, int count) {
    if (!set || !*set) return;
    int n = ClampCount(length, &start, count);
    for (int i = start, e = start + n; i < e; i++)
        if (InSet(set, buffer[i])) buffer[i] = to;
}

// Replaces the occurrences of what inside [start, start + count), scanning
// left to right without overlaps; only the first when first is set. An empty
// pattern matches nothing. Counts first so that the result is built in one
// buffer (or in place when it does not grow).
void cStr::ReplaceText(const char* what, const char* with, int start, int count, bool noCase, bool first) {
    int wlen = what ? (int)strlen(what) : 0;
    if (!wlen || !length) return;
    if (Owns(what) || Owns(with)) {  // the pattern must not change under our feet
        cStr w(what), r(with);
        ReplaceText(w, r, start, count, noCase, first);
        return;
    }
    int end = ClampCount(length, &start, count);
    end += start;
    int hits = 0;
    for (int i = start; i + wlen <= end;) {
        if (!MatchesAt(i, what, wlen, noCase)) { i++; continue; }
        hits++;
        if (first) break;
        i += wlen;
    }
    if (!hits) return;
    int rlen = with ? (int)strlen(with) : 0;
    cStr grown;
    char* out = buffer;  // shrinking or equal: in place, the writer never passes the reader
    if (rlen > wlen) {
        grown.Reserve(length + hits * (rlen - wlen) + 1);
        out = grown.buffer;
        memcpy(out, buffer, start);
    }
    int r = start, w = start;
    for (int done = 0; r + wlen <= end && done < hits;) {
        if (!MatchesAt(r, what, wlen, noCase)) { out[w++] = buffer[r++]; continue; }
        if (rlen) memcpy(out + w, with, rlen);
        w += rlen;
        r += wlen;
        done++;
    }
    memmove(out + w, buffer + r, length - r + 1);  // the rest with its NUL
    int newLength = w + length - r;
    if (out != buffer) *this = std::move(grown);
    length = newLength;
}

void cStr::Replace(const char* what, const char* with, int start, int count, bool noCase) {
    ReplaceText(what, with, start, count, noCase, false);
}

void cStr::ReplaceFirst(const char* what, const char* with, int start, int count, bool noCase) {
    ReplaceText(what, with, start, count, noCase, true);
}

void cStr::TrimStart(const char* set) {
    if (!length || !set) return;
    int i = 0;
    while (i < length && InSet(set, buffer[i])) i++;
    Remove(0, i);
}

void cStr::TrimEnd(const char* set) {
    if (!length || !set) return;
    int n = length;
    while (n > 0 && InSet(set, buffer[n - 1])) n--;
    SetLength(n);
}

cStr cStr::ToUpper() const {
    cStr out(*this);
    for (int i = 0; i < out.length; i++)
        if (out.buffer[i] >= 'a' && out.buffer[i] <= 'z') out.buffer[i] = char(out.buffer[i] - 'a' + 'A');
    return out;
}

cStr cStr::ToLower() const {
    cStr out(*this);
    for (int i = 0; i < out.length; i++) out.buffer[i] = Lower(out.buffer[i]);
    return out;
}

cStr cStr::Join(const char* separator, const cList<cStr>& items, int start, int count) {
    cStr out;
    int n = ClampCount(items.Count(), &start, count);
    if (!n) return out;
    int slen = separator ? (int)strlen(separator) : 0;
    int total = slen * (n - 1);
    for (int i = 0; i < n; i++) total += items[start + i].length;
    out.Reserve(total + 1);
    for (int i = 0; i < n; i++) {
        if (i) out.AppendChars(separator, slen);
        out.Append(items[start + i]);
    }
    return out;
}

cStr operator+(const cStr& a, const cStr& b) {
    cStr out;
    if (!a.length && !b.length) return out;
    out.Reserve(a.length + b.length + 1);
    out.Append(a);
    out.Append(b);
    return out;
}

}  // namespace zozud
