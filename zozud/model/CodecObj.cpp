#include "zozud/model/CodecObj.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "zozud/core/Log.h"
#include "zozud/model/RawMesh.h"

namespace zozud {

namespace {

// A token: a span of the file's bytes.
struct Token {
    const char* Text;
    int         Length;
};

const int MaxTokens = 4096;  // a face with more corners is cut here
cStr  s_Buffer;               // the current line, for the warnings
Token s_Tokens[MaxTokens];

bool Is(const Token& t, const char* word) {
    int n = (int)strlen(word);
    return t.Length == n && memcmp(t.Text, word, (size_t)n) == 0;
}

const double s_Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Long or extreme numbers: the C library under the C locale, so that a
// decimal comma locale never changes what the file means.
bool ParseFloatSlow(const Token& t, float* out) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    char text[128];
    if (t.Length >= (int)sizeof(text) || !c) return false;
    memcpy(text, t.Text, (size_t)t.Length);
    text[t.Length] = 0;
    char* stop = nullptr;
    double v = strtod_l(text, &stop, c);
    if (stop != text + t.Length) return false;
    float f = (float)v;
    if (!std::isfinite(f)) return false;
    *out = f;
    return true;
}

// A decimal number filling the whole token (sign, digits, point, exponent),
// never depending on the locale. Up to 15 significant digits with a power of
// ten up to 22 the result is one correctly rounded double operation; other
// numbers go to the slow path.
bool ParseFloat(const Token& t, float* out) {
    const char* s = t.Text;
    const char* end = s + t.Length;
    bool negative = false;
    if (s < end && (*s == '-' || *s == '+')) negative = *s++ == '-';
    uint64_t mantissa = 0;
    int digits = 0, exponent = 0;
    bool any = false;
    for (; s < end && *s >= '0' && *s <= '9'; s++, any = true) {
        mantissa = mantissa * 10 + (uint64_t)(*s - '0');
        if (mantissa) digits++;
    }
    if (s < end && *s == '.') {
        for (s++; s < end && *s >= '0' && *s <= '9'; s++, any = true) {
            mantissa = mantissa * 10 + (uint64_t)(*s - '0');
            exponent--;
            if (mantissa) digits++;
        }
    }
    if (!any) return false;
    if (s < end && (*s == 'e' || *s == 'E')) {
        s++;
        bool eneg = false;
        if (s < end && (*s == '-' || *s == '+')) eneg = *s++ == '-';
        if (s == end) return false;
        int e = 0;
        for (; s < end && *s >= '0' && *s <= '9'; s++) if (e < 100000) e = e * 10 + (*s - '0');
        exponent += eneg ? -e : e;
    }
    if (s != end) return false;
    if (digits > 15 || exponent > 22 || exponent < -22) return ParseFloatSlow(t, out);
    double v = (double)mantissa;
    v = exponent < 0 ? v / s_Powers[-exponent] : v * s_Powers[exponent];
    float f = (float)(negative ? -v : v);
    if (!std::isfinite(f)) return false;
    *out = f;
    return true;
}

// An index: optional minus sign and digits, up to the end or a slash.
bool ParseIndex(const char** s, const char* end, long long* out, bool* present) {
    const char* p = *s;
    bool negative = false;
    if (p < end && *p == '-') { negative = true; p++; }
    long long v = 0;
    const char* digits = p;
    for (; p < end && *p >= '0' && *p <= '9'; p++) if (v < (1LL << 40)) v = v * 10 + (*p - '0');
    *present = p > digits;
    if (!*present && negative) return false;
    if (p < end && *p != '/') return false;
    *out = negative ? -v : v;
    *s = p;
    return true;
}

// Resolves a file index against a list of count entries read so far:
// 1-based forward, negative backwards, 0 kept as 0.
int Resolve(long long index, int count) {
    if (index > 0) return index - 1 <= INT32_MAX ? (int)(index - 1) : -2;
    if (index < 0) return count + index >= 0 ? (int)(count + index) : -2;
    return 0;
}

enum class CornerResult { Ok, Zero, Bad };

CornerResult ParseCorner(const Token& t, const cRawMesh& mesh, cRawMesh::Corner* c) {
    const char* s = t.Text;
    const char* end = s + t.Length;
    long long p, tx = 0, n = 0;
    bool hasP, hasT = false, hasN = false;
    if (!ParseIndex(&s, end, &p, &hasP) || !hasP) return CornerResult::Bad;
    if (s < end) {
        s++;
        if (!ParseIndex(&s, end, &tx, &hasT)) return CornerResult::Bad;
        if (s < end) {
            s++;
            if (!ParseIndex(&s, end, &n, &hasN) || s != end) return CornerResult::Bad;
        }
    }
    if (p == 0) return CornerResult::Zero;
    c->Position = Resolve(p, mesh.Positions.Count());
    c->TexCoord = hasT ? Resolve(tx, mesh.TexCoords.Count()) : -1;
    c->Normal = hasN ? Resolve(n, mesh.Normals.Count()) : -1;
    return CornerResult::Ok;
}

bool Warn(const char* what, const char* line, int length) {
    s_Buffer = cStr(line, 0, length);
    cLog::Warning("cCodecObj: %s: \"%s\".", what, s_Buffer.ToChar());
    return false;
}

bool ReadRaw(const cFile& file, cRawMesh* mesh) {
    const char* p = (const char*)file.GetData() + file.GetPos();
    const char* end = (const char*)file.GetData() + file.GetSize();
    int current = 0;
    mesh->Materials.Add(cStr("default"));
    // Sizes the lists from a first look at the line starts, so that large
    // files do not copy their lists again and again while they grow.
    int counts[4] = {0, 0, 0, 0};  // v, vt, vn, f
    for (const char* q = p; q < end;) {
        while (q < end && (*q == ' ' || *q == '\t')) q++;
        if (end - q >= 2) {
            if (q[0] == 'v') {
                if (q[1] == ' ' || q[1] == '\t') counts[0]++;
                else if (q[1] == 't') counts[1]++;
                else if (q[1] == 'n') counts[2]++;
            } else if (q[0] == 'f' && (q[1] == ' ' || q[1] == '\t')) {
                counts[3]++;
            }
        }
        const char* eol = (const char*)memchr(q, '\n', (size_t)(end - q));
        q = eol ? eol + 1 : end;
    }
    mesh->Positions.EnsureCapacity(counts[0], false);
    mesh->TexCoords.EnsureCapacity(counts[1], false);
    mesh->Normals.EnsureCapacity(counts[2], false);
    mesh->Polys.EnsureCapacity(counts[3], false);
    mesh->Corners.EnsureCapacity(counts[3] * 3, false);
    while (p < end) {
        const char* line = p;
        const char* eol = (const char*)memchr(p, '\n', (size_t)(end - p));
        if (!eol) eol = end;
        p = eol < end ? eol + 1 : end;
        const char* hash = (const char*)memchr(line, '#', (size_t)(eol - line));
        const char* stop = hash ? hash : eol;
        int lineLength = (int)(eol - line);
        if (lineLength > 0 && line[lineLength - 1] == '\r') lineLength--;
        int count = 0;
        for (const char* q = line; q < stop && count < MaxTokens;) {
            while (q < stop && (*q == ' ' || *q == '\t' || *q == '\r' || *q == 0)) q++;
            if (q == stop) break;
            const char* start = q;
            while (q < stop && *q != ' ' && *q != '\t' && *q != '\r' && *q != 0) q++;
            s_Tokens[count++] = Token{start, (int)(q - start)};
        }
        if (count == 0) continue;
        const Token& key = s_Tokens[0];
        if (Is(key, "v") || Is(key, "vn")) {
            bool normal = key.Length == 2;
            if (count < 4) return Warn(normal ? "Too few normal coordinates" : "Too few position coordinates", line, lineLength);
            cVec3 v;
            if (!ParseFloat(s_Tokens[1], &v.x) || !ParseFloat(s_Tokens[2], &v.y) || !ParseFloat(s_Tokens[3], &v.z))
                return false;
            (normal ? mesh->Normals : mesh->Positions).Add(v);
        } else if (Is(key, "vt")) {
            if (count < 3) return Warn("Too few texture coordinates", line, lineLength);
            cVec2 v;
            if (!ParseFloat(s_Tokens[1], &v.x) || !ParseFloat(s_Tokens[2], &v.y)) return false;
            mesh->TexCoords.Add(v);
        } else if (Is(key, "f")) {
            if (count < 4) return Warn("Too few face indices", line, lineLength);
            cRawMesh::Poly poly;
            poly.First = mesh->Corners.Count();
            poly.Count = count - 1;
            poly.Material = current;
            for (int i = 1; i < count; i++) {
                cRawMesh::Corner c;
                CornerResult r = ParseCorner(s_Tokens[i], *mesh, &c);
                if (r == CornerResult::Zero) return Warn("Zero indices not allowed", line, lineLength);
                if (r == CornerResult::Bad) return false;
                mesh->Corners.Add(c);
            }
            mesh->Polys.Add(poly);
        } else if (Is(key, "usemtl")) {
            if (count < 2) continue;
            const Token& name = s_Tokens[1];
            int cut = name.Length;
            while (cut > 0 && name.Text[cut - 1] != ':') cut--;

            cStr material = cStr(name.Text, cut, name.Length - cut);
            current = mesh->Materials.IndexOf(material);
            if (current < 0) current = mesh->Materials.Add(material);
        }
    }
    return true;
}

// Deduplicates N-float values: the unique values in first-seen order and, per
// input value, its index among them. False when a list cannot grow.
template <int N>
bool Dedupe(const cList<const float*>& values, cList<int>* indexOf, cList<const float*>* unique) {
    unsigned size = 16;
    while (size < (unsigned)values.Count() * 2u) size <<= 1;
    cList<int> table;
    if (!table.SetCount((int)size, 0) || !indexOf->SetCount(values.Count())) return false;
    for (int i = 0; i < values.Count(); i++) {
        const float* v = values[i];
        uint32_t h = 2166136261u;
        for (int k = 0; k < N; k++) {
            float f = v[k] == 0 ? 0.0f : v[k];  // -0 and 0 are one value
            uint32_t bits;
            memcpy(&bits, &f, 4);
            h = (h ^ bits) * 16777619u;
        }
        unsigned slot = (h ^ (h >> 16)) & (size - 1);
        int found = -1;
        while (table[(int)slot]) {
            const float* u = (*unique)[table[(int)slot] - 1];
            bool same = true;
            for (int k = 0; k < N; k++) same = same && u[k] == v[k];
            if (same) { found = table[(int)slot] - 1; break; }
            slot = (slot + 1) & (size - 1);
        }
        if (found < 0) {
            found = unique->Add(v);
            if (found < 0) return false;
            table[(int)slot] = found + 1;
        }
        (*indexOf)[i] = found;
    }
    return true;
}

}  // namespace

