// cIsoSurface: the surface where a scalar field is 0, extracted on a regular
// grid. The field is inside where it is above 0. Each cell is cut into six
// tetrahedra that all share the cell's main diagonal (the same cut in every
// cell, so neighbouring cells agree on their shared faces), and each
// tetrahedron crossed by the surface gives one or two triangles. Vertices lie
// on grid edges and are shared by every triangle that uses the edge, so a
// surface that stays inside the grid is closed. Triangles are wound counter-
// clockwise seen from outside; vertex normals point outside.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cIsoSurface {
public:
    struct Metaball {
        cVec3 center;
        float radius;
    };
    struct Vertex {  // the layout of cVertex::PositionNormal
        cVec3 Pos;
        cVec3 Normal;
    };
    typedef float (*Field)(const cVec3& p, const void* user);

    // ---- Grid ----
    // nx * ny * nz cells between min and max; false (nothing set up) for fewer
    // than one cell per axis, an empty box or more than MaxPoints grid points.
    bool Init(const cVec3& min, const cVec3& max, int nx, int ny, int nz);
    static const int MaxPoints = 1 << 26;

    // ---- Extraction ----
    // Samples the field at every grid point and extracts the surface; normals
    // follow the sampled field's differences.
    void Update(Field field, const void* user = nullptr);
    // The same over the metaball field f(p) = -1 + sum radius^2 / |p - center|^2
    // (-1 without balls). exactNormals: normals from the field's own gradient
    // rather than from the grid's differences.
    void UpdateMetaballs(const cList<Metaball>& balls, bool exactNormals);
    static float MetaballField(const cVec3& p, const cList<Metaball>& balls);

    // ---- Result ----
    cList<Vertex> Vertices;
    cList<int>    Indices;  // three per triangle
    int   GetTriangleCount() const { return Indices.Count() / 3; }
    float GetValue(int x, int y, int z) const { return m_Values[Index(x, y, z)]; }  // grid point, after Update
    cVec3 GetPoint(int x, int y, int z) const;
    cVec3 GetCellSize() const { return m_Cell; }

private:
    int  Index(int x, int y, int z) const { return (z * (m_N[1] + 1) + y) * (m_N[0] + 1) + x; }
    void Extract();
    cVec3 Gradient(int x, int y, int z) const;

    cVec3        m_Min = cVec3(0, 0, 0);
    cVec3        m_Cell = cVec3(0, 0, 0);
    int          m_N[3] = {0, 0, 0};
    cList<float> m_Values;
};

}  // namespace zozud
