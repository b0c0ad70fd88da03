#include "zozud/model/Model.h"

#include <cfloat>
#include <cmath>

#include "zozud/math/Vec3.h"
#include "zozud/model/Materials.h"
#include "zozud/render/Render.h"

namespace zozud {

namespace {

bool TriangleOk(const cList<int>& indices, int tri, int vertexCount) {
    for (int k = 0; k < 3; k++) {
        int i = indices[tri * 3 + k];
        if (i < 0 || i >= vertexCount) return false;
    }
    return true;
}

// Calls f(a, b, c) with the corners of each triangle whose indices are all in range.
template <class L, class F>
void ForEachTriangle(const cList<int>& indices, L& verts, F f) {
    int tris = indices.Count() / 3;
    for (int t = 0; t < tris; t++)
        if (TriangleOk(indices, t, verts.Count()))
            f(verts[indices[t * 3]], verts[indices[t * 3 + 1]], verts[indices[t * 3 + 2]]);
}

// Area-weighted face normals summed at the corners, then normalised.
template <class V>
void CalcNormalsOf(const cList<int>& indices, cList<V>& verts) {
    for (V& v : verts) v.Normal = cVec3(0, 0, 0);
    ForEachTriangle(indices, verts, [](V& a, V& b, V& c) {
        cVec3 n = (b.Pos - a.Pos).Cross(c.Pos - a.Pos);
        a.Normal += n;
        b.Normal += n;
        c.Normal += n;
    });
    for (V& v : verts) v.Normal.Normalize();
}

// Tangents along +u and bitangents along +v of the texture coordinates,
// made perpendicular to the normal.
template <class V>
void CalcTangentsOf(const cList<int>& indices, cList<V>& verts) {
    for (V& v : verts) v.Tangent = v.BiTangent = cVec3(0, 0, 0);
    ForEachTriangle(indices, verts, [](V& a, V& b, V& c) {
        cVec3 e1 = b.Pos - a.Pos, e2 = c.Pos - a.Pos;
        cVec2 d1 = b.TexCoord - a.TexCoord, d2 = c.TexCoord - a.TexCoord;
        float det = d1.x * d2.y - d2.x * d1.y;
        if (std::fabs(det) < 1e-12f) return;
        float r = 1.0f / det;
        cVec3 tan = (e1 * d2.y - e2 * d1.y) * r;
        cVec3 bit = (e2 * d1.x - e1 * d2.x) * r;
        a.Tangent += tan; b.Tangent += tan; c.Tangent += tan;
        a.BiTangent += bit; b.BiTangent += bit; c.BiTangent += bit;
    });
    for (V& v : verts) {
        const cVec3& n = v.Normal;
        cVec3 tan = v.Tangent - n * n.Dot(v.Tangent);
        if (tan.Normalize() == 0) {
            // No usable texture coordinates: any direction across the normal.
            tan = std::fabs(n.x) < 0.9f ? cVec3(1, 0, 0).Cross(n) : cVec3(0, 1, 0).Cross(n);
            tan.Normalize();
        }
        cVec3 bit = n.Cross(tan);
        if (bit.Dot(v.BiTangent) < 0) bit = -bit;
        v.Tangent = tan;
        v.BiTangent = bit;
    }
}

template <class V>
void TransformOf(cList<V>& verts, const cMat4& m, const cMat4& normalMatrix) {
    for (V& v : verts) {
        v.Pos = cVec3::TransformCoordinate(v.Pos, m);
        v.Normal = cVec3::TransformNormal(v.Normal, normalMatrix);
        v.Normal.Normalize();
        v.Tangent = cVec3::TransformNormal(v.Tangent, m);
        v.Tangent.Normalize();
        v.BiTangent = cVec3::TransformNormal(v.BiTangent, m);
        v.BiTangent.Normalize();
    }
}

cVertex::Bump ToBump(const cVertex::Anim& a) {
    cVertex::Bump b;
    b.Pos = a.Pos;
    b.Normal = a.Normal;
    b.TexCoord = a.TexCoord;
    b.Tangent = a.Tangent;
    b.BiTangent = a.BiTangent;
    return b;
}

cMat4 JointMatrix(const cVec3& position, const cQuat& orient) { return cMat4(orient.ToMat3(), position); }

}  // namespace

// ---- Mesh ----

void cModel::Mesh::Copy(const Mesh& other) {
    FreeRenderBuffers();
    Name = other.Name;
    Material = other.Material;
    MaterialID = other.MaterialID;
    Indices = other.Indices;
    Verts = other.Verts;
    AnimVerts = other.AnimVerts;
}

void cModel::Mesh::FreeRenderBuffers() {
    if (VertexBuffer >= 0) cRender::FreeVertexBuffer(VertexBuffer);
    if (IndexBuffer >= 0) cRender::FreeIndexBuffer(IndexBuffer);
    VertexBuffer = IndexBuffer = -1;
}

// ---- Counts and geometry ----

int cModel::GetVertexCount() const {
    int n = 0;
    for (const Mesh& m : Meshes) n += IsStatic ? m.Verts.Count() : m.AnimVerts.Count();
    return n;
}

int cModel::GetTriangleCount() const {
    int n = 0;
    for (const Mesh& m : Meshes) n += m.Indices.Count() / 3;
    return n;
}

void cModel::UpdateBounds() {
    Bounds.Clear();
    for (const Mesh& m : Meshes) {
        if (IsStatic)
            for (const cVertex::Bump& v : m.Verts) Bounds.AddPoint(v.Pos);
        else
            for (const cVertex::Anim& v : m.AnimVerts) Bounds.AddPoint(v.Pos);
    }
}

void cModel::CalcNormals() {
    for (Mesh& m : Meshes) {
        if (IsStatic) CalcNormalsOf(m.Indices, m.Verts);
        else CalcNormalsOf(m.Indices, m.AnimVerts);
    }
}

void cModel::CalcTangents() {
    for (Mesh& m : Meshes) {
        if (IsStatic) CalcTangentsOf(m.Indices, m.Verts);
        else CalcTangentsOf(m.Indices, m.AnimVerts);
    }
}

void cModel::Transform(const cMat4& m) {
    cMat4 inverse;
    cMat4 normalMatrix = cMat4::Invert(m, &inverse) ? inverse.ToTranspose() : m;
    for (Mesh& mesh : Meshes) {
        if (IsStatic) TransformOf(mesh.Verts, m, normalMatrix);
        else TransformOf(mesh.AnimVerts, m, normalMatrix);
    }
    cQuat rotation = m.ToQuat();
    rotation.Normalize();
    for (Joint& j : Joints) {
        j.Position = cVec3::TransformCoordinate(j.Position, m);
        j.Orient = j.Orient * rotation;
        j.Orient.Normalize();
    }
    UpdateBounds();
}

bool cModel::RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const {
    if (!IsStatic) return false;
    float best = FLT_MAX;
    bool hit = false;
    typedef cVertex::Bump V;
    for (const Mesh& m : Meshes) {
        ForEachTriangle(m.Indices, m.Verts, [&](const V& a, const V& b, const V& c) {
            float u, v, d;
            if (cVec3::RayTri(origin, dir, a.Pos, b.Pos, c.Pos, &u, &v, &d, false) && d >= 0 && d < best) {
                best = d;
                hit = true;
            }
        });
    }
    if (t) *t = best;
    return hit;
}

void cModel::GenSphere(const cVec3& center, float radius, int slices, int stacks) {
    Free();
    if (slices < 3) slices = 3;
    if (stacks < 2) stacks = 2;
    Mesh& mesh = Meshes[Meshes.Add(Mesh())];
    mesh.Name = "Sphere";
    const float pi = 3.14159265358979f;
    for (int i = 0; i <= stacks; i++) {
        float phi = pi * i / stacks;
        for (int j = 0; j <= slices; j++) {
            float theta = 2 * pi * j / slices;
            cVertex::Bump v;
            v.Normal = cVec3(std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta));
            v.Pos = center + v.Normal * radius;
            v.TexCoord = cVec2((float)j / slices, (float)i / stacks);
            v.Tangent = v.BiTangent = cVec3(0, 0, 0);
            mesh.Verts.Add(v);
        }
    }
    for (int i = 0; i < stacks; i++) {
        for (int j = 0; j < slices; j++) {
            int a = i * (slices + 1) + j, b = a + slices + 1;
            if (i > 0) { mesh.Indices.Add(a); mesh.Indices.Add(a + 1); mesh.Indices.Add(b); }
            if (i < stacks - 1) { mesh.Indices.Add(a + 1); mesh.Indices.Add(b + 1); mesh.Indices.Add(b); }
        }
    }
    CalcTangents();
    UpdateBounds();
}

