// Drives cFile with operations read from the fuzz input and checks each one
// against a plain std::vector model of the same file: bytes, cursor and
// results must agree after every step. Each operation is one opcode byte
// followed by its arguments; the input ends the program wherever it ends.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zozud/io/File.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

using zozud::cFile;
using zozud::cList;
using zozud::cStr;

namespace {

const int MaxSize = 1 << 20;  // keeps zero padding from taking all memory

class Input {
public:
    Input(const uint8_t* data, size_t size) : data(data), size(size), at(0) {}
    bool   More() const { return at < size; }
    int    Byte() { return at < size ? data[at++] : 0; }
    int    Small() { return (int)(int8_t)Byte(); }  // -128..127
    int    Medium() { return (int)(int16_t)(Byte() | Byte() << 8); }
    std::string Bytes(int n) {
        std::string s;
        while (n-- > 0 && at < size) s += (char)data[at++];
        return s;
    }

private:
    const uint8_t* data;
    size_t         size, at;
};

// The reference: what a cFile should hold after the same operations.
struct Model {
    std::vector<unsigned char> bytes;
    int pos = 0;

    int Left() const { return (int)bytes.size() - pos; }
    int Read(unsigned char* out, int n) {
        if (Left() <= 0) return -1;
        int count = n < 0 ? 0 : std::min(n, Left());
        memcpy(out, bytes.data() + pos, count);
        pos += count;
        return count;
    }
    void Write(const std::string& s) {
        bytes.insert(bytes.begin() + pos, s.begin(), s.end());
        pos += (int)s.size();
    }
    int Replace(const std::string& s) {
        if (Left() <= 0) return -1;
        int count = std::min((int)s.size(), Left());
        memcpy(bytes.data() + pos, s.data(), count);
        pos += count;
        return count;
    }
    int SetPosMutable(int p) {
        if (p < 0) p = 0;
        if (p > (int)bytes.size()) bytes.resize(p, 0);
        return pos = p;
    }
    bool ReadString(std::string* out, const std::string& delimiters) {
        out->clear();
        if (Left() <= 0) return false;
        auto isDelimiter = [&](unsigned char c) { return c && delimiters.find((char)c) != std::string::npos; };
        while (Left() > 0 && isDelimiter(bytes[pos])) pos++;
        while (Left() > 0 && !isDelimiter(bytes[pos])) *out += (char)bytes[pos++];
        if (Left() > 0) pos++;
        return true;
    }
};

void Check(bool ok) {
    if (!ok) abort();
}

void CheckSame(const cFile& f, const Model& m) {
    Check(f.GetSize() == (int)m.bytes.size());
    Check(f.GetPos() == m.pos);
    Check(m.bytes.empty() || memcmp(f.GetData(), m.bytes.data(), m.bytes.size()) == 0);
}

void Step(Input& in, cFile& f, Model& m) {
    switch (in.Byte() % 12) {
        case 0: {
            std::string s = in.Bytes(in.Byte());
            f.Copy(s.data(), (int)s.size(), "copy");
            m.bytes.assign(s.begin(), s.end());
            m.pos = 0;
            break;
        }
        case 1: {
            int n = in.Medium();
            std::vector<unsigned char> a(n > 0 ? n : 1), b(a.size());
            int got = f.ReadBytes(a.data(), n);
            Check(got == m.Read(b.data(), n));
            Check(got <= 0 || memcmp(a.data(), b.data(), got) == 0);
            break;
        }
        case 2: {
            std::string s = in.Bytes(in.Byte());
            if (f.GetSize() + (int)s.size() > MaxSize) break;
            f.WriteBytes(s.data(), (int)s.size());
            m.Write(s);
            break;
        }
        case 3: {
            std::string s = in.Bytes(in.Byte());
            Check(f.ReplaceBytes(s.data(), (int)s.size()) == m.Replace(s));
            break;
        }
        case 4: {
            int p = in.Medium();
            f.SetPos(p);
            m.pos = p < 0 ? 0 : std::min(p, (int)m.bytes.size());
            break;
        }
        case 5: {
            int p = f.GetSize() + in.Small() * 32;
            if (p > MaxSize) break;
            Check(f.SetPosMutable(p) == m.SetPosMutable(p));
            break;
        }
        case 6: {
            std::string delimiters = in.Bytes(in.Byte() % 5);
            cStr token;
            std::string expected;
            bool got = f.ReadString(&token, delimiters.c_str());
            // The model stops its delimiter set at a zero byte, as a C string does.
            Check(got == m.ReadString(&expected, std::string(delimiters.c_str())));
            Check(token.Length() == (int)expected.size() && memcmp(token.ToChar(), expected.data(), expected.size()) == 0);
            break;
        }
        case 7: {
            if (f.GetSize() > MaxSize - 4) break;
            std::string s = in.Bytes(4);
            s.resize(4, '\0');
            int v;
            memcpy(&v, s.data(), 4);
            f.WriteInt(v);  // little-endian: the same bytes as they lie in memory
            m.Write(s);
            break;
        }
        case 8: {
            zozud::cVec3 v(0, 0, 0);
            int whole = m.Left() >= 12, fit = m.Left() >= 0 ? std::min(m.Left() / 4, 3) : 0;
            Check(f.ReadVec3(&v) == (whole != 0));
            m.pos += 4 * fit;
            break;
        }
        case 9: {
            int from = in.Medium(), n = in.Byte();
            if (from < 0 || from + n > f.GetSize() || f.GetSize() + n > MaxSize) break;
            std::string s((const char*)f.GetData() + from, n);
            f.WriteBytes(f.GetData() + from, n);  // a piece of its own bytes
            m.Write(s);
            break;
        }
        case 10:
            f.Clear();
            m.bytes.clear();
            m.pos = 0;
            break;
        case 11: {
            std::string s = in.Bytes(in.Byte());
            cList<unsigned char> list;
            list.AddRange((const unsigned char*)s.data(), (int)s.size());
            f.Set(&list, "set");
            Check(list.IsEmpty());
            m.bytes.assign(s.begin(), s.end());
            m.pos = 0;
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    cFile f;
    Model m;
    while (in.More()) {
        Step(in, f, m);
        CheckSame(f, m);
    }
    return 0;
}
