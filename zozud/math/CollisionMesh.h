// cCollisionMesh: world-space triangles (each with the id it was added with)
// and a cBsp over them, for moving a sphere through the world: Collide sweeps
// it from one point towards another and slides it along what it meets, Fix
// pushes it out of anything it overlaps. Triangles are two-sided. Queries see
// only what the last BuildBsp built.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Bsp.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cMat4;
class cModel;

class cCollisionMesh {
public:
    struct Triangle {
        cVec3 v[3];
        int   id;
    };

    cList<Triangle> Triangles;
    cBsp            Bsp;

    // ---- Adding triangles ----
    void AddTriangle(const cVec3& a, const cVec3& b, const cVec3& c, int id);
    // Triangles of an indexed array, transformed by m. Positions lie stride
    // bytes apart (0: packed cVec3); triangles with an index outside
    // 0..vertexCount-1 are skipped. The number of triangles added.
    int  AddTriangles(const void* positions, int stride, int vertexCount, const int* indices, int indexCount,
                      const cMat4& m, int id);
    // A model's meshes (bind pose for skinned ones), transformed by m, tagged
    // with id, or with ids[mesh] (-1 past the end of ids). Defined in the
    // model layer (zozud/model/ModelCollision.cpp): link zozud_model to call them.
    void AddModel(const cModel& model, const cMat4& m, int id);
    void AddModel(const cModel& model, const cMat4& m, const cList<int>& ids);

    void BuildBsp();  // a new tree of every triangle: splitters chosen among 3, cut weight 1, epsilon 0.001
    void Free();

    // ---- Sphere queries ----
    // Sweeps a sphere of the radius from `from` towards `to`. At each contact
    // it stops just short of the surface and continues with what is left of
    // the motion along the surface, times slide (0 stops at the first
    // contact, 1 slides freely), for up to MaxSlides contacts; it ends with
    // Fix. *result is where it ends, *id the id of the first triangle met.
    // True when it met anything.
    bool Collide(const cVec3& from, const cVec3& to, float radius, float slide, cVec3* result,
                 int* id = nullptr) const;
    // Moves the sphere at *position out of every triangle closer than radius,
    // along the line from the nearest point; true when it moved.
    bool Fix(cVec3* position, float radius) const;

    static const int MaxSlides = 5;

private:
    struct Contact {
        float t;      // of the motion, 0..1
        cVec3 point;  // on the triangle
        int   id;
    };
    static bool TestTriangle(const cBsp::Triangle& tri, const cVec3& from, const cVec3& move, float radius,
                             Contact* contact);
    bool ProcessCollision(const cVec3& from, const cVec3& move, float radius, Contact* contact) const;
    static bool FixTriangle(const cBsp::Triangle& tri, cVec3* position, float radius, float skin);
    bool ProcessFix(cVec3* position, float radius, float skin) const;
};

}  // namespace zozud
