#include "zozud/model/CodecMd5.h"

#include <cmath>

#include "zozud/math/Vec3.h"

namespace zozud {

namespace {

const char* const TopDelimiters = " \t";
const char* const BlockDelimiters = " ()\t\"";
const char* const BaseFrameDelimiters = " ()\t";

// The next non-empty line as tokens; false at the end of the file.
bool ReadTokens(const cFile& file, cList<cStr>* tokens, const char* delimiters) {
    cStr line;
    while (file.ReadString(&line, "\r\n")) {
        tokens->Clear();
        cStr::Split(line, tokens, delimiters);
        if (!tokens->IsEmpty()) return true;
    }
    return false;
}

bool Int(const cStr& s, int* out) { return cStr::ToInt(s, out); }
bool Float(const cStr& s, float* out) { return cStr::ToFloat(s, out) && std::isfinite(*out); }

// A count of elements that each take a line of at least minBytes further on
// in the file: larger counts are refused before anything is allocated.
bool Count(const cStr& s, int* out, const cFile& file, int minBytes) {
    return Int(s, out) && *out >= 0 && *out <= (file.GetSize() - file.GetPos()) / minBytes;
}

const int MinLine = 8;   // the shortest joint, vertex, triangle or weight line
const int MinValue = 2;  // a number and its separator

bool Vec3(const cList<cStr>& t, int at, cVec3* v) {
    return Float(t[at], &v->x) && Float(t[at + 1], &v->y) && Float(t[at + 2], &v->z);
}

// w from x, y, z: the negative root, 0 below the threshold.
void ComputeW(cQuat* q) {
    float t = 1.0f - q->x * q->x - q->y * q->y - q->z * q->z;
    q->w = t >= 0.001f ? -std::sqrt(t) : 0.0f;
}

bool Orient(const cList<cStr>& t, int at, cQuat* q) {
    if (!Float(t[at], &q->x) || !Float(t[at + 1], &q->y) || !Float(t[at + 2], &q->z)) return false;
    ComputeW(q);
    return true;
}

// parent ⊗ child (Hamilton product).
cQuat Hamilton(const cQuat& p, const cQuat& c) {
    return cQuat(p.w * c.x + p.x * c.w + p.y * c.z - p.z * c.y,
                 p.w * c.y - p.x * c.z + p.y * c.w + p.z * c.x,
                 p.w * c.z + p.x * c.y - p.y * c.x + p.z * c.w,
                 p.w * c.w - p.x * c.x - p.y * c.y - p.z * c.z);
}

// z up at full size into y up at half size: (x, y, z) -> (0.5 x, 0.5 z, -0.5 y).
struct Conversion {
    cMat4 matrix = cMat4::RotationX(-90) * cMat4::Scaling(0.5f);
    cQuat rotation = cMat4::RotationX(-90).ToQuat();
    cVec3 Point(const cVec3& p) const { return cVec3::TransformCoordinate(p, matrix); }
    cQuat Orient(const cQuat& q) const {
        cQuat r = rotation.ToConjugate() * q * rotation;
        r.Normalize();
        return r;
    }
};

}  // namespace

int cCodecMd5_JointValue::Compare(const cCodecMd5_JointValue& a, const cCodecMd5_JointValue& b) {
    if (a.Weight > b.Weight) return -1;
    if (b.Weight > a.Weight) return 1;
    return 0;
}

// ---- Mesh files ----

bool cCodecMd5_Model::Load(const cFile& file) {
    cList<cStr> t;
    int nextMesh = 0;
    while (ReadTokens(file, &t, TopDelimiters)) {
        const cStr& key = t[0];
        int n;
        if (key == "numJoints" || key == "numMeshes") {
            if (t.Count() < 2 || !Count(t[1], &n, file, MinLine)) return false;
            if (!(key == "numJoints" ? Joints.SetCount(n) : Meshes.SetCount(n))) return false;
        } else if (key == "joints") {
            if (!LoadJoints(file)) return false;
        } else if (key == "mesh") {
            if (nextMesh >= Meshes.Count()) return false;
            if (!Meshes[nextMesh++].Load(file)) return false;
        }
    }
    return CalcPoints();
}

bool cCodecMd5_Model::LoadJoints(const cFile& file) {
    cList<cStr> t;
    int read = 0;
    while (ReadTokens(file, &t, BlockDelimiters)) {
        if (t[0].ToChar()[0] == '}') return read == Joints.Count();
        if (t.Count() < 8 || read >= Joints.Count()) return false;
        cCodecMd5_Joint& j = Joints[read];
        j.Name = t[0];
        if (!Int(t[1], &j.ParentIndex) || !Vec3(t, 2, &j.Position) || !Orient(t, 5, &j.Orient)) return false;
        // A parent must come before its child, so posing and skinning can walk the list once.
        if (j.ParentIndex >= read) return false;
        j.Parent = j.ParentIndex >= 0 ? &Joints[j.ParentIndex] : nullptr;
        read++;
    }
    return false;
}

bool cCodecMd5_Mesh::Load(const cFile& file) {
    cList<cStr> t;
    while (ReadTokens(file, &t, BlockDelimiters)) {
        const cStr& key = t[0];
        int n, i;
        if (key.ToChar()[0] == '}') {
            MaxWeights = 0;
            for (const Vert& v : Verts)
                if (v.WeightCount > MaxWeights) MaxWeights = v.WeightCount;
            return true;
        }
        if (key == "shader") {
            if (t.Count() < 2) return false;
            Shader = t[1];
        } else if (key == "numverts" || key == "numtris" || key == "numweights") {
            if (t.Count() < 2 || !Count(t[1], &n, file, MinLine)) return false;
            bool grown = key == "numverts" ? Verts.SetCount(n) : key == "numtris" ? Tris.SetCount(n) : Weights.SetCount(n);
            if (!grown) return false;
        } else if (key == "vert") {
            if (t.Count() < 6 || !Int(t[1], &i) || i < 0 || i >= Verts.Count()) return false;
            Vert& v = Verts[i];
            float u, vv;
            if (!Float(t[2], &u) || !Float(t[3], &vv) || !Int(t[4], &v.FirstWeight) || !Int(t[5], &v.WeightCount))
                return false;
            v.TexCoord = cVec2(u, 1 - vv);
        } else if (key == "tri") {
            if (t.Count() < 5 || !Int(t[1], &i) || i < 0 || i >= Tris.Count()) return false;
            Tri& tri = Tris[i];
            // b and c exchanged: the file's winding turned around.
            if (!Int(t[2], &tri.Index[0]) || !Int(t[4], &tri.Index[1]) || !Int(t[3], &tri.Index[2])) return false;
        } else if (key == "weight") {
            if (t.Count() < 7 || !Int(t[1], &i) || i < 0 || i >= Weights.Count()) return false;
            cCodecMd5_Weight& w = Weights[i];
            if (!Int(t[2], &w.Joint) || !Float(t[3], &w.Bias) || !Vec3(t, 4, &w.Position)) return false;
        }
    }
    return false;
}

bool cCodecMd5_Mesh::CalcPoints(const cList<cCodecMd5_Joint>& joints) {
    for (Vert& v : Verts) {
        if (v.FirstWeight < 0 || v.WeightCount < 0 || v.FirstWeight > Weights.Count() - v.WeightCount) return false;
        cVec3 p(0, 0, 0);
        for (int k = 0; k < v.WeightCount; k++) {
            const cCodecMd5_Weight& w = Weights[v.FirstWeight + k];
            if (w.Joint < 0 || w.Joint >= joints.Count()) return false;
            const cCodecMd5_Joint& j = joints[w.Joint];
            p += (j.Position + j.Orient.Rotate(w.Position)) * w.Bias;
        }
        v.Position = p;
    }
    for (const Tri& t : Tris)
        for (int k = 0; k < 3; k++)
            if (t.Index[k] < 0 || t.Index[k] >= Verts.Count()) return false;
    return true;
}

bool cCodecMd5_Model::CalcPoints() {
    for (cCodecMd5_Mesh& m : Meshes)
        if (!m.CalcPoints(Joints)) return false;
    return true;
}

bool cCodecMd5Model::Decode(const cFile& file, cModel* model) {
    cCodecMd5_Model md5;
    if (!model || !md5.Load(file)) return false;
    Conversion conv;
    model->Free();
    model->IsStatic = false;
    if (!model->Joints.SetCount(md5.Joints.Count()) || !model->Meshes.SetCount(md5.Meshes.Count())) return false;
    for (int i = 0; i < md5.Joints.Count(); i++) {
        cModel::Joint& j = model->Joints[i];
        j.Name = md5.Joints[i].Name;
        j.Parent = md5.Joints[i].ParentIndex;
        j.Position = conv.Point(md5.Joints[i].Position);
        j.Orient = conv.Orient(md5.Joints[i].Orient);
    }
    for (int m = 0; m < md5.Meshes.Count(); m++) {
        const cCodecMd5_Mesh& src = md5.Meshes[m];
        cModel::Mesh& dst = model->Meshes[m];
        dst.Material = src.Shader;
        if (!dst.Indices.SetCount(src.Tris.Count() * 3) || !dst.AnimVerts.SetCount(src.Verts.Count())) return false;
        for (int t = 0; t < src.Tris.Count(); t++)
            for (int k = 0; k < 3; k++) dst.Indices[t * 3 + k] = src.Tris[t].Index[k];
        cList<cCodecMd5_JointValue> values;
        for (int i = 0; i < src.Verts.Count(); i++) {
            const cCodecMd5_Mesh::Vert& v = src.Verts[i];
            cVertex::Anim& a = dst.AnimVerts[i];
            memset(static_cast<void*>(&a), 0, sizeof(a));
            a.Pos = conv.Point(v.Position);
            a.TexCoord = v.TexCoord;
            values.Clear();
            for (int k = 0; k < v.WeightCount; k++) {
                cCodecMd5_JointValue jv;
                jv.Joint = src.Weights[v.FirstWeight + k].Joint;
                jv.Weight = src.Weights[v.FirstWeight + k].Bias;
                values.Add(jv);
            }
            // Largest first (insertion sort: stable, and vertices have few weights).
            for (int x = 1; x < values.Count(); x++)
                for (int y = x; y > 0 && cCodecMd5_JointValue::Compare(values[y - 1], values[y]) > 0; y--) {
                    cCodecMd5_JointValue s = values[y];
                    values[y] = values[y - 1];
                    values[y - 1] = s;
                }
            // The four largest, renormalised to sum to 1; unused slots weigh 0.
            float sum = 0;
            for (int k = 0; k < 4 && k < values.Count(); k++) sum += values[k].Weight;
            for (int k = 0; k < 4 && k < values.Count(); k++) {
                a.Indices[k] = (float)values[k].Joint;
                a.Weights[k] = sum > 0 ? values[k].Weight / sum : 0.0f;
            }
        }
    }
    model->CalcNormals();
    model->CalcTangents();
    model->UpdateBounds();
    return true;
}

// ---- Animation files ----

bool cCodecMd5_Anim::Load(const cFile& file) {
    cList<cStr> t;
    while (ReadTokens(file, &t, TopDelimiters)) {
        const cStr& key = t[0];
        int n;
        if (key == "numFrames" || key == "numJoints" || key == "frameRate" || key == "numAnimatedComponents") {
            if (t.Count() < 2) return false;
            if (key == "frameRate" ? !Int(t[1], &n) || n < 0
                                   : !Count(t[1], &n, file, key == "numAnimatedComponents" ? MinValue : MinLine))
                return false;
            if (key == "numFrames") {
                if (!Frames.SetCount(n)) return false;
            } else if (key == "numJoints") {
                if (!Joints.SetCount(n) || !BaseFrame.SetCount(n) || !Posed.SetCount(n)) return false;
            } else if (key == "frameRate") FrameRate = n;
            else AnimatedComponents = n;
        } else if (key == "hierarchy") {
            if (!LoadHierarchy(file)) return false;
        } else if (key == "baseframe") {
            if (!LoadBaseFrame(file)) return false;
        } else if (key == "frame") {
            if (t.Count() < 2 || !Int(t[1], &n) || n < 0 || n >= Frames.Count()) return false;
            if (!LoadFrame(file, n)) return false;
        }
    }
    // Every joint's components must lie inside the frames, parents before children.
    for (int i = 0; i < Joints.Count(); i++) {
        const Hierarchy& h = Joints[i];
        int bits = 0;
        for (int b = 0; b < 6; b++) bits += (h.Flags >> b) & 1;
        if (h.Parent >= i || h.StartIndex < 0 || h.StartIndex > AnimatedComponents - bits) return false;
    }
    return true;
}

bool cCodecMd5_Anim::LoadHierarchy(const cFile& file) {
    cList<cStr> t;
    int read = 0;
    while (ReadTokens(file, &t, BlockDelimiters)) {
        if (t[0].ToChar()[0] == '}') return true;
        if (t.Count() < 4 || read >= Joints.Count()) return false;
        Hierarchy& h = Joints[read++];
        h.Name = t[0];
        if (!Int(t[1], &h.Parent) || !Int(t[2], &h.Flags) || !Int(t[3], &h.StartIndex)) return false;
    }
    return false;
}

bool cCodecMd5_Anim::LoadBaseFrame(const cFile& file) {
    cList<cStr> t;
    int read = 0;
    while (ReadTokens(file, &t, BaseFrameDelimiters)) {
        if (t[0].ToChar()[0] == '}') return true;
        if (t.Count() < 6 || read >= BaseFrame.Count()) return false;
        BaseJoint& j = BaseFrame[read++];
        if (!Vec3(t, 0, &j.Position) || !Orient(t, 3, &j.Orient)) return false;
    }
    return false;
}

bool cCodecMd5_Anim::LoadFrame(const cFile& file, int index) {
    if (index < 0 || index >= Frames.Count()) return false;
    // Values beyond numAnimatedComponents are dropped; missing ones read as 0
    // (SetFrame), so a short frame block allocates nothing for them.
    cList<float>& values = Frames[index];
    values.Clear();
    int read = 0;
    cList<cStr> t;
    while (ReadTokens(file, &t, TopDelimiters)) {
        if (t[0].ToChar()[0] == '}') return true;
        for (const cStr& s : t) {
            float f;
            if (!Float(s, &f)) return false;
            if (read < AnimatedComponents) values.Add(f);
            read++;
        }
    }
    return false;
}

void cCodecMd5_Anim::ResetJoints() {
    Posed.SetCount(Joints.Count());
    for (int i = 0; i < Posed.Count(); i++) Posed[i] = i < BaseFrame.Count() ? BaseFrame[i] : BaseJoint();
}

void cCodecMd5_Anim::SetFrame(int index) {
    ResetJoints();
    if (Frames.IsEmpty()) {
        BuildJoints();
        return;
    }
    if (index < 0) index = 0;
    if (index >= Frames.Count()) index = Frames.Count() - 1;
    const cList<float>& values = Frames[index];
    for (int i = 0; i < Joints.Count(); i++) {
        int at = Joints[i].StartIndex, flags = Joints[i].Flags;
        BaseJoint& j = Posed[i];
        float* targets[6] = {&j.Position.x, &j.Position.y, &j.Position.z, &j.Orient.x, &j.Orient.y, &j.Orient.z};
        for (int b = 0; b < 6; b++)
            if (flags & (1 << b)) {
                *targets[b] = at >= 0 && at < values.Count() ? values[at] : 0.0f;
                at++;
            }
        ComputeW(&j.Orient);
    }
    BuildJoints();
}

void cCodecMd5_Anim::BuildJoints() {
    for (int i = 0; i < Posed.Count() && i < Joints.Count(); i++) {
        int p = Joints[i].Parent;
        if (p < 0 || p >= i) continue;
        const BaseJoint& parent = Posed[p];
        BaseJoint& j = Posed[i];
        j.Position = j.Position * parent.Orient.ToMat3() + parent.Position;
        j.Orient = Hamilton(parent.Orient, j.Orient);
    }
}

bool cCodecMd5Anim::Decode(const cFile& file, cAnim* anim) {
    cCodecMd5_Anim md5;
    if (!anim || !md5.Load(file)) return false;
    Conversion conv;
    anim->Free();
    anim->FrameRate = md5.FrameRate;
    if (!anim->Joints.SetCount(md5.Joints.Count()) || !anim->Frames.SetCount(md5.Frames.Count())) return false;
    for (int i = 0; i < md5.Joints.Count(); i++) {
        anim->Joints[i].Name = md5.Joints[i].Name;
        anim->Joints[i].Parent = md5.Joints[i].Parent;
    }
    for (int f = 0; f < md5.Frames.Count(); f++) {
        md5.SetFrame(f);
        cList<cAnim::FrameJoint>& frame = anim->Frames[f];
        if (!frame.SetCount(md5.Posed.Count())) return false;
        for (int i = 0; i < md5.Posed.Count(); i++) {
            frame[i].Position = conv.Point(md5.Posed[i].Position);
            frame[i].Orient = conv.Orient(md5.Posed[i].Orient);
        }
    }
    anim->UpdateBounds();
    return true;
}

}  // namespace zozud
