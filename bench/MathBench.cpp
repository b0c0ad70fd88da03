// cMat4, cVec3 and cQuat beside GLM: 4x4 product and inverse, transforming
// 100,000 points (with the division by w), quaternion slerp and rotation
// matrix to quaternion. The reference of every BM_Our<X> is GLM's BM_Glm<X>
// (glm::mat4 product, glm::inverse, mat4 * vec4 then division by w,
// glm::slerp, glm::quat_cast); after the table the program prints ours / GLM
// for each pair. Each benchmark walks the same arrays of random inputs, so
// both sides see the same data and nothing folds to a constant.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"

#if ZOZUD_BENCH_HAVE_GLM
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#endif

using namespace zozud;

namespace {

const int kCount = 1024;         // matrices, quaternions per array (fits in L1/L2)
const int kPoints = 100000;

struct Inputs {
    std::vector<cMat4> mats;
    std::vector<cMat3> rots;
    std::vector<cQuat> quats;
    std::vector<cVec3> points;
    Inputs() {
        cMath::Randomize(2024);
        for (int i = 0; i < kCount; i++) {
            cAngles a(cMath::RandRange1() * 180, cMath::RandRange1() * 90, cMath::RandRange1() * 180);
            cMat4 m = cMat4::Scaling(1 + cMath::Rand01()) * cMat4::RotationXYZ(a.Pitch, a.Yaw, a.Roll) *
                      cMat4::Translation(cVec3::RandRange1() * 10);
            mats.push_back(m);
            rots.push_back(m.ToMat3());
            quats.push_back(cQuat(cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1()).ToNormal());
        }
        for (int i = 0; i < kPoints; i++) points.push_back(cVec3::RandRange1() * 100);
    }
};

const Inputs& Data() {
    static const Inputs inputs;
    return inputs;
}

// A perspective view-projection: w is not 1, so every point is divided.
cMat4 ViewProjection() {
    return cMat4::LookAtViewProjection(cVec3(5, 3, 8), cVec3(0, 0, 0), 60, 1.5f, 0.5f, 500);
}

// ---- Ours ----

void BM_OurMat4Mul(benchmark::State& state) {
    const std::vector<cMat4>& m = Data().mats;
    int i = 0;
    for (auto _ : state) {
        cMat4 r = cMat4::Mul(m[i], m[(i + 1) & (kCount - 1)]);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_OurMat4Mul);

void BM_OurMat4Invert(benchmark::State& state) {
    const std::vector<cMat4>& m = Data().mats;
    int i = 0;
    for (auto _ : state) {
        cMat4 r;
        bool ok = cMat4::Invert(m[i], &r);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_OurMat4Invert);

void BM_OurTransformCoordinate(benchmark::State& state) {
    std::vector<cVec3> work = Data().points;
    cMat4 vp = ViewProjection();
    for (auto _ : state) {
        state.PauseTiming();  // fresh points each time, outside the timing
        std::memcpy(work.data(), Data().points.data(), sizeof(cVec3) * kPoints);
        state.ResumeTiming();
        cVec3::TransformCoordinate(work.data(), kPoints, vp);
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_OurTransformCoordinate);

void BM_OurQuatSlerp(benchmark::State& state) {
    const std::vector<cQuat>& q = Data().quats;
    int i = 0;
    float t = 0.3f;
    for (auto _ : state) {
        cQuat r = cQuat::Slerp(q[i], q[(i + 1) & (kCount - 1)], t);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_OurQuatSlerp);

void BM_OurToQuat(benchmark::State& state) {
    const std::vector<cMat3>& m = Data().rots;
    int i = 0;
    for (auto _ : state) {
        cQuat r = m[i].ToQuat();
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_OurToQuat);

// ---- GLM (column vectors: the same memory as our row-vector matrices) ----

#if ZOZUD_BENCH_HAVE_GLM

struct GlmInputs {
    std::vector<glm::mat4> mats;
    std::vector<glm::mat3> rots;
    std::vector<glm::quat> quats;
    std::vector<glm::vec3> points;
    GlmInputs() {
        const Inputs& d = Data();
        for (int i = 0; i < kCount; i++) {
            mats.push_back(glm::make_mat4(d.mats[i].m));
            rots.push_back(glm::make_mat3(d.rots[i].m));
            quats.push_back(glm::quat(d.quats[i].w, d.quats[i].x, d.quats[i].y, d.quats[i].z));
        }
        for (const cVec3& p : d.points) points.push_back(glm::vec3(p.x, p.y, p.z));
    }
};

const GlmInputs& GlmData() {
    static const GlmInputs inputs;
    return inputs;
}

void BM_GlmMat4Mul(benchmark::State& state) {
    const std::vector<glm::mat4>& m = GlmData().mats;
    int i = 0;
    for (auto _ : state) {
        glm::mat4 r = m[(i + 1) & (kCount - 1)] * m[i];  // the same product as ours
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_GlmMat4Mul);

void BM_GlmMat4Invert(benchmark::State& state) {
    const std::vector<glm::mat4>& m = GlmData().mats;
    int i = 0;
    for (auto _ : state) {
        glm::mat4 r = glm::inverse(m[i]);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_GlmMat4Invert);

void BM_GlmTransformCoordinate(benchmark::State& state) {
    std::vector<glm::vec3> work = GlmData().points;
    glm::mat4 vp = glm::make_mat4(ViewProjection().m);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), GlmData().points.data(), sizeof(glm::vec3) * kPoints);
        state.ResumeTiming();
        for (glm::vec3& p : work) {
            glm::vec4 h = vp * glm::vec4(p, 1.0f);
            p = glm::vec3(h) / h.w;
        }
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_GlmTransformCoordinate);

void BM_GlmQuatSlerp(benchmark::State& state) {
    const std::vector<glm::quat>& q = GlmData().quats;
    int i = 0;
    float t = 0.3f;
    for (auto _ : state) {
        glm::quat r = glm::slerp(q[i], q[(i + 1) & (kCount - 1)], t);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_GlmQuatSlerp);

void BM_GlmToQuat(benchmark::State& state) {
    const std::vector<glm::mat3>& m = GlmData().rots;
    int i = 0;
    for (auto _ : state) {
        glm::quat r = glm::quat_cast(m[i]);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kCount - 1);
    }
}
BENCHMARK(BM_GlmToQuat);

#endif

// The console table, then ours / GLM for every pair BM_Our<X> and BM_Glm<X>:
// of the median CPU times when repeated, of the single run otherwise.
class cRatioReporter : public benchmark::ConsoleReporter {
public:
    cRatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            if (r.run_type == Run::RT_Iteration) m_Times[r.run_name.function_name].push_back(r.GetAdjustedCPUTime());
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                m_Medians[r.run_name.function_name] = r.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        std::ostream& out = GetOutputStream();
        for (const auto& ours : Names()) {
            if (ours.compare(0, 6, "BM_Our") != 0) continue;
            double a = Time(ours), b = Time("BM_Glm" + ours.substr(6));
            if (a > 0 && b > 0) out << "Ours / GLM " << ours.substr(6) << ": " << a / b << "\n";
        }
    }

private:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& t : m_Times) names.push_back(t.first);
        for (const auto& t : m_Medians) names.push_back(t.first);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        return names;
    }
    double Time(const std::string& name) {
        if (m_Medians.count(name)) return m_Medians[name];
        std::vector<double>& t = m_Times[name];
        if (t.empty()) return 0;
        std::nth_element(t.begin(), t.begin() + t.size() / 2, t.end());
        return t[t.size() / 2];
    }
    std::map<std::string, std::vector<double>> m_Times;
    std::map<std::string, double>              m_Medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    cRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