void cModel::Split(cList<cModel*>* list, const cVec3& point) const {
    for (const Mesh& mesh : Meshes) {
        cModel* piece = new cModel;
        piece->IsStatic = IsStatic;
        piece->Joints = Joints;
        piece->Meshes.Add(mesh);
        piece->Transform(cMat4::Translation(-point));
        list->Add(piece);
    }
}

// ---- Skinning ----

cList<cMat4> cModel::GetBindPoseInv() const {
    cList<cMat4> out;
    out.SetCount(Joints.Count());
    for (int i = 0; i < Joints.Count(); i++)
        if (!cMat4::Invert(JointMatrix(Joints[i].Position, Joints[i].Orient), &out[i])) out[i] = cMat4::Identity;
    return out;
}

void cModel::GoToBindPose(cList<cList<cVertex::Bump>>* target) const {
    target->SetCount(Meshes.Count());
    for (int m = 0; m < Meshes.Count(); m++) {
        cList<cVertex::Bump>& out = (*target)[m];
        if (IsStatic) {
            out = Meshes[m].Verts;
            continue;
        }
        out.SetCount(Meshes[m].AnimVerts.Count());
        for (int i = 0; i < out.Count(); i++) out[i] = ToBump(Meshes[m].AnimVerts[i]);
    }
}

