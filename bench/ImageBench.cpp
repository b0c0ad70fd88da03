// cImage beside independent implementations: ToFormat and CreateMipMaps on
// 1024x1024 images, and DXT1/DXT5 block encoding (our fast and quality
// modes) against stb_dxt and libsquish on the same four test pictures: three
// made here at 512x512 (a smooth gradient, a noisy photograph-like texture,
// and flat UI with hard edges and text-like strokes) and a real photograph
// shipped by Debian's python-matplotlib-data (grace_hopper.jpg, 512x600,
// decoded with stb_image). Every encoder gets the same 4x4 RGBA cells; each
// benchmark also reports the RMSE of its result against the source, decoded
// for all by libsquish's standard decoder (what a GPU shows), so speed and
// quality are measured together. Counters: Mpx/s (megapixels per second) and
// rmse. At exit a table prints, per picture, our RMSE and speed as ratios to
// stb_dxt's (high quality for DXT1, its only DXT5 mode for DXT5).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "zozud/image/Image.h"

#if ZOZUD_BENCH_HAVE_STB
#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>
#endif
#if ZOZUD_BENCH_HAVE_SQUISH
#include <squish.h>
#endif

using namespace zozud;

namespace {

const int kSize = 512;

struct Rng {
    uint32_t s;
    int Next(int n) {
        s = s * 1664525u + 1013904223u;
        return (int)((s >> 8) % (uint32_t)n);
    }
};

unsigned char Clamp(int v) { return (unsigned char)(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// Value noise: bilinear blend of a coarse random grid, for photo-like texture.
float Noise(const std::vector<float>& grid, int cells, float x, float y) {
    int x0 = (int)x, y0 = (int)y;
    float fx = x - x0, fy = y - y0;
    auto at = [&](int i, int j) { return grid[(size_t)(j % cells) * cells + (i % cells)]; };
    float a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    float b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return a + (b - a) * fy;
}

cImage MakePicture(int kind, int size) {
    cImage image(cFormat::Rgba8, size, size);
    Rng rng = {(uint32_t)(kind * 7919 + 1)};
    std::vector<float> grid(64 * 64);
    for (float& g : grid) g = (float)rng.Next(1000) / 1000.0f;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            unsigned char* p = image.Pixels + ((size_t)y * size + x) * 4;
            if (kind == 0) {  // smooth sky-like gradient, alpha falling off
                p[0] = Clamp(40 + x * 120 / size);
                p[1] = Clamp(90 + y * 100 / size);
                p[2] = Clamp(200 + (x + y) * 50 / (2 * size));
                p[3] = Clamp(255 - y * 255 / size);
            } else if (kind == 1) {  // textured surface: noise at two scales plus grain
                float n = Noise(grid, 64, x / 16.0f, y / 16.0f) * 0.7f + Noise(grid, 64, x / 4.0f, y / 4.0f) * 0.3f;
                int grain = rng.Next(24) - 12;
                p[0] = Clamp((int)(n * 180) + 50 + grain);
                p[1] = Clamp((int)(n * 140) + 40 + grain);
                p[2] = Clamp((int)(n * 90) + 30 + grain);
                p[3] = Clamp((int)(Noise(grid, 64, x / 32.0f, y / 32.0f) * 255));
            } else {  // UI: flat panels, borders and thin dark strokes
                bool panel = ((x / 64) + (y / 48)) % 2 == 0;
                bool border = x % 64 < 2 || y % 48 < 2;
                bool stroke = (y % 12 < 2 && x % 64 > 8 && x % 64 < 40 + (y / 12 % 3) * 8) || (x % 7 == 0 && y % 12 < 9);
                unsigned char c[3] = {230, 232, 235};
                if (panel) c[0] = 60, c[1] = 120, c[2] = 200;
                if (border) c[0] = 20, c[1] = 20, c[2] = 30;
                if (stroke && !border) c[0] = c[1] = c[2] = panel ? 250 : 35;
                memcpy(p, c, 3);
                p[3] = border ? 255 : (panel ? 200 : 255);
            }
        }
    return image;
}

const char* const kPhotoPath = "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg";
const int kPictures = 4;
const char* const kPictureNames[kPictures] = {"gradient", "texture", "ui", "photo"};

// The photograph as Rgba8, cut to whole cells; empty when it or stb_image is missing.
cImage LoadPhoto() {
    cImage image;
#if ZOZUD_BENCH_HAVE_STB
    int w, h, n;
    unsigned char* rgba = stbi_load(kPhotoPath, &w, &h, &n, 4);
    if (rgba && w >= 4 && h >= 4) image.Copy(rgba, cFormat::Rgba8, w & ~3, h & ~3);
    if (rgba && (w & 3)) image.Free();  // rows would need repacking; the shipped file is 512x600
    stbi_image_free(rgba);
#endif
    return image;
}

const cImage& Picture(int kind) {
    static cImage pictures[kPictures] = {MakePicture(0, kSize), MakePicture(1, kSize), MakePicture(2, kSize),
                                         LoadPhoto()};
    return pictures[kind];
}

// The 4x4 RGBA cells of a picture, in block order, 64 bytes each. DXT1 gets
// opaque cells: encoders that support DXT1 transparency would otherwise spend
// a palette entry on it.
const std::vector<unsigned char>& Cells(int kind, bool alpha) {
    static std::vector<unsigned char> cells[2][kPictures];
    std::vector<unsigned char>& c = cells[alpha][kind];
    const cImage& image = Picture(kind);
    if (c.empty() && !image.IsEmpty()) {
        int w = image.Width, h = image.Height;
        c.resize((size_t)w * h * 4);
        unsigned char* out = c.data();
        for (int by = 0; by < h; by += 4)
            for (int bx = 0; bx < w; bx += 4)
                for (int y = 0; y < 4; y++, out += 16) {
                    memcpy(out, image.Pixels + ((size_t)(by + y) * w + bx) * 4, 16);
                    if (!alpha)
                        for (int x = 0; x < 4; x++) out[4 * x + 3] = 255;
                }
    }
    return c;
}

// CPU seconds of the calling thread, the time Google Benchmark's rates use.
double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
}

typedef void (*BlockEncoder)(const unsigned char* rgba, unsigned char* block, bool alpha);

void OurEncoder(const unsigned char* rgba, unsigned char* block, bool alpha) {
    uint64_t v;
    if (alpha) {
        v = cImage::EncodeDXT5AlphaBlock(4, 4, 4, 16, rgba + 3);
        memcpy(block, &v, 8);
        block += 8;
    }
    v = cImage::EncodeDXTColorBlock(4, 4, 4, 16, rgba);
    memcpy(block, &v, 8);
}

void OurQualityEncoder(const unsigned char* rgba, unsigned char* block, bool alpha) {
    uint64_t v;
    if (alpha) {
        v = cImage::EncodeDXT5AlphaBlockQuality(4, 4, 4, 16, rgba + 3);
        memcpy(block, &v, 8);
        block += 8;
    }
    v = cImage::EncodeDXTColorBlockQuality(4, 4, 4, 16, rgba);
    memcpy(block, &v, 8);
}

// Speed and RMSE of each run by benchmark name and picture; the destructor
// prints our figures as ratios to stb_dxt's when the program ends.
struct Summary {
    struct Figures {
        double mpxs = 0, rmse = 0;
    };
    std::map<std::string, Figures> runs[kPictures];

