// cCollisionMesh::AddModel: the collision mesh lives in the math layer and
// knows models only by name; the model layer fills it from a model's meshes.
// Skinned models give their bind pose.
#include "zozud/math/CollisionMesh.h"
#include "zozud/model/Model.h"

namespace zozud {

namespace {

void AddMesh(cCollisionMesh* target, const cModel& model, const cModel::Mesh& mesh, const cMat4& m, int id) {
    const int* indices = mesh.Indices.GetPtr();
    int count = mesh.Indices.Count();
    if (model.IsStatic)
        target->AddTriangles(mesh.Verts.GetPtr(), sizeof(cVertex::Bump), mesh.Verts.Count(), indices, count, m, id);
    else
        target->AddTriangles(mesh.AnimVerts.GetPtr(), sizeof(cVertex::Anim), mesh.AnimVerts.Count(), indices, count,
                             m, id);
}

}  // namespace

void cCollisionMesh::AddModel(const cModel& model, const cMat4& m, int id) {
    for (const cModel::Mesh& mesh : model.Meshes) AddMesh(this, model, mesh, m, id);
}

void cCollisionMesh::AddModel(const cModel& model, const cMat4& m, const cList<int>& ids) {
    for (int i = 0; i < model.Meshes.Count(); i++) AddMesh(this, model, model.Meshes[i], m, i < ids.Count() ? ids[i] : -1);
}

}  // namespace zozud