void cModel::SetAnim(const cList<cAnim::Joint>& joints, cList<cList<cVertex::Bump>>* target) const {
    if (IsStatic) {
        GoToBindPose(target);
        return;
    }
    cList<cMat4> skin = GetBindPoseInv();
    for (int j = 0; j < skin.Count(); j++)
        skin[j] = j < joints.Count() ? skin[j] * JointMatrix(joints[j].Position, joints[j].Orient) : cMat4::Identity;
    target->SetCount(Meshes.Count());
    for (int m = 0; m < Meshes.Count(); m++) {
        const cList<cVertex::Anim>& in = Meshes[m].AnimVerts;
        cList<cVertex::Bump>& out = (*target)[m];
        out.SetCount(in.Count());
        for (int i = 0; i < in.Count(); i++) {
            const cVertex::Anim& a = in[i];
            cVertex::Bump b = ToBump(a);
            cVec3 pos(0, 0, 0), nrm(0, 0, 0), tan(0, 0, 0), bit(0, 0, 0);
            float total = 0;
            for (int k = 0; k < 4; k++) {
                int j = (int)a.Indices[k];
                float w = a.Weights[k];
                if (w == 0 || j < 0 || j >= skin.Count()) continue;
                pos += cVec3::TransformCoordinate(a.Pos, skin[j]) * w;
                nrm += cVec3::TransformNormal(a.Normal, skin[j]) * w;
                tan += cVec3::TransformNormal(a.Tangent, skin[j]) * w;
                bit += cVec3::TransformNormal(a.BiTangent, skin[j]) * w;
                total += w;
            }
            if (total > 0) {
                b.Pos = pos * (1.0f / total);
                nrm.Normalize(); tan.Normalize(); bit.Normalize();
                b.Normal = nrm; b.Tangent = tan; b.BiTangent = bit;
            }
            out[i] = b;
        }
    }
}

