// cRawMesh: the polygonal editing mesh. Polygons whose corners index
// separate position, texture-coordinate and normal arrays (the form in which
// OBJ data arrives), a material per polygon; Split welds equal corners into
// the vertices of triangle meshes with lookup tables that stay allocated for
// the next Split until FreeHashTables.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/VecT.h"
#include "zozud/model/Model.h"

namespace zozud {

class cRawMesh {
public:
    struct Corner {
        int Position = -1;
        int TexCoord = -1;  // -1: none
        int Normal = -1;    // -1: none
    };
    struct Poly {
        int First = 0;  // into Corners
        int Count = 0;
        int Material = 0;  // into Materials
    };

    cList<cVec3>  Positions;
    cList<cVec2>  TexCoords;
    cList<cVec3>  Normals;
    cList<Corner> Corners;
    cList<Poly>   Polys;
    cList<cStr>   Materials;

    ~cRawMesh() { FreeHashTables(); }

    void Clear();
    int  GetPolyCount() const { return Polys.Count(); }
    bool IsTriangulated() const;  // every polygon a triangle (true without polygons)
    // Every corner's position in range and its other indices in range or -1.
    bool IsValid() const;
    void Triangulate();                           // polygons become fans of triangles
    void Triangulate(cList<cVec<int, 3>>* out) const;  // corner triples, polygons untouched
    void InvertRaw();                             // reverses the winding of every polygon
    void ClearMaterials();                        // one material for every polygon
    // Normals from the polygons: one per position, smoothed over the polygons
    // that share it, or with faceted one per polygon.
    void CalcNormals(bool faceted);
    // The meshes Split builds get tangents and bitangents from their texture
    // coordinates.
    void CalcTangents() { m_Tangents = true; }
    // Triangle meshes of Bump vertices, one per material in use (in material
    // order); equal corners become one vertex. False for an invalid mesh.
    bool Split(cList<cModel::Mesh>* out);
    void FreeHashTables();

private:
    bool       m_Tangents = false;
    cList<int> m_Table;  // per position: its first vertex in the mesh being built, -1 none
    cList<int> m_Next;   // per vertex: the next vertex of the same position
};

}  // namespace zozud
