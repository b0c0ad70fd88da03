// Byte helpers shared by the image codecs: little-endian header fields, a
// bounded reader over the rest of a memory file, and an appender that grows a
// memory file once and hands out the room to fill. Surprise: the reader moves
// the file's cursor only when it is committed (or destroyed), so a codec works
// on plain pointers and never on the file's own cursor.
#pragma once

#include <cstdint>
#include <cstring>

#include "zozud/io/File.h"

namespace zozud {

inline uint16_t cCodec_U16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t cCodec_U32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void cCodec_PutU16(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}
inline void cCodec_PutU32(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}
inline uint64_t cCodec_U64(const unsigned char* p) { return cCodec_U32(p) | uint64_t(cCodec_U32(p + 4)) << 32; }
inline void cCodec_PutU64(unsigned char* p, uint64_t v) {
    cCodec_PutU32(p, uint32_t(v));
    cCodec_PutU32(p + 4, uint32_t(v >> 32));
}

// Swaps the first and third byte of every pixel (R, G, B <-> B, G, R).
inline void cCodec_SwapRB(unsigned char* p, int64_t pixels, int stride) {
    for (int64_t i = 0; i < pixels; i++, p += stride) {
        unsigned char t = p[0];
        p[0] = p[2];
        p[2] = t;
    }
}

// Copies pixels of 3 or 4 bytes, turning B, G, R (, A) into R, G, B (, A).
// Three-byte pixels are copied whole and then swapped in place, which
// measures faster than one pass; four-byte pixels take one pass.
inline void cCodec_CopySwapRB(const unsigned char* __restrict src, unsigned char* __restrict dst, int64_t pixels,
                              int bytes) {
    if (bytes == 3) {
        memcpy(dst, src, (size_t)pixels * 3);
        for (int64_t i = 0; i < pixels; i++, dst += 3) {
            unsigned char t = dst[0];
            dst[0] = dst[2];
            dst[2] = t;
        }
        return;
    }
    for (int64_t i = 0; i < pixels; i++, src += 4, dst += 4) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = src[3];
    }
}

// The bytes of a memory file from its cursor to its end.
class cCodecReader {
public:
    explicit cCodecReader(const cFile& file)
        : file(file), data(file.GetData()), pos(file.GetPos()), size(file.GetSize()) {}
    ~cCodecReader() { Commit(); }
    cCodecReader(const cCodecReader&) = delete;
    cCodecReader& operator=(const cCodecReader&) = delete;

    int64_t Left() const { return size - pos; }
    // The next n bytes, or null (nothing consumed) when fewer are left.
    const unsigned char* Take(int64_t n) {
        if (n < 0 || n > Left()) return nullptr;
        const unsigned char* p = data + pos;
        pos += n;
        return p;
    }
    bool Read(void* dst, int64_t n) {
        const unsigned char* p = Take(n);
        if (!p) return false;
        if (n) memcpy(dst, p, (size_t)n);
        return true;
    }
    bool Skip(int64_t n) { return Take(n) != nullptr; }
    void Commit() const { file.SetPos((int)pos); }

private:
    const cFile&         file;
    const unsigned char* data;
    int64_t              pos;
    int64_t              size;
};

// Appends n zero bytes to the end of the file and returns them to be filled,
// or null when the file would outgrow its 2 GiB limit.
inline unsigned char* cCodec_Append(cFile* file, int64_t n) {
    int64_t start = file->GetSize();
    if (n < 0 || start + n > INT32_MAX) return nullptr;
    file->SetPosMutable(int(start + n));
    return file->GetDataMutable() + start;
}

}  // namespace zozud
