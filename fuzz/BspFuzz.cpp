// The BSP's byte form: what loads must answer queries, survive a transform
// and a rebuild, and save back to exactly the bytes it came from; what does
// not load must leave the tree empty.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zozud/math/Bsp.h"
#include "zozud/math/CollisionMesh.h"
#include "zozud/math/Mat4.h"

using namespace zozud;

namespace {

void Check(bool condition) {
    if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 22)) return 0;
    cBsp bsp;
    if (!bsp.Load(data, (int)size)) {
        Check(bsp.GetRoot() == nullptr);
        return 0;
    }
    cList<unsigned char> out;
    bsp.Save(&out);
    Check(out.Count() == (int)size && (size == 0 || memcmp(out.GetPtr(), data, size) == 0));

    cList<const cBsp::Triangle*> near;
    bsp.GetTrianglesWithinRadius(cVec3(0, 0, 0), 10, &near);
    bsp.Intersects(cVec3(-100, -50, -20), cVec3(100, 60, 30), nullptr, nullptr);

    if (size > 41 * 2000) return 0;
    // The loaded triangles as a collision world: sweeps and fixes on whatever they hold.
    {
        cCollisionMesh mesh;
        cList<const cBsp::Triangle*> all;
        bsp.GetAllTriangles(&all);
        for (const cBsp::Triangle* t : all) mesh.AddTriangle(t->v[0], t->v[1], t->v[2], t->id);
        mesh.BuildBsp();
        cVec3 end;
        mesh.Collide(cVec3(0, 5, 0), cVec3(1, -5, 2), 0.5f, 1, &end);
        mesh.Fix(&end, 0.5f);
    }
    bsp.Transform(cMat4::Scaling(cVec3(-1, 2, 1)));
    bsp.Build();
    return 0;
}
