#include "zozud/model/RawMesh.h"

#include <cmath>
#include <vector>

namespace zozud {

void cRawMesh::Clear() {
    Positions.Clear();
    TexCoords.Clear();
    Normals.Clear();
    Corners.Clear();
    Polys.Clear();
    Materials.Clear();
    m_Tangents = false;
}

bool cRawMesh::IsTriangulated() const {
    for (const Poly& p : Polys)
        if (p.Count != 3) return false;
    return true;
}

bool cRawMesh::IsValid() const {
    for (const Corner& c : Corners) {
        if (c.Position < 0 || c.Position >= Positions.Count()) return false;
        if (c.TexCoord < -1 || c.TexCoord >= TexCoords.Count()) return false;
        if (c.Normal < -1 || c.Normal >= Normals.Count()) return false;
    }
    for (const Poly& p : Polys)
        if (p.First < 0 || p.Count < 0 || p.First > Corners.Count() - p.Count) return false;
    return true;
}

void cRawMesh::Triangulate(cList<cVec<int, 3>>* out) const {
    for (const Poly& p : Polys)
        for (int k = 1; k + 1 < p.Count; k++) {
            cVec<int, 3> t;
            t[0] = p.First;
            t[1] = p.First + k;
            t[2] = p.First + k + 1;
            out->Add(t);
        }
}

void cRawMesh::Triangulate() {
    if (IsTriangulated()) return;
    cList<Corner> corners;
    cList<Poly> polys;
    for (const Poly& p : Polys)
        for (int k = 1; k + 1 < p.Count; k++) {
            Poly t;
            t.First = corners.Count();
            t.Count = 3;
            t.Material = p.Material;
            corners.Add(Corners[p.First]);
            corners.Add(Corners[p.First + k]);
            corners.Add(Corners[p.First + k + 1]);
            polys.Add(t);
        }
    Corners = static_cast<cList<Corner>&&>(corners);
    Polys = static_cast<cList<Poly>&&>(polys);
}

void cRawMesh::InvertRaw() {
    for (const Poly& p : Polys)
        for (int a = p.First, b = p.First + p.Count - 1; a < b; a++, b--) {
            Corner c = Corners[a];
            Corners[a] = Corners[b];
            Corners[b] = c;
        }
}

void cRawMesh::ClearMaterials() {
    for (Poly& p : Polys) p.Material = 0;
    Materials.Clear();
    Materials.Add(cStr("default"));
}

namespace {

// Normals are summed in double: products of float coordinates near the
// float range would overflow to infinities and give normals that are not
// numbers; in double they stay finite and only the unit result is float.
struct Sum3 {
    double x = 0, y = 0, z = 0;
    void operator+=(const Sum3& o) { x += o.x, y += o.y, z += o.z; }
    cVec3 Unit() const {
        double length = std::sqrt(x * x + y * y + z * z);
        if (!(length > 0) || !std::isfinite(length)) return cVec3(0, 0, 0);
        return cVec3((float)(x / length), (float)(y / length), (float)(z / length));
    }
};

}  // namespace

void cRawMesh::CalcNormals(bool faceted) {
    Normals.Clear();
    std::vector<Sum3> sums(faceted ? 0 : (size_t)Positions.Count());
    for (const Poly& p : Polys) {
        // Newell's method: the polygon's normal, area-weighted, also for non-planar ones.
        Sum3 n;
        bool ok = true;
        for (int k = 0; k < p.Count; k++) {
            int a = Corners[p.First + k].Position, b = Corners[p.First + (k + 1) % p.Count].Position;
            if (a < 0 || a >= Positions.Count() || b < 0 || b >= Positions.Count()) { ok = false; break; }
            const cVec3 &pa = Positions[a], &pb = Positions[b];
            n.x += ((double)pa.y - pb.y) * ((double)pa.z + pb.z) * 0.5;
            n.y += ((double)pa.z - pb.z) * ((double)pa.x + pb.x) * 0.5;
            n.z += ((double)pa.x - pb.x) * ((double)pa.y + pb.y) * 0.5;
        }
        if (!ok) continue;
        if (faceted) {
            int index = Normals.Add(n.Unit());
            for (int k = 0; k < p.Count; k++) Corners[p.First + k].Normal = index;
        } else {
            for (int k = 0; k < p.Count; k++) {
                Corner& c = Corners[p.First + k];
                sums[(size_t)c.Position] += n;
                c.Normal = c.Position;
            }
        }
    }
    if (!faceted) {
        Normals.SetCount(Positions.Count(), cVec3(0, 0, 0));
        for (int i = 0; i < Positions.Count(); i++) Normals[i] = sums[(size_t)i].Unit();
    }
}

namespace {

inline bool SameCorner(const cRawMesh::Corner& a, const cRawMesh::Corner& b) {
    return a.TexCoord == b.TexCoord && a.Normal == b.Normal;
}

}  // namespace

// Welding: the vertices made from one position form a chain (m_Table holds
// the first per position, m_Next the next per vertex), and a corner joins the
// vertex of its chain with the same texture coordinate and normal. Chains are
// short and the heads follow the position order, which keeps the lookups in
// cache on large meshes.
bool cRawMesh::Split(cList<cModel::Mesh>* out) {
    if (!IsValid()) return false;
    int materials = Materials.Count() > 0 ? Materials.Count() : 1;
    cList<int> cornerCount;
    cornerCount.SetCount(materials, 0);
    for (const Poly& p : Polys) {
        if (p.Material < 0 || p.Material >= materials || p.Count < 3) continue;
        cornerCount[p.Material] += p.Count;
    }
    cList<int> vertexCorner;  // the corner each vertex of the current mesh came from
    for (int mat = 0; mat < materials; mat++) {
        if (cornerCount[mat] == 0) continue;
        m_Table.SetCount(Positions.Count());
        memset(m_Table.GetPtr(), 0xff, sizeof(int) * (size_t)Positions.Count());
        m_Next.Clear();
        vertexCorner.Clear();

        cModel::Mesh& mesh = (*out)[out->Add(cModel::Mesh())];
        mesh.Material = Materials.Count() > 0 ? Materials[mat] : cStr("default");
        mesh.Name = mesh.Material;
        mesh.Indices.EnsureCapacity((cornerCount[mat] - 2 * (cornerCount[mat] / 3)) * 3, false);
        // At least one vertex per position is the common case.
        int guess = Positions.Count() < cornerCount[mat] ? Positions.Count() : cornerCount[mat];
        mesh.Verts.EnsureCapacity(guess, false);
        vertexCorner.EnsureCapacity(guess, false);
        m_Next.EnsureCapacity(guess, false);
        for (const Poly& p : Polys) {
            if (p.Material != mat || p.Count < 3) continue;
            int first = -1, prev = -1;
            for (int k = 0; k < p.Count; k++) {
                const Corner& c = Corners[p.First + k];
                int vertex = m_Table[c.Position];
                while (vertex >= 0 && !SameCorner(Corners[vertexCorner[vertex]], c)) vertex = m_Next[vertex];
                if (vertex < 0) {
                    vertex = vertexCorner.Add(p.First + k);
                    m_Next.Add(m_Table[c.Position]);
                    m_Table[c.Position] = vertex;
                    cVertex::Bump v;
                    v.Pos = Positions[c.Position];
                    v.Normal = c.Normal >= 0 ? Normals[c.Normal] : cVec3(0, 0, 0);
                    v.TexCoord = c.TexCoord >= 0 ? TexCoords[c.TexCoord] : cVec2(0, 0);
                    v.Tangent = v.BiTangent = cVec3(0, 0, 0);
                    mesh.Verts.Add(v);
                }
                if (k == 0) first = vertex;
                else if (k >= 2) {
                    mesh.Indices.Add(first);
                    mesh.Indices.Add(prev);
                    mesh.Indices.Add(vertex);
                }
                prev = vertex;
            }
        }
    }
    if (m_Tangents) {
        cModel model;
        model.Meshes = static_cast<cList<cModel::Mesh>&&>(*out);
        model.CalcTangents();
        *out = static_cast<cList<cModel::Mesh>&&>(model.Meshes);
    }
    return true;
}

void cRawMesh::FreeHashTables() {
    m_Table.Free();
    m_Next.Free();
}

}  // namespace zozud
