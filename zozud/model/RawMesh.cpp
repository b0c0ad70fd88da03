#include "zozud/model/RawMesh.h"

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

void cRawMesh::CalcNormals(bool faceted) {
    Normals.Clear();
    if (!faceted) Normals.SetCount(Positions.Count(), cVec3(0, 0, 0));
    for (const Poly& p : Polys) {
        // Newell's method: the polygon's normal, area-weighted, also for non-planar ones.
        cVec3 n(0, 0, 0);
        bool ok = true;
        for (int k = 0; k < p.Count; k++) {
            int a = Corners[p.First + k].Position, b = Corners[p.First + (k + 1) % p.Count].Position;
            if (a < 0 || a >= Positions.Count() || b < 0 || b >= Positions.Count()) { ok = false; break; }
            n += (Positions[a] - Positions[b]).Cross(Positions[a] + Positions[b]) * 0.5f;
        }
        if (!ok) continue;
        if (faceted) {
            n.Normalize();
            int index = Normals.Add(n);
            for (int k = 0; k < p.Count; k++) Corners[p.First + k].Normal = index;
        } else {
            for (int k = 0; k < p.Count; k++) {
                Corner& c = Corners[p.First + k];
                Normals[c.Position] += n;
                c.Normal = c.Position;
            }
        }
    }
    if (!faceted)
        for (cVec3& n : Normals) n.Normalize();
}

namespace {

inline unsigned HashCorner(const cRawMesh::Corner& c) {
    unsigned h = (unsigned)c.Position * 0x9E3779B1u;
    h ^= (unsigned)c.TexCoord * 0x85EBCA77u + (h << 6) + (h >> 2);
    h ^= (unsigned)c.Normal * 0xC2B2AE3Du + (h << 6) + (h >> 2);
    return h ^ (h >> 15);
}

inline bool SameCorner(const cRawMesh::Corner& a, const cRawMesh::Corner& b) {
    return a.Position == b.Position && a.TexCoord == b.TexCoord && a.Normal == b.Normal;
}

}  // namespace

bool cRawMesh::Split(cList<cModel::Mesh>* out) {
    if (!IsValid()) return false;
    int materials = Materials.Count() > 0 ? Materials.Count() : 1;
    // Corners per material, to size each mesh's table.
    cList<int> cornerCount;
    cornerCount.SetCount(materials, 0);
    for (const Poly& p : Polys) {
        if (p.Material < 0 || p.Material >= materials || p.Count < 3) continue;
        cornerCount[p.Material] += p.Count;
    }
    cList<int> vertexCorner;  // the corner each vertex of the current mesh came from
    for (int mat = 0; mat < materials; mat++) {
        if (cornerCount[mat] == 0) continue;
        unsigned size = 16;
        while (size < (unsigned)cornerCount[mat] * 2u) size <<= 1;
        if (m_Table.Count() < (int)size) m_Table.SetCount((int)size);
        memset(m_Table.GetPtr(), 0, sizeof(int) * size);
        unsigned mask = size - 1;

        cModel::Mesh& mesh = (*out)[out->Add(cModel::Mesh())];
        mesh.Material = Materials.Count() > 0 ? Materials[mat] : cStr("default");
        mesh.Name = mesh.Material;
        vertexCorner.Clear();
        for (const Poly& p : Polys) {
            if (p.Material != mat || p.Count < 3) continue;
            int first = -1, prev = -1;
            for (int k = 0; k < p.Count; k++) {
                const Corner& c = Corners[p.First + k];
                unsigned slot = HashCorner(c) & mask;
                int vertex = -1;
                while (m_Table[(int)slot] != 0) {
                    int v = m_Table[(int)slot] - 1;
                    if (SameCorner(Corners[vertexCorner[v]], c)) { vertex = v; break; }
                    slot = (slot + 1) & mask;
                }
                if (vertex < 0) {
                    vertex = vertexCorner.Add(p.First + k);
                    m_Table[(int)slot] = vertex + 1;
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

void cRawMesh::FreeHashTables() { m_Table.Free(); }

}  // namespace zozud