// ---- Drawing ----

void cModel::CreateRenderBuffers() {
    for (Mesh& m : Meshes) {
        if (m.VertexBuffer < 0) {
            if (IsStatic) m.VertexBuffer = cRender::AddVertexBuffer(m.Verts.GetPtr(), sizeof(cVertex::Bump) * (size_t)m.Verts.Count());
            else m.VertexBuffer = cRender::AddVertexBuffer(m.AnimVerts.GetPtr(), sizeof(cVertex::Anim) * (size_t)m.AnimVerts.Count());
        }
        if (m.IndexBuffer < 0) m.IndexBuffer = cRender::AddIndexBuffer(m.Indices.GetPtr(), m.Indices.Count(), 4);
    }
}

void cModel::FreeRenderBuffers() {
    for (Mesh& m : Meshes) m.FreeRenderBuffers();
}

void cModel::Draw(int mesh) const {
    for (int i = 0; i < Meshes.Count(); i++) {
        if (mesh >= 0 && i != mesh) continue;
        const Mesh& m = Meshes[i];
        if (m.VertexBuffer >= 0 && m.IndexBuffer >= 0) {
            cRender::SetVertexBuffer(m.VertexBuffer);
            cRender::SetIndexBuffer(m.IndexBuffer);
            cRender::DrawIndexed(cTopology::Triangles);
        } else if (IsStatic) {
            cRender::DrawIndexed(cTopology::Triangles, m.Verts.GetPtr(), m.Verts.Count(), m.Indices.GetPtr(), m.Indices.Count(), 4);
        } else {
            cRender::DrawIndexed(cTopology::Triangles, m.AnimVerts.GetPtr(), m.AnimVerts.Count(), m.Indices.GetPtr(), m.Indices.Count(), 4);
        }
    }
}

void cModel::DrawJoints(bool names) const {
    const cColor white(1, 1, 1, 1);
    for (const Joint& j : Joints)
        if (j.Parent >= 0 && j.Parent < Joints.Count()) cRender::DrawLine(j.Position, Joints[j.Parent].Position, white);
    if (!names || Joints.Count() == 0) return;
    // Names are screen text: the world matrix is taken out of the way while
    // they are drawn, so each joint is placed by its world position.
    static int font = -1;
    if (font < 0) font = cRender::GetFontID("Calibri 11");
    const cColor blue(0, 0, 1, 1);
    const cMat4 world = cRender::GetWorldMatrix();
    cRender::SetWorldMatrix(cMat4::Identity);
    for (const Joint& j : Joints)
        cRender::DrawString(font, j.Name.ToChar(), cVec3::TransformCoordinate(j.Position, world), 1 | 4, &blue);
    cRender::SetWorldMatrix(world);
}

void cModel::DrawTangentSpace(float length) const {
    const cColor red(1, 0, 0, 1), green(0, 1, 0, 1), blue(0, 0, 1, 1);
    cList<cList<cVertex::Bump>> verts;
    GoToBindPose(&verts);
    for (const cList<cVertex::Bump>& list : verts)
        for (const cVertex::Bump& v : list) {
            cRender::DrawLine(v.Pos, v.Pos + v.Normal * length, blue);
            cRender::DrawLine(v.Pos, v.Pos + v.Tangent * length, red);
            cRender::DrawLine(v.Pos, v.Pos + v.BiTangent * length, green);
        }
}

void cModel::GetMaterialsID() {
    for (Mesh& m : Meshes) m.MaterialID = g_Materials.GetMaterialID(m.Material);
}

void cModel::Free() {
    FreeRenderBuffers();
    Meshes.Free();
    Joints.Free();
    Bounds.Clear();
    IsStatic = true;
}

}  // namespace zozud
