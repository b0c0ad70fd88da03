// Model codecs: OBJ loading of a generated grid of more than a million
// triangles beside tinyobjloader and assimp, and MD5 mesh and animation
// loading beside assimp. Every reader parses the same bytes from memory;
// bytes per second count the file's bytes. Ours includes everything a load
// does (welding into vertices, normals already in the file, tangents).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "zozud/model/CodecMd5.h"
#include "zozud/model/CodecObj.h"

#if ZOZUD_BENCH_HAVE_TINYOBJLOADER
#include <tiny_obj_loader.h>
#endif
#if ZOZUD_BENCH_HAVE_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#endif

using namespace zozud;

namespace {

// A wavy grid of side x side quads, written as triangles with positions,
// texture coordinates and normals: 2 * 710 * 710 = 1,008,200 triangles.
const std::string& ObjText() {
    static std::string text;
    if (!text.empty()) return text;
    const int side = 710, n = side + 1;
    char line[160];
    text.reserve(80u << 20);
    text += "# generated grid\nmtllib grid.mtl\n";
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            snprintf(line, sizeof(line), "v %.6f %.6f %.6f\n", x * 0.01, 0.05 * ((x * 7 + y * 3) % 11), y * 0.01);
            text += line;
        }
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            snprintf(line, sizeof(line), "vt %.6f %.6f\n", (double)x / side, (double)y / side);
            text += line;
        }
    for (int i = 0; i < 64; i++) {
        snprintf(line, sizeof(line), "vn %.6f %.6f %.6f\n", 0.1 * (i % 8) - 0.35, 0.9, 0.1 * (i / 8) - 0.35);
        text += line;
    }
    text += "usemtl ground\n";
    for (int y = 0; y < side; y++)
        for (int x = 0; x < side; x++) {
            int a = y * n + x + 1, b = a + 1, c = a + n, d = c + 1;
            int na = (x * 5 + y) % 64 + 1;
            snprintf(line, sizeof(line), "f %d/%d/%d %d/%d/%d %d/%d/%d\nf %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, na, c, c, na,
                     b, b, na, b, b, na, c, c, na, d, d, na);
            text += line;
        }
    return text;
}

// A skeleton of 64 joints in a chain of branches, meshes of 4 weights per
// vertex, and an animation of 240 frames animating every component. Every
// line is followed by an empty one (assimp 5.2's MD5 parser needs it; ours
// skips empty lines).
const int Joints = 64;

void Add(std::string* text, const char* line) {
    *text += line;
    *text += "\n";
}

const std::string& Md5MeshText() {
    static std::string text;
    if (!text.empty()) return text;
    char line[200];
    Add(&text, "MD5Version 10\n\ncommandline \"\"\n");
    snprintf(line, sizeof(line), "numJoints %d\n\nnumMeshes 4\n\njoints {\n", Joints);
    Add(&text, line);
    for (int j = 0; j < Joints; j++) {
        snprintf(line, sizeof(line), "\t\"joint%d\"\t%d ( %.6f %.6f %.6f ) ( %.6f %.6f %.6f )\n", j, j ? (j - 1) / 2 : -1,
                 0.1 * j, 0.2 * (j % 5), 0.3 * (j % 7), 0.05 * (j % 9), -0.04 * (j % 5), 0.03 * (j % 11));
        Add(&text, line);
    }
    Add(&text, "}\n");
    const int verts = 12000, tris = 24000;
    for (int m = 0; m < 4; m++) {
        snprintf(line, sizeof(line), "mesh {\n\n\tshader \"mat%d\"\n\n\tnumverts %d\n", m, verts);
        Add(&text, line);
        for (int v = 0; v < verts; v++) {
            snprintf(line, sizeof(line), "\tvert %d ( %.6f %.6f ) %d 4\n", v, (v % 100) * 0.01, (v / 100) * 0.01, v * 4);
            Add(&text, line);
        }
        snprintf(line, sizeof(line), "\tnumtris %d\n", tris);
        Add(&text, line);
        for (int t = 0; t < tris; t++) {
            snprintf(line, sizeof(line), "\ttri %d %d %d %d\n", t, t / 2, (t / 2 + 1) % verts, (t / 2 + 100) % verts);
            Add(&text, line);
        }
        snprintf(line, sizeof(line), "\tnumweights %d\n", verts * 4);
        Add(&text, line);
        for (int w = 0; w < verts * 4; w++) {
            snprintf(line, sizeof(line), "\tweight %d %d %.6f ( %.6f %.6f %.6f )\n", w, (w * 13) % Joints, 0.25,
                     0.01 * (w % 37), -0.02 * (w % 17), 0.03 * (w % 13));
            Add(&text, line);
        }
        Add(&text, "}\n");
    }
    return text;
}

