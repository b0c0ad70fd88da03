// cIsoSurface: sampling and extraction by tetrahedra.
//
// A cell's corners are numbered by bits (1: +x, 2: +y, 4: +z). The six
// tetrahedra of a cell run from corner 0 to corner 7 along the cell's edges
// in each order of the three axes, so every edge of a tetrahedron joins two
// corners of which one has a subset of the other's bits: it starts at the
// lower corner and points along one of seven directions. A grid edge is thus
// named by its lower grid point and its direction, and the vertex on it is
// made once and kept in one of two slabs of edge slots (the cell layer's
// bottom and top points), so memory stays at two layers of the grid.
//
// The triangles each tetrahedron gives for each of its 16 inside/outside
// patterns are worked out once, oriented from the corners' positions alone:
// a triangle around an inside corner i on the edges towards j, k, l faces
// away from i when det(j - i, k - i, l - i) > 0, and the vertices on those
// edges share that orientation, as each lies on the ray from i.
#include "zozud/math/IsoSurface.h"

#include <algorithm>
#include <cfloat>
#include <vector>

namespace zozud {

namespace {

struct TetCase {
    int           count;        // triangles: 0, 1 or 2
    unsigned char edge[6][2];   // per triangle vertex: the tetrahedron's corners (0..3) of its edge
};

struct TetTable {
    unsigned char corner[6][4];  // per tetrahedron: cell corners (bits)
    TetCase       cases[6][16];  // by tetrahedron and inside mask (bit i: corner i inside)
};

cVec3 CornerOffset(int bits) { return cVec3((float)(bits & 1), (float)((bits >> 1) & 1), (float)((bits >> 2) & 1)); }

float Det(const cVec3& a, const cVec3& b, const cVec3& c) { return a.Dot(b.Cross(c)); }

void SetTriangle(TetCase* c, int slot, int e0a, int e0b, int e1a, int e1b, int e2a, int e2b) {
    unsigned char* e = &c->edge[slot * 3][0];
    e[0] = (unsigned char)e0a; e[1] = (unsigned char)e0b;
    e[2] = (unsigned char)e1a; e[3] = (unsigned char)e1b;
    e[4] = (unsigned char)e2a; e[5] = (unsigned char)e2b;
}

// One triangle around corner `apex` on its edges to the three others, facing
// away from it (apex inside) or towards it (apex outside).
void ApexCase(TetCase* c, const cVec3 p[4], int apex, bool apexInside) {
    int o[3], n = 0;
    for (int i = 0; i < 4; i++)
        if (i != apex) o[n++] = i;
    float det = Det(p[o[0]] - p[apex], p[o[1]] - p[apex], p[o[2]] - p[apex]);
    if ((det > 0) != apexInside) { int t = o[1]; o[1] = o[2]; o[2] = t; }
    c->count = 1;
    SetTriangle(c, 0, apex, o[0], apex, o[1], apex, o[2]);
}

// Two inside corners a, b and two outside x, y: the quad on edges a-x, a-y,
// b-y, b-x, turned to face the outside pair.
void QuadCase(TetCase* c, const cVec3 p[4], int a, int b, int x, int y) {
    cVec3 m0 = (p[a] + p[x]) * 0.5f, m1 = (p[a] + p[y]) * 0.5f, m2 = (p[b] + p[y]) * 0.5f, m3 = (p[b] + p[x]) * 0.5f;
    cVec3 normal = (m2 - m0).Cross(m3 - m1);
    cVec3 outward = (p[x] + p[y]) - (p[a] + p[b]);
    if (normal.Dot(outward) < 0) { int t = x; x = y; y = t; }
    c->count = 2;
    SetTriangle(c, 0, a, x, a, y, b, y);
    SetTriangle(c, 1, a, x, b, y, b, x);
}

TetTable MakeTable() {
    TetTable t = {};
    const int axes[6][3] = {{1, 2, 4}, {1, 4, 2}, {2, 1, 4}, {2, 4, 1}, {4, 1, 2}, {4, 2, 1}};
    for (int k = 0; k < 6; k++) {
        int bits[4] = {0, axes[k][0], axes[k][0] | axes[k][1], 7};
        cVec3 p[4];
        for (int i = 0; i < 4; i++) {
            t.corner[k][i] = (unsigned char)bits[i];
            p[i] = CornerOffset(bits[i]);
        }
        for (int mask = 1; mask < 15; mask++) {
            int in[4], out[4], ni = 0, no = 0;
            for (int i = 0; i < 4; i++) (mask >> i & 1 ? in[ni++] : out[no++]) = i;
            TetCase* c = &t.cases[k][mask];
            if (ni == 1) ApexCase(c, p, in[0], true);
            else if (ni == 3) ApexCase(c, p, out[0], false);
            else QuadCase(c, p, in[0], in[1], out[0], out[1]);
        }
    }
    return t;
}

const TetTable& Table() {
    static const TetTable table = MakeTable();
    return table;
}

}  // namespace

// ---- Grid ----

bool cIsoSurface::Init(const cVec3& min, const cVec3& max, int nx, int ny, int nz) {
    if (nx < 1 || ny < 1 || nz < 1 || !(min.x < max.x && min.y < max.y && min.z < max.z)) return false;
    long long points = (long long)(nx + 1) * (ny + 1);
    if (points > MaxPoints || (points *= nz + 1) > MaxPoints) return false;
    m_Min = min;
    m_N[0] = nx;
    m_N[1] = ny;
    m_N[2] = nz;
    m_Cell = cVec3((max.x - min.x) / nx, (max.y - min.y) / ny, (max.z - min.z) / nz);
    m_Values.SetCount((int)points, 0.0f);
    Vertices.Clear();
    Indices.Clear();
    return true;
}

cVec3 cIsoSurface::GetPoint(int x, int y, int z) const {
    return cVec3(m_Min.x + x * m_Cell.x, m_Min.y + y * m_Cell.y, m_Min.z + z * m_Cell.z);
}

// ---- Extraction ----

void cIsoSurface::Update(Field field, const void* user) {
    if (!field || m_Values.IsEmpty()) return;
    float* v = m_Values.GetPtr();
    for (int z = 0; z <= m_N[2]; z++)
        for (int y = 0; y <= m_N[1]; y++)
            for (int x = 0; x <= m_N[0]; x++) *v++ = field(GetPoint(x, y, z), user);
    Extract();
}

float cIsoSurface::MetaballField(const cVec3& p, const cList<Metaball>& balls) {
    float sum = -1;
    for (const Metaball& b : balls) {
        float d2 = (p - b.center).LengthSq();
        sum += d2 > 0 ? b.radius * b.radius / d2 : FLT_MAX;
        if (sum >= FLT_MAX) return FLT_MAX;
    }
    return sum;
}

void cIsoSurface::UpdateMetaballs(const cList<Metaball>& balls, bool exactNormals) {
    auto field = [](const cVec3& p, const void* user) {
        return MetaballField(p, *static_cast<const cList<Metaball>*>(user));
    };
    Update(field, &balls);
    if (!exactNormals) return;
    // grad f = sum -2 r^2 (p - c) / |p - c|^4; the normal points down it.
    for (Vertex& v : Vertices) {
        cVec3 down(0, 0, 0);
        for (const Metaball& b : balls) {
            cVec3 d = v.Pos - b.center;
            float d2 = d.LengthSq();
            if (d2 > 0) down += d * (b.radius * b.radius / (d2 * d2));
        }
        if (down.Normalize() > 0) v.Normal = down;
    }
}

void cIsoSurface::Extract() {
    Vertices.Clear();
    Indices.Clear();
    const TetTable& table = Table();
    const int rowPoints = m_N[0] + 1;
    const int slabSlots = rowPoints * (m_N[1] + 1) * 7;
    std::vector<int> bottom(slabSlots, -1), top(slabSlots, -1);
    const float* values = m_Values.GetPtr();

    for (int z = 0; z < m_N[2]; z++) {
        for (int y = 0; y < m_N[1]; y++) {
            for (int x = 0; x < m_N[0]; x++) {
                float f[8];
                int inside = 0;
                for (int c = 0; c < 8; c++) {
                    f[c] = values[Index(x + (c & 1), y + (c >> 1 & 1), z + (c >> 2 & 1))];
                    inside |= (f[c] > 0) << c;
                }
                if (inside == 0 || inside == 255) continue;
                for (int k = 0; k < 6; k++) {
                    const unsigned char* corner = table.corner[k];
                    int mask = 0;
                    for (int i = 0; i < 4; i++) mask |= (inside >> corner[i] & 1) << i;
                    const TetCase& tc = table.cases[k][mask];
                    for (int e = 0; e < tc.count * 3; e++) {
                        int a = corner[tc.edge[e][0]], b = corner[tc.edge[e][1]];
                        int lo = a < b ? a : b, hi = a ^ b ^ lo;  // lo's bits are a subset of hi's
                        int gx = x + (lo & 1), gy = y + (lo >> 1 & 1);
                        std::vector<int>& slab = (lo & 4) ? top : bottom;
                        int& slot = slab[(gy * rowPoints + gx) * 7 + ((hi ^ lo) - 1)];
                        if (slot < 0) {
                            float t = f[lo] / (f[lo] - f[hi]);
                            int ax = x + (lo & 1), ay = y + (lo >> 1 & 1), az = z + (lo >> 2 & 1);
                            int bx = x + (hi & 1), by = y + (hi >> 1 & 1), bz = z + (hi >> 2 & 1);
                            Vertex v;
                            v.Pos = cVec3::Lerp(GetPoint(ax, ay, az), GetPoint(bx, by, bz), t);
                            v.Normal = -cVec3::Lerp(Gradient(ax, ay, az), Gradient(bx, by, bz), t).ToNormal();
                            slot = Vertices.Add(v);
                        }
                        Indices.Add(slot);
                    }
                }
            }
        }
        bottom.swap(top);
        std::fill(top.begin(), top.end(), -1);
    }
}

// Huge values (a metaball's centre) kept finite through differences and squares.
namespace {
float Tame(float v) { return v > 1e12f ? 1e12f : (v < -1e12f ? -1e12f : v); }
}  // namespace

// The field's gradient at a grid point by central differences (one-sided on
// the grid's faces), in grid units: only its direction is used.
cVec3 cIsoSurface::Gradient(int x, int y, int z) const {
    const int p[3] = {x, y, z};
    cVec3 g;
    for (int axis = 0; axis < 3; axis++) {
        int lo[3] = {x, y, z}, hi[3] = {x, y, z};
        if (p[axis] > 0) lo[axis]--;
        if (p[axis] < m_N[axis]) hi[axis]++;
        float span = (float)(hi[axis] - lo[axis]) * m_Cell[axis];
        g[axis] = (Tame(m_Values[Index(hi[0], hi[1], hi[2])]) - Tame(m_Values[Index(lo[0], lo[1], lo[2])])) / span;
    }
    return g;
}

}  // namespace zozud
