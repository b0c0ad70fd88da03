// cModel: the renderable model. A list of meshes sharing one skeleton, each a
// triangle list with its own vertex array and material name, plus the box
// around every vertex. A static model's meshes use Verts (cVertex::Bump), a
// skinned model's use AnimVerts (cVertex::Anim, four joint indices and weights
// per vertex); IsStatic chooses, so there is no per-vertex layout decision.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"
#include "zozud/model/Anim.h"
#include "zozud/render/Vertex.h"

namespace zozud {

class cModel {
public:
    struct Joint {
        cStr  Name;
        int   Parent = -1;  // index into Joints, negative for a root
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
    };

    struct Mesh {
        cStr                 Name;
        cStr                 Material;
        int                  MaterialID = -1;
        cList<int>           Indices;    // three per triangle
        cList<cVertex::Bump> Verts;      // static models
        cList<cVertex::Anim> AnimVerts;  // skinned models
        int                  VertexBuffer = -1;
        int                  IndexBuffer = -1;

        Mesh() = default;
        Mesh(const Mesh& other) { Copy(other); }
        Mesh& operator=(const Mesh& other) { if (this != &other) Copy(other); return *this; }
        // Deep copy; the render buffers of this mesh are freed first and the
        // copy has none of its own.
        void Copy(const Mesh& other);
        void FreeRenderBuffers();
    };

    bool        IsStatic = true;
    cList<Joint> Joints;
    cList<Mesh>  Meshes;
    cBounds      Bounds;

    cModel() = default;
    cModel(const cModel& other) = default;
    cModel& operator=(const cModel& other) = default;
    ~cModel() { FreeRenderBuffers(); }

    int  GetVertexCount() const;
    int  GetTriangleCount() const;  // index count / 3 per mesh
    void UpdateBounds();
    void CalcNormals();
    void CalcTangents();
    void Transform(const cMat4& m);
    // Nearest hit of the ray with any triangle, both faces; static models only.
    bool RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const;
    void GenSphere(const cVec3& center, float radius, int slices, int stacks);
    // One model per mesh, each with the skeleton, placed so that point is the
    // origin of the pieces.
    void Split(cList<cModel*>* list, const cVec3& point) const;

    // ---- Skinning ----
    // Vertices skinned by posed joints (model space), one list per mesh.
    void SetAnim(const cList<cAnim::Joint>& joints, cList<cList<cVertex::Bump>>* target) const;
    void GoToBindPose(cList<cList<cVertex::Bump>>* target) const;
    cList<cMat4> GetBindPoseInv() const;

    // ---- Drawing ----
    void CreateRenderBuffers();
    void FreeRenderBuffers();
    void Draw(int mesh = -1) const;  // -1: every mesh
    void DrawJoints(bool names) const;
    void DrawTangentSpace(float length) const;
    void GetMaterialsID();

    void Free();
};

}  // namespace zozud
