// cStr, cList and cPool beside the standard library: copying, appending and
// formatting short (18 characters), pool-sized (100) and heap-sized (1000)
// texts against std::string and snprintf; cList<int>::Add against
// std::vector::push_back; cPool::Alloc/Free against malloc/free.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zozud/core/List.h"
#include "zozud/core/Pool.h"
#include "zozud/core/Str.h"

using namespace zozud;

namespace {

const std::string& Text(int length) {
    static std::string texts[3] = {std::string(18, 's'), std::string(100, 'm'), std::string(1000, 'l')};
    return texts[length == 18 ? 0 : length == 100 ? 1 : 2];
}

// ---- Copy: a fresh string from a C string, then destroyed ----

void BM_StrCopy(benchmark::State& state) {
    const char* text = Text(int(state.range(0))).c_str();
    for (auto _ : state) {
        cStr s(text);
        benchmark::DoNotOptimize(s.GetBuffer());
    }
}
BENCHMARK(BM_StrCopy)->Arg(18)->Arg(100)->Arg(1000);

void BM_StdStringCopy(benchmark::State& state) {
    const char* text = Text(int(state.range(0))).c_str();
    for (auto _ : state) {
        std::string s(text);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_StdStringCopy)->Arg(18)->Arg(100)->Arg(1000);

// ---- Append: one character at a time up to the length, from empty ----

void BM_StrAppendChars(benchmark::State& state) {
    int length = int(state.range(0));
    for (auto _ : state) {
        cStr s;
        for (int i = 0; i < length; i++) s.Append('c');
        benchmark::DoNotOptimize(s.GetBuffer());
    }
}
BENCHMARK(BM_StrAppendChars)->Arg(18)->Arg(100)->Arg(1000);

void BM_StdStringAppendChars(benchmark::State& state) {
    int length = int(state.range(0));
    for (auto _ : state) {
        std::string s;
        for (int i = 0; i < length; i++) s.push_back('c');
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_StdStringAppendChars)->Arg(18)->Arg(100)->Arg(1000);

// ---- Append: chunks of 16 characters up to the length, from empty ----

const char Chunk[] = "0123456789abcdef";

void BM_StrAppendChunks(benchmark::State& state) {
    int length = int(state.range(0));
    for (auto _ : state) {
        cStr s;
        for (int i = 0; i < length; i += 16) s.Append(Chunk);
        benchmark::DoNotOptimize(s.GetBuffer());
    }
}
BENCHMARK(BM_StrAppendChunks)->Arg(100)->Arg(1000);

void BM_StdStringAppendChunks(benchmark::State& state) {
    int length = int(state.range(0));
    for (auto _ : state) {
        std::string s;
        for (int i = 0; i < length; i += 16) s.append(Chunk);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_StdStringAppendChunks)->Arg(100)->Arg(1000);

// ---- Format: a short text (14 characters) and a long one (about 1000) ----

void BM_StrFormatShort(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        cStr s = cStr::Format("item %d of %d", i & 1023, 999);
        benchmark::DoNotOptimize(s.GetBuffer());
        i++;
    }
}
BENCHMARK(BM_StrFormatShort);

void BM_SnprintfShort(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        char buffer[64];
        int n = snprintf(buffer, sizeof(buffer), "item %d of %d", i & 1023, 999);
        std::string s(buffer, n);
        benchmark::DoNotOptimize(s.data());
        i++;
    }
}
BENCHMARK(BM_SnprintfShort);

void BM_StrFormatLong(benchmark::State& state) {
    const char* text = Text(1000).c_str();
    for (auto _ : state) {
        cStr s = cStr::Format("%s = %.3f", text, 3.25);
        benchmark::DoNotOptimize(s.GetBuffer());
    }
}
BENCHMARK(BM_StrFormatLong);

void BM_SnprintfLong(benchmark::State& state) {
    const char* text = Text(1000).c_str();
    for (auto _ : state) {
        char buffer[2048];
        int n = snprintf(buffer, sizeof(buffer), "%s = %.3f", text, 3.25);
        std::string s(buffer, n);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SnprintfLong);

// ---- Lists: 1000 ints added one at a time to a fresh container ----

void BM_ListAdd(benchmark::State& state) {
    int count = int(state.range(0));
    for (auto _ : state) {
        cList<int> list;
        for (int i = 0; i < count; i++) list.Add(i);
        benchmark::DoNotOptimize(list.GetPtr());
    }
}
BENCHMARK(BM_ListAdd)->Arg(1000);

void BM_VectorPushBack(benchmark::State& state) {
    int count = int(state.range(0));
    for (auto _ : state) {
        std::vector<int> list;
        for (int i = 0; i < count; i++) list.push_back(i);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_VectorPushBack)->Arg(1000);

// ---- Pool: one block allocated and freed, and 256 held at once ----

void BM_PoolAllocFree(benchmark::State& state) {
    int size = int(state.range(0));
    for (auto _ : state) {
        unsigned char* p = cPool::Alloc(size);
        benchmark::DoNotOptimize(p);
        cPool::Free(p, size);
    }
}
BENCHMARK(BM_PoolAllocFree)->Arg(32)->Arg(128);

void BM_MallocFree(benchmark::State& state) {
    int size = int(state.range(0));
    for (auto _ : state) {
        void* p = malloc(size);
        benchmark::DoNotOptimize(p);
        free(p);
    }
}
BENCHMARK(BM_MallocFree)->Arg(32)->Arg(128);

void BM_PoolBatch(benchmark::State& state) {
    int size = int(state.range(0));
    unsigned char* blocks[256];
    for (auto _ : state) {
        for (auto& p : blocks) p = cPool::Alloc(size);
        benchmark::DoNotOptimize(blocks);
        for (auto& p : blocks) cPool::Free(p, size);
    }
}
BENCHMARK(BM_PoolBatch)->Arg(32);

void BM_MallocBatch(benchmark::State& state) {
    int size = int(state.range(0));
    void* blocks[256];
    for (auto _ : state) {
        for (auto& p : blocks) p = malloc(size);
        benchmark::DoNotOptimize(blocks);
        for (auto& p : blocks) free(p);
    }
}
BENCHMARK(BM_MallocBatch)->Arg(32);

}  // namespace
