// Points of a spline by arc length, ours (tabulated lengths, then Newton
// steps inside one sixteenth of a segment) against the straightforward way:
// the segment by its length, then bisection on t with the length from the
// segment's start integrated anew (composite Simpson) at every step. Both
// answer within 1e-4 of the path's length; the program checks that before
// timing. Also the closest point, ours against dense sampling of every segment.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "zozud/math/SplinePath.h"

using namespace zozud;

namespace {

const int Knots = 64;
const int Queries = 1024;

struct Fixture {
    cSplinePath path;
    std::vector<float> lengths;  // the queries
    std::vector<cVec3> points;   // for the closest point
    Fixture() {
        cList<cSplineKnot> k;
        for (int i = 0; i < Knots; i++) {
            cVec3 p((float)(i * 10), (float)(i % 2 ? 5 : -5), (float)(i % 3));
            k.Add(cSplineKnot{p - cVec3(4, 0, 1), p, p + cVec3(4, 0, 1)});
        }
        path.Build(k.GetPtr(), k.Count(), false);
        for (int i = 0; i < Queries; i++) {
            lengths.push_back(path.GetTotalLength() * (float)std::fmod(i * 0.6180339887, 1.0));
            points.push_back(cVec3((float)std::fmod(i * 7.31, Knots * 10.0), (float)std::fmod(i * 3.7, 20.0) - 10, 1));
        }
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

// ---- The straightforward reference ----

float Speed(const cSegBezier<cVec3>& b, float t) { return b.GetDerivative(t).Length(); }

float Simpson(const cSegBezier<cVec3>& b, float t) {
    const int n = 32;  // even
    float h = t / n, sum = Speed(b, 0) + Speed(b, t);
    for (int i = 1; i < n; i++) sum += Speed(b, i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

cVec3 StraightforwardValueByLength(const cSplinePath& path, float length) {
    int i = 0;
    float start = 0, end = 0;
    for (; i < path.GetSegmentCount(); i++) {
        path.GetSegmentLengthRange(i, &start, &end);
        if (end >= length) break;
    }
    if (i == path.GetSegmentCount()) i--;
    const cSegBezier<cVec3>& b = path.GetSegment(i);
    float want = length - start, lo = 0, hi = 1;
    for (int step = 0; step < 24; step++) {
        float mid = 0.5f * (lo + hi);
        if (Simpson(b, mid) < want) lo = mid; else hi = mid;
    }
    return b.GetValue(0.5f * (lo + hi));
}

cVec3 DenseClosest(const cSplinePath& path, const cVec3& p) {
    const int samples = 256;
    cVec3 best = path.GetValue(cSplinePath::Place(0, 0));
    for (int i = 0; i < path.GetSegmentCount(); i++)
        for (int k = 0; k <= samples; k++) {
            cVec3 q = path.GetSegment(i).GetValue((float)k / samples);
            if ((q - p).LengthSq() < (best - p).LengthSq()) best = q;
        }
    return best;
}

// ---- Timed ----

void BM_OurValueByLength(benchmark::State& state) {
    Fixture& f = Get();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(f.path.GetValueByLength(f.lengths[i++ % Queries]));
    state.SetItemsProcessed(state.iterations());
}

void BM_StraightforwardValueByLength(benchmark::State& state) {
    Fixture& f = Get();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(StraightforwardValueByLength(f.path, f.lengths[i++ % Queries]));
    state.SetItemsProcessed(state.iterations());
}

void BM_OurClosestPointAccurate(benchmark::State& state) {
    Fixture& f = Get();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(f.path.CalcClosestPointPlaceAccurate(f.points[i++ % Queries], 1e-5f));
    state.SetItemsProcessed(state.iterations());
}

void BM_DenseClosestPoint(benchmark::State& state) {
    Fixture& f = Get();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(DenseClosest(f.path, f.points[i++ % Queries]));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_OurValueByLength);
BENCHMARK(BM_StraightforwardValueByLength);
BENCHMARK(BM_OurClosestPointAccurate);
BENCHMARK(BM_DenseClosestPoint);

// Both ways give the same points before anything is timed.
const bool s_Checked = [] {
    Fixture& f = Get();
    float worst = 0;
    for (float s : f.lengths) worst = std::fmax(worst, (f.path.GetValueByLength(s) - StraightforwardValueByLength(f.path, s)).Length());
    if (worst > 1e-4f * f.path.GetTotalLength()) {
        std::fprintf(stderr, "value by length differs by %g\n", worst);
        std::abort();
    }
    return true;
}();

}  // namespace
