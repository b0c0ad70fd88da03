// cFile: bytes in memory with a cursor that reads and writes move. The
// cursor always lies within 0..size; writes insert, ReplaceBytes overwrites
// without growing, SetPosMutable pads with zero bytes.
#include <climits>
#include <cstdint>
#include <cstring>

#include "zozud/io/File.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

namespace {

bool Overlaps(const void* p, int n, const cList<unsigned char>& data) {
    uintptr_t a = (uintptr_t)p, begin = (uintptr_t)data.GetPtr();
    return begin && a < begin + (uintptr_t)data.Capacity() && a + (uintptr_t)n > begin;
}

}  // namespace

// ---- Contents ----

void cFile::Set(cList<unsigned char>* bytes, const char* n) {
    if (bytes) {
        data = std::move(*bytes);
    } else {
        data.Free();
    }
    name = n;
    position = 0;
}

void cFile::Copy(const void* bytes, int size, const char* n) {
    cList<unsigned char> copy;
    if (bytes && size > 0) copy.AddRange(static_cast<const unsigned char*>(bytes), size);
    Set(&copy, n);
}

void cFile::Clear() {
    data.Free();
    name.Clear();
    position = 0;
}

// ---- Cursor ----

void cFile::SetPos(int pos) const {
    int size = data.Count();
    position = pos < 0 ? 0 : pos > size ? size : pos;
}

int cFile::SetPosMutable(int pos) {
    if (pos < 0) pos = 0;
    int size = data.Count();
    if (pos > size) {
        if (data.SetCount(pos)) memset(data.GetPtr() + size, 0, pos - size);  // a kept block may hold old bytes there
        else pos = size;  // could not grow: the cursor stops at the end
    }
    position = pos;
    return position;
}

// ---- Bytes ----

int cFile::ReadBytes(void* dst, int n) const {
    int left = data.Count() - position;
    if (left <= 0) return -1;
    int count = n < 0 ? 0 : n < left ? n : left;
    if (dst && count) memcpy(dst, data.GetPtr() + position, count);
    position += count;
    return count;
}

bool cFile::WriteBytes(const void* src, int n) {
    int size = data.Count();
    if (!src || n <= 0) return n == 0;
    if (n > INT_MAX - size) return false;
    cList<unsigned char> own;  // the source may be our own bytes, which may move
    if (Overlaps(src, n, data)) {
        if (!own.AddRange(static_cast<const unsigned char*>(src), n)) return false;
        src = own.GetPtr();
    }
    if (!data.SetCount(size + n)) return false;
    unsigned char* bytes = data.GetPtr();
    memmove(bytes + position + n, bytes + position, size - position);
    memcpy(bytes + position, src, n);
    position += n;
    return true;
}

int cFile::ReplaceBytes(const void* src, int n) {
    int left = data.Count() - position;
    if (left <= 0) return -1;
    int count = !src || n < 0 ? 0 : n < left ? n : left;
    if (count) memmove(data.GetPtr() + position, src, count);
    position += count;
    return count;
}

// ---- Values ----

bool cFile::ReadFloat(float* f) const {
    if (data.Count() - position < 4) return false;
    memcpy(f, data.GetPtr() + position, 4);
    position += 4;
    return true;
}

void cFile::WriteVec3(const cVec3& v) {
    WriteFloat(v.x);
    WriteFloat(v.y);
    WriteFloat(v.z);
}

bool cFile::ReadVec2(cVec2* v) const {
    cVec2 scratch;
    if (!v) v = &scratch;
    return ReadFloat(&v->x) && ReadFloat(&v->y);
}

bool cFile::ReadVec3(cVec3* v) const {
    cVec3 scratch;
    if (!v) v = &scratch;
    return ReadFloat(&v->x) && ReadFloat(&v->y) && ReadFloat(&v->z);
}

void cFile::WriteString(const char* text) {
    if (text) WriteBytes(text, (int)strlen(text));
}

// Skips the delimiters at the cursor, takes the token up to the next one and
// consumes exactly one delimiter behind it. A zero byte is no delimiter.
bool cFile::ReadString(cStr* out, const char* delimiters) const {
    cStr scratch;
    if (!out) out = &scratch;
    out->Clear();
    int size = data.Count();
    if (position >= size) return false;
    const unsigned char* bytes = data.GetPtr();
    auto isDelimiter = [delimiters](unsigned char c) { return c && delimiters && strchr(delimiters, c); };
    while (position < size && isDelimiter(bytes[position])) position++;
    int start = position;
    while (position < size && !isDelimiter(bytes[position])) position++;
    if (position > start) {
        out->SetLength(position - start);
        memcpy(out->GetBuffer(), bytes + start, position - start);
    }
    if (position < size) position++;
    return true;
}

}  // namespace zozud
