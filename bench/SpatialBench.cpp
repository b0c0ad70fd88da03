// cBsp and cIsoSurface. The BSP's sphere query over 100,000 triangles runs
// beside its reference, the same question answered by testing every triangle
// (the same per-triangle test, over a flat array): items_per_second is
// queries a second for both, so their ratio is the tree's gain. The soup is
// small triangles (about 1 unit) scattered in a 100-unit cube, queried with
// spheres of radius 1 and 4 at random centres. Building that tree is timed on
// its own. The iso-surface is extracted from a 128^3-cell grid: eight
// metaballs (sampling the field and extracting) and a plain sphere field
// (mostly extracting).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "zozud/math/Bsp.h"
#include "zozud/math/IsoSurface.h"

using namespace zozud;

namespace {

const int kTriangles = 100000;
const int kQueries = 1024;

struct Soup {
    std::vector<cBsp::Triangle> flat;  // for the brute force
    std::vector<cVec3>          centers;
    cBsp                        bsp;
    Soup() {
        std::mt19937 rng(2026);
        std::uniform_real_distribution<float> u(-1, 1);
        for (int i = 0; i < kTriangles; i++) {
            cVec3 c(u(rng) * 50, u(rng) * 50, u(rng) * 50);
            cBsp::Triangle t;
            for (cVec3& v : t.v) v = c + cVec3(u(rng), u(rng), u(rng)) * 0.7f;
            t.id = i;
            if (!t.CalcPlanes()) continue;
            flat.push_back(t);
            bsp.AddTriangle(t.v[0], t.v[1], t.v[2], i);
        }
        bsp.Build(3, 1, 0.001f);
        for (int i = 0; i < kQueries; i++) centers.push_back(cVec3(u(rng) * 50, u(rng) * 50, u(rng) * 50));
    }
};

Soup& Data() {
    static Soup soup;
    return soup;
}

void BM_BspSphereQuery(benchmark::State& state) {
    Soup& s = Data();
    float radius = (float)state.range(0);
    cList<const cBsp::Triangle*> found;
    int i = 0;
    for (auto _ : state) {
        found.Clear();
        s.bsp.GetTrianglesWithinRadius(s.centers[i], radius, &found);
        benchmark::DoNotOptimize(found.Count());
        i = (i + 1) & (kQueries - 1);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["nodes"] = s.bsp.GetNodeCount();
}
BENCHMARK(BM_BspSphereQuery)->Arg(1)->Arg(4);

void BM_BruteSphereQuery(benchmark::State& state) {
    Soup& s = Data();
    float radius = (float)state.range(0);
    cList<const cBsp::Triangle*> found;
    int i = 0;
    for (auto _ : state) {
        found.Clear();
        const cVec3& c = s.centers[i];
        for (const cBsp::Triangle& t : s.flat) {
            float d = t.plane.Distance(c);
            if (d <= radius && d >= -radius && (t.ClosestPoint(c) - c).LengthSq() <= radius * radius) found.Add(&t);
        }
        benchmark::DoNotOptimize(found.Count());
        i = (i + 1) & (kQueries - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BruteSphereQuery)->Arg(1)->Arg(4);

void BM_BspBuild100k(benchmark::State& state) {
    Soup& s = Data();
    for (auto _ : state) {
        cBsp bsp;
        for (const cBsp::Triangle& t : s.flat) bsp.AddTriangle(t.v[0], t.v[1], t.v[2], t.id);
        bsp.Build(3, 1, 0.001f);
        benchmark::DoNotOptimize(bsp.GetRoot());
    }
}
BENCHMARK(BM_BspBuild100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IsoMetaballs128(benchmark::State& state) {
    cList<cIsoSurface::Metaball> balls;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-0.5f, 0.5f);
    for (int i = 0; i < 8; i++) balls.Add(cIsoSurface::Metaball{cVec3(u(rng), u(rng), u(rng)), 0.15f + 0.1f * (u(rng) + 0.5f)});
    cIsoSurface iso;
    iso.Init(cVec3(-1, -1, -1), cVec3(1, 1, 1), 128, 128, 128);
    for (auto _ : state) {
        iso.UpdateMetaballs(balls, false);
        benchmark::DoNotOptimize(iso.GetTriangleCount());
    }
    state.counters["triangles"] = iso.GetTriangleCount();
}
BENCHMARK(BM_IsoMetaballs128)->Unit(benchmark::kMillisecond);

void BM_IsoSphereField128(benchmark::State& state) {
    cIsoSurface iso;
    iso.Init(cVec3(-1, -1, -1), cVec3(1, 1, 1), 128, 128, 128);
    for (auto _ : state) {
        iso.Update([](const cVec3& p, const void*) { return 0.8f - p.Length(); });
        benchmark::DoNotOptimize(iso.GetTriangleCount());
    }
    state.counters["triangles"] = iso.GetTriangleCount();
}
BENCHMARK(BM_IsoSphereField128)->Unit(benchmark::kMillisecond);

}  // namespace