bool cCodecObj::Decode(const cFile& file, cModel* model) {
    if (!model) return false;
    cRawMesh raw;
    if (!ReadRaw(file, &raw)) return false;
    // Without normals the file's normal indices (0 or -1 alike) point nowhere:
    // computed normals replace them.
    if (raw.Normals.IsEmpty()) raw.CalcNormals(false);
    raw.CalcTangents();
    model->Free();
    model->IsStatic = true;
    if (!raw.Split(&model->Meshes)) return false;
    model->UpdateBounds();
    return true;
}

bool cCodecObj::Encode(const cModel& model, cFile* file) {
    if (!file) return false;
    cList<cVertex::Bump> verts;  // every mesh's vertices, as skinned models have them in bind pose
    cList<int> meshStart;
    for (const cModel::Mesh& m : model.Meshes) {
        if (meshStart.Add(verts.Count()) < 0) return false;
        if (model.IsStatic) {
            if (!verts.AddRange(m.Verts.GetPtr(), m.Verts.Count())) return false;
            continue;
        }
        for (const cVertex::Anim& a : m.AnimVerts) {
            cVertex::Bump b;
            memcpy(static_cast<void*>(&b), &a, sizeof(b));
            if (verts.Add(b) < 0) return false;
        }
    }
    cList<const float*> pos, tex, nrm;
    for (const cVertex::Bump& v : verts)
        if (pos.Add(&v.Pos.x) < 0 || tex.Add(&v.TexCoord.x) < 0 || nrm.Add(&v.Normal.x) < 0) return false;
    cList<int> posIndex, texIndex, nrmIndex;
    cList<const float*> posUnique, texUnique, nrmUnique;
    if (!Dedupe<3>(pos, &posIndex, &posUnique) || !Dedupe<2>(tex, &texIndex, &texUnique) ||
        !Dedupe<3>(nrm, &nrmIndex, &nrmUnique))
        return false;

    cStr out;
    out += "# Wavefront Obj file\r\n";
    out.AppendFormat("# %d vertices\r\n", posUnique.Count());
    out += "# Position\r\n";
    for (const float* v : posUnique) out.AppendFormat("v %f %f %f\r\n", v[0], v[1], v[2]);
    out += "# TexCoord\r\n";
    for (const float* v : texUnique) out.AppendFormat("vt %f %f\r\n", v[0], v[1]);
    out += "# Normal\r\n";
    for (const float* v : nrmUnique) out.AppendFormat("vn %f %f %f\r\n", v[0], v[1], v[2]);
    out.AppendFormat("\r\n# %d tris\r\n", model.GetTriangleCount());
    for (int m = 0; m < model.Meshes.Count(); m++) {
        const cModel::Mesh& mesh = model.Meshes[m];
        cStr name = mesh.Name.IsEmpty() ? mesh.Material : mesh.Name;
        name.Replace(' ', '_');
        name.Replace('/', '_');
        out.AppendFormat("g %s\r\n", name.ToChar());
        int count = model.IsStatic ? mesh.Verts.Count() : mesh.AnimVerts.Count();
        int tris = mesh.Indices.Count() / 3;
        for (int t = 0; t < tris; t++) {
            int c[3];
            for (int k = 0; k < 3; k++) {
                int i = mesh.Indices[t * 3 + k];
                if (i < 0 || i >= count) return false;
                c[k] = meshStart[m] + i;
            }
            out.AppendFormat("f %d/%d/%d %d/%d/%d %d/%d/%d\r\n", posIndex[c[0]] + 1, texIndex[c[0]] + 1, nrmIndex[c[0]] + 1,
                             posIndex[c[1]] + 1, texIndex[c[1]] + 1, nrmIndex[c[1]] + 1, posIndex[c[2]] + 1,
                             texIndex[c[2]] + 1, nrmIndex[c[2]] + 1);
        }
    }
    file->WriteBytes(out.ToChar(), out.Length());
    return true;
}

}  // namespace zozud