    ~Summary() {
        static const char* const rows[][2] = {{"BM_OurDxt1", "BM_StbDxt1HighQual"},
                                              {"BM_OurDxt1Quality", "BM_StbDxt1HighQual"},
                                              {"BM_OurDxt5", "BM_StbDxt5HighQual"},
                                              {"BM_OurDxt5Quality", "BM_StbDxt5HighQual"}};
        bool header = false;
        for (const auto& row : rows)
            for (int kind = 0; kind < kPictures; kind++) {
                auto ours = runs[kind].find(row[0]), stb = runs[kind].find(row[1]);
                if (ours == runs[kind].end() || stb == runs[kind].end() || stb->second.rmse <= 0) continue;
                if (!header) printf("\n%-20s %-9s %10s %10s\n", "ours / stb_dxt", "picture", "rmse", "speed");
                header = true;
                printf("%-20s %-9s %10.3f %10.2f\n", row[0] + 3, kPictureNames[kind],
                       ours->second.rmse / stb->second.rmse, ours->second.mpxs / stb->second.mpxs);
            }
    }
};

Summary& TheSummary() {
    static Summary summary;
    return summary;
}

double CellsRmse(int kind, const std::vector<unsigned char>& blocks, bool alpha) {
#if ZOZUD_BENCH_HAVE_SQUISH
    const std::vector<unsigned char>& cells = Cells(kind, alpha);
    int blockBytes = alpha ? 16 : 8, channels = alpha ? 4 : 3;
    double sum = 0;
    unsigned char rgba[64];
    size_t count = cells.size() / 64;
    for (size_t i = 0; i < count; i++) {
        squish::Decompress(rgba, blocks.data() + i * blockBytes, alpha ? squish::kDxt5 : squish::kDxt1);
        for (int p = 0; p < 16; p++)
            for (int c = 0; c < channels; c++) {
                double d = (double)rgba[p * 4 + c] - cells[i * 64 + p * 4 + c];
                sum += d * d;
            }
    }
    return std::sqrt(sum / ((double)count * 16 * channels));
#else
    (void)kind, (void)blocks, (void)alpha;
    return -1;
#endif
}

void RunEncoder(benchmark::State& state, BlockEncoder encode, bool alpha, const char* name) {
    int kind = (int)state.range(0);
    const std::vector<unsigned char>& cells = Cells(kind, alpha);
    if (cells.empty()) {
        state.SkipWithError("no photograph (install python-matplotlib-data and libstb-dev)");
        for (auto _ : state) {
        }
        return;
    }
    size_t count = cells.size() / 64;
    int blockBytes = alpha ? 16 : 8;
    std::vector<unsigned char> blocks(count * blockBytes);
    double start = ThreadSeconds();
    for (auto _ : state) {
        for (size_t i = 0; i < count; i++) encode(cells.data() + i * 64, blocks.data() + i * blockBytes, alpha);
        benchmark::DoNotOptimize(blocks.data());
        benchmark::ClobberMemory();
    }
    double seconds = ThreadSeconds() - start;
    double pixels = (double)count * 16, rmse = CellsRmse(kind, blocks, alpha);
    state.counters["Mpx/s"] = benchmark::Counter(pixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["rmse"] = rmse;
    state.SetLabel(kPictureNames[kind]);
    Summary::Figures& f = TheSummary().runs[kind][name];
    f.rmse = rmse;
    f.mpxs = pixels * 1e-6 * (double)state.iterations() / seconds;
}

// ---- DXT1 and DXT5 block encoding ----

void BM_OurDxt1(benchmark::State& state) { RunEncoder(state, OurEncoder, false, __func__); }
BENCHMARK(BM_OurDxt1)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_OurDxt5(benchmark::State& state) { RunEncoder(state, OurEncoder, true, __func__); }
BENCHMARK(BM_OurDxt5)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_OurDxt1Quality(benchmark::State& state) { RunEncoder(state, OurQualityEncoder, false, __func__); }
BENCHMARK(BM_OurDxt1Quality)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_OurDxt5Quality(benchmark::State& state) { RunEncoder(state, OurQualityEncoder, true, __func__); }
BENCHMARK(BM_OurDxt5Quality)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_STB
void StbNormal(const unsigned char* rgba, unsigned char* block, bool alpha) {
    stb_compress_dxt_block(block, rgba, alpha, STB_DXT_NORMAL);
}
void StbHigh(const unsigned char* rgba, unsigned char* block, bool alpha) {
    stb_compress_dxt_block(block, rgba, alpha, STB_DXT_HIGHQUAL);
}
void BM_StbDxt1(benchmark::State& state) { RunEncoder(state, StbNormal, false, __func__); }
BENCHMARK(BM_StbDxt1)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_StbDxt1HighQual(benchmark::State& state) { RunEncoder(state, StbHigh, false, __func__); }
BENCHMARK(BM_StbDxt1HighQual)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_StbDxt5(benchmark::State& state) { RunEncoder(state, StbNormal, true, __func__); }
BENCHMARK(BM_StbDxt5)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_StbDxt5HighQual(benchmark::State& state) { RunEncoder(state, StbHigh, true, __func__); }
BENCHMARK(BM_StbDxt5HighQual)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
#endif

#if ZOZUD_BENCH_HAVE_SQUISH
void SquishRange(const unsigned char* rgba, unsigned char* block, bool alpha) {
    squish::Compress(rgba, block, (alpha ? squish::kDxt5 : squish::kDxt1) | squish::kColourRangeFit);
}
void SquishCluster(const unsigned char* rgba, unsigned char* block, bool alpha) {
    squish::Compress(rgba, block, (alpha ? squish::kDxt5 : squish::kDxt1) | squish::kColourClusterFit);
}
void BM_SquishDxt1RangeFit(benchmark::State& state) { RunEncoder(state, SquishRange, false, __func__); }
BENCHMARK(BM_SquishDxt1RangeFit)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_SquishDxt1ClusterFit(benchmark::State& state) { RunEncoder(state, SquishCluster, false, __func__); }
BENCHMARK(BM_SquishDxt1ClusterFit)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
void BM_SquishDxt5RangeFit(benchmark::State& state) { RunEncoder(state, SquishRange, true, __func__); }
BENCHMARK(BM_SquishDxt5RangeFit)->DenseRange(0, kPictures - 1)->Unit(benchmark::kMillisecond);
#endif

// The whole-image path: cImage::Compress of an Rgba8 picture (allocation included).
void BM_OurCompressImageRgba8(benchmark::State& state) {
    const cImage& source = Picture((int)state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        cImage image(source);
        state.ResumeTiming();
        image.Compress();
        benchmark::DoNotOptimize(image.Pixels);
    }
    state.counters["Mpx/s"] = benchmark::Counter((double)kSize * kSize * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OurCompressImageRgba8)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// ---- ToFormat: 1024x1024, one level ----

const cImage& Large(cFormat::Enum format) {
    static cImage images[cFormat::Count];
    cImage& image = images[format];
    if (image.IsEmpty()) {
        image = MakePicture(1, 1024);
        image.ToFormat(format);
    }
    return image;
}

void RunToFormat(benchmark::State& state, cFormat::Enum from, cFormat::Enum to) {
    const cImage& source = Large(from);
    for (auto _ : state) {
        state.PauseTiming();
        cImage image(source);
        state.ResumeTiming();
        image.ToFormat(to);
        benchmark::DoNotOptimize(image.Pixels);
    }
    state.counters["Mpx/s"] = benchmark::Counter(1024.0 * 1024 * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ToFormatRgba8ToRgb8(benchmark::State& s) { RunToFormat(s, cFormat::Rgba8, cFormat::Rgb8); }
BENCHMARK(BM_ToFormatRgba8ToRgb8)->Unit(benchmark::kMillisecond);
void BM_ToFormatRgb8ToRgba8(benchmark::State& s) { RunToFormat(s, cFormat::Rgb8, cFormat::Rgba8); }
BENCHMARK(BM_ToFormatRgb8ToRgba8)->Unit(benchmark::kMillisecond);
void BM_ToFormatRgba8ToR8(benchmark::State& s) { RunToFormat(s, cFormat::Rgba8, cFormat::R8); }
BENCHMARK(BM_ToFormatRgba8ToR8)->Unit(benchmark::kMillisecond);
void BM_ToFormatRgba8ToRgba16f(benchmark::State& s) { RunToFormat(s, cFormat::Rgba8, cFormat::Rgba16f); }
BENCHMARK(BM_ToFormatRgba8ToRgba16f)->Unit(benchmark::kMillisecond);
void BM_ToFormatRgba32fToRgba8(benchmark::State& s) { RunToFormat(s, cFormat::Rgba32f, cFormat::Rgba8); }
BENCHMARK(BM_ToFormatRgba32fToRgba8)->Unit(benchmark::kMillisecond);

// A plain loop that drops alpha, for scale: what a copy of 3 of 4 bytes costs.
void BM_PlainLoopRgba8ToRgb8(benchmark::State& state) {
    const cImage& source = Large(cFormat::Rgba8);
    std::vector<unsigned char> out((size_t)1024 * 1024 * 3);
    for (auto _ : state) {
        const unsigned char* s = source.Pixels;
        unsigned char* d = out.data();
        for (int i = 0; i < 1024 * 1024; i++, s += 4, d += 3) memcpy(d, s, 3);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["Mpx/s"] = benchmark::Counter(1024.0 * 1024 * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PlainLoopRgba8ToRgb8)->Unit(benchmark::kMillisecond);

// ---- CreateMipMaps: the full chain of a 1024x1024 image ----

void RunMipMaps(benchmark::State& state, cFormat::Enum format) {
    const cImage& source = Large(format);
    for (auto _ : state) {
        state.PauseTiming();
        cImage image(source);
        state.ResumeTiming();
        image.CreateMipMaps();
        benchmark::DoNotOptimize(image.Pixels);
    }
    state.counters["Mpx/s"] = benchmark::Counter(1024.0 * 1024 * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_CreateMipMapsRgba8(benchmark::State& s) { RunMipMaps(s, cFormat::Rgba8); }
BENCHMARK(BM_CreateMipMapsRgba8)->Unit(benchmark::kMillisecond);
void BM_CreateMipMapsRgb8(benchmark::State& s) { RunMipMaps(s, cFormat::Rgb8); }
BENCHMARK(BM_CreateMipMapsRgb8)->Unit(benchmark::kMillisecond);
void BM_CreateMipMapsRgba16(benchmark::State& s) { RunMipMaps(s, cFormat::Rgba16); }
BENCHMARK(BM_CreateMipMapsRgba16)->Unit(benchmark::kMillisecond);
void BM_CreateMipMapsRgba16f(benchmark::State& s) { RunMipMaps(s, cFormat::Rgba16f); }
BENCHMARK(BM_CreateMipMapsRgba16f)->Unit(benchmark::kMillisecond);
void BM_CreateMipMapsRgba32f(benchmark::State& s) { RunMipMaps(s, cFormat::Rgba32f); }
BENCHMARK(BM_CreateMipMapsRgba32f)->Unit(benchmark::kMillisecond);

}  // namespace
