// cFile: an in-memory file, a byte buffer with a cursor. Every load and save
// of the framework passes through one. Reads are const and still move the
// cursor; writes insert at the cursor. Numbers are little-endian.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

namespace zozud {

class cVec2;
class cVec3;

class cFile {
public:
    cFile() : position(0) {}

    // ---- Contents ----
    void Set(cList<unsigned char>* bytes, const char* name);  // takes the list's buffer
    void Copy(const void* bytes, int size, const char* name);
    void Clear();
    const cStr& GetName() const { return name; }
    void SetName(const char* n) { name = n; }
    int  GetSize() const { return data.Count(); }
    const unsigned char* GetData() const { return data.GetPtr(); }
    unsigned char*       GetDataMutable() { return data.GetPtr(); }
    const cList<unsigned char>& GetBytes() const { return data; }

    // ---- Cursor ----
    int  GetPos() const { return position; }
    void SetPos(int pos) const;         // clamped to 0..size
    int  SetPosMutable(int pos);        // beyond the end: extends with zero bytes (stops at the end when it cannot)
    bool IsEnd() const { return position >= data.Count(); }

    // ---- Bytes ----
    int  ReadBytes(void* dst, int n) const;      // -1 at the end, else bytes read
    bool WriteBytes(const void* src, int n);     // inserts at the cursor; false (nothing written) when it cannot grow
    int  ReplaceBytes(const void* src, int n);   // overwrites, never grows; -1 at the end

    // ---- Values ----
    void WriteShort(short v) { WriteBytes(&v, 2); }
    void WriteWord(unsigned short v) { WriteBytes(&v, 2); }
    void WriteInt(int v) { WriteBytes(&v, 4); }
    void WriteFloat(float v) { WriteBytes(&v, 4); }
    void WriteVec3(const cVec3& v);
    bool ReadVec2(cVec2* v) const;
    bool ReadVec3(cVec3* v) const;
    void WriteString(const char* text);                            // no terminating zero
    bool ReadString(cStr* out, const char* delimiters) const;     // false at the end

private:
    bool ReadFloat(float* f) const;

    cStr                 name;
    cList<unsigned char> data;
    mutable int          position;
};

}  // namespace zozud