const std::string& Md5AnimText() {
    static std::string text;
    if (!text.empty()) return text;
    const int frames = 240;
    char line[200];
    Add(&text, "MD5Version 10\n\ncommandline \"\"\n");
    snprintf(line, sizeof(line), "numFrames %d\n\nnumJoints %d\n\nframeRate 24\n\nnumAnimatedComponents %d\n\nhierarchy {\n",
             frames, Joints, Joints * 6);
    Add(&text, line);
    for (int j = 0; j < Joints; j++) {
        snprintf(line, sizeof(line), "\t\"joint%d\"\t%d 63 %d\n", j, j ? (j - 1) / 2 : -1, j * 6);
        Add(&text, line);
    }
    Add(&text, "}\n\nbounds {\n");
    for (int f = 0; f < frames; f++) Add(&text, "\t( -9.000000 -9.000000 -9.000000 ) ( 9.000000 9.000000 9.000000 )\n");
    Add(&text, "}\n\nbaseframe {\n");
    for (int j = 0; j < Joints; j++) Add(&text, "\t( 0.100000 0.200000 0.300000 ) ( 0.010000 0.020000 0.030000 )\n");
    Add(&text, "}\n");
    for (int f = 0; f < frames; f++) {
        snprintf(line, sizeof(line), "frame %d {\n", f);
        Add(&text, line);
        for (int j = 0; j < Joints; j++) {
            snprintf(line, sizeof(line), "\t%.6f %.6f %.6f %.6f %.6f %.6f\n", 0.01 * f, 0.1 * j, -0.02 * f,
                     0.001 * ((f + j) % 100), -0.002 * (j % 50), 0.003 * (f % 60));
            Add(&text, line);
        }
        Add(&text, "}\n");
    }
    return text;
}

cFile FileOf(const std::string& text) {
    cFile f;
    f.Copy(text.data(), (int)text.size(), "bench");
    return f;
}

void Ours(benchmark::State& state, cIO::ModelCodec& codec, const std::string& text) {
    cFile file = FileOf(text);
    for (auto _ : state) {
        file.SetPos(0);
        cModel model;
        if (!codec.Decode(file, &model)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(model.Meshes.GetPtr());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}

#if ZOZUD_BENCH_HAVE_ASSIMP
void LoadWithAssimp(benchmark::State& state, const std::string& text, const char* hint, unsigned flags) {
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(text.data(), text.size(), flags, hint);
        if (!scene) state.SkipWithError(importer.GetErrorString());
        benchmark::DoNotOptimize(scene);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}
#endif

}  // namespace

static void BM_ObjLoad_Zozud(benchmark::State& state) {
    cCodecObj codec;
    Ours(state, codec, ObjText());
}
BENCHMARK(BM_ObjLoad_Zozud)->Unit(benchmark::kMillisecond)->MinTime(2);

#if ZOZUD_BENCH_HAVE_TINYOBJLOADER
static void BM_ObjLoad_Tinyobjloader(benchmark::State& state) {
    const std::string& text = ObjText();
    for (auto _ : state) {
        tinyobj::ObjReader reader;
        tinyobj::ObjReaderConfig config;
        config.vertex_color = false;
        if (!reader.ParseFromString(text, "", config)) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(reader.GetShapes().data());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}
BENCHMARK(BM_ObjLoad_Tinyobjloader)->Unit(benchmark::kMillisecond)->MinTime(2);
#endif

#if ZOZUD_BENCH_HAVE_ASSIMP
static void BM_ObjLoad_Assimp(benchmark::State& state) { LoadWithAssimp(state, ObjText(), "obj", 0); }
BENCHMARK(BM_ObjLoad_Assimp)->Unit(benchmark::kMillisecond)->MinTime(2);
#endif

static void BM_Md5MeshLoad_Zozud(benchmark::State& state) {
    cCodecMd5Model codec;
    Ours(state, codec, Md5MeshText());
}
BENCHMARK(BM_Md5MeshLoad_Zozud)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_ASSIMP
static void BM_Md5MeshLoad_Assimp(benchmark::State& state) { LoadWithAssimp(state, Md5MeshText(), "md5mesh", 0); }
BENCHMARK(BM_Md5MeshLoad_Assimp)->Unit(benchmark::kMillisecond);
#endif

static void BM_Md5AnimLoad_Zozud(benchmark::State& state) {
    const std::string& text = Md5AnimText();
    cFile file = FileOf(text);
    cCodecMd5Anim codec;
    for (auto _ : state) {
        file.SetPos(0);
        cAnim anim;
        if (!codec.Decode(file, &anim)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(anim.Frames.GetPtr());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}
BENCHMARK(BM_Md5AnimLoad_Zozud)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_ASSIMP
static void BM_Md5AnimLoad_Assimp(benchmark::State& state) { LoadWithAssimp(state, Md5AnimText(), "md5anim", 0); }
BENCHMARK(BM_Md5AnimLoad_Assimp)->Unit(benchmark::kMillisecond);
#endif
