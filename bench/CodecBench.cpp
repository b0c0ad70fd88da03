// Image codecs: decoding BMP and TGA files of 1024x1024 pixels beside
// stb_image, which reads the same bytes in the same program, and our DDS
// reading and writing with a full mip chain. Inputs are made in memory by our
// own encoders (and a small run-length packer for TGA), so both decoders see
// identical files. Bytes per second count the file's bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecTga.h"
#include "zozud/image/Image.h"

#if ZOZUD_BENCH_HAVE_STB
#include <stb/stb_image.h>
#endif

using namespace zozud;

namespace {

const int Side = 1024;

// A picture with smooth gradients and flat patches, so run-length packets
// and palettes have something to work with.
cImage Picture(cFormat::Enum format) {
    cImage image(format, Side, Side);
    const int n = cFormat::GetBytesPerPixel(format);
    for (int y = 0; y < Side; y++)
        for (int x = 0; x < Side; x++) {
            unsigned char* p = image.Pixels + ((int64_t)y * Side + x) * n;
            bool flat = ((x >> 6) + (y >> 6)) & 1;
            for (int c = 0; c < n; c++)
                p[c] = flat ? (unsigned char)(40 * c + 60) : (unsigned char)(x + 3 * y + 50 * c);
        }
    return image;
}

std::string Encoded(cIO::ImageCodec& codec, const cImage& image) {
    cFile file;
    codec.Encode(image, &file);
    return std::string((const char*)file.GetData(), (size_t)file.GetSize());
}

// Packs an unpacked true-colour TGA into run-length packets (type 10).
std::string PackTga(const std::string& plain, int bytes) {
    std::string out = plain.substr(0, 18);
    out[2] = 10;
    const char* px = plain.data() + 18;
    const size_t count = (plain.size() - 18) / bytes;
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        while (i + run < count && run < 128 && !memcmp(px + i * bytes, px + (i + run) * bytes, bytes)) run++;
        if (run > 1) {
            out += char(0x80 | (run - 1));
            out.append(px + i * bytes, bytes);
            i += run;
            continue;
        }
        size_t lit = 1;
        while (i + lit < count && lit < 128 && memcmp(px + (i + lit - 1) * bytes, px + (i + lit) * bytes, bytes)) lit++;
        out += char(lit - 1);
        out.append(px + i * bytes, lit * bytes);
        i += lit;
    }
    return out;
}

struct Inputs {
    std::string bmp8, bmp24, bmp32, tga24, tga32rle, dds;
    cImage      chain;  // Rgba8 with all its levels
    Inputs() {
        cCodecBmp bmp;
        cCodecTga tga;
        cCodecDds ddsCodec;
        bmp8 = Encoded(bmp, Picture(cFormat::R8));
        bmp24 = Encoded(bmp, Picture(cFormat::Rgb8));
        bmp32 = Encoded(bmp, Picture(cFormat::Rgba8));
        tga24 = Encoded(tga, Picture(cFormat::Rgb8));
        tga32rle = PackTga(Encoded(tga, Picture(cFormat::Rgba8)), 4);
        chain = Picture(cFormat::Rgba8);
        chain.CreateMipMaps();
        dds = Encoded(ddsCodec, chain);
    }
};

const Inputs& In() {
    static Inputs inputs;
    return inputs;
}

void Decode(benchmark::State& state, cIO::ImageCodec& codec, const std::string& bytes) {
    cFile file;
    file.Copy(bytes.data(), (int)bytes.size(), "bench");
    for (auto _ : state) {
        file.SetPos(0);
        cImage image;
        if (!codec.Decode(file, &image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Pixels);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)bytes.size());
}

#if ZOZUD_BENCH_HAVE_STB
void StbDecode(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc* pixels = stbi_load_from_memory((const stbi_uc*)bytes.data(), (int)bytes.size(), &w, &h, &n, 0);
        if (!pixels) state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)bytes.size());
}
#endif

void BM_OurBmp8(benchmark::State& state) { cCodecBmp c; Decode(state, c, In().bmp8); }
void BM_OurBmp24(benchmark::State& state) { cCodecBmp c; Decode(state, c, In().bmp24); }
void BM_OurBmp32(benchmark::State& state) { cCodecBmp c; Decode(state, c, In().bmp32); }
void BM_OurTga24(benchmark::State& state) { cCodecTga c; Decode(state, c, In().tga24); }
void BM_OurTga32Rle(benchmark::State& state) { cCodecTga c; Decode(state, c, In().tga32rle); }
void BM_OurDdsDecodeMipChain(benchmark::State& state) { cCodecDds c; Decode(state, c, In().dds); }

void BM_OurDdsEncodeMipChain(benchmark::State& state) {
    cCodecDds codec;
    for (auto _ : state) {
        cFile file;
        codec.Encode(In().chain, &file);
        benchmark::DoNotOptimize(file.GetData());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)In().dds.size());
}

BENCHMARK(BM_OurBmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurBmp32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurTga24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurTga32Rle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurDdsDecodeMipChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurDdsEncodeMipChain)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_STB
void BM_StbBmp8(benchmark::State& state) { StbDecode(state, In().bmp8); }
void BM_StbBmp24(benchmark::State& state) { StbDecode(state, In().bmp24); }
void BM_StbBmp32(benchmark::State& state) { StbDecode(state, In().bmp32); }
void BM_StbTga24(benchmark::State& state) { StbDecode(state, In().tga24); }
void BM_StbTga32Rle(benchmark::State& state) { StbDecode(state, In().tga32rle); }
BENCHMARK(BM_StbBmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbBmp32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbTga24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbTga32Rle)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
