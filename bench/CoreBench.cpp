// cStr, cList and cPool beside the standard library, in pairs: every case
// runs ours ("<case>:ours") and then its reference ("<case>:<reference>") in
// the same program, and a table at the end gives both median CPU times and
// ours / reference. References: std::string (snprintf into a stack buffer,
// then a std::string, for formatting), std::vector and glibc's malloc/free.
//
// Strings are measured at 8 characters (inside std::string's own storage),
// 18 (the longest text of our short buffer, just past std::string's), 100
// (a pool block) and 1000 (the heap). Lists are measured at 10^3 to 10^6
// elements; removal refills the list outside the timed part.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "zozud/core/List.h"
#include "zozud/core/Pool.h"
#include "zozud/core/Str.h"

using namespace zozud;

namespace {

// ---- Pairs and the ratio table ----

struct Pair {
    std::string ours, reference;
};

std::vector<Pair>& Pairs() {
    static std::vector<Pair> pairs;
    return pairs;
}

using Body = std::function<void(benchmark::State&)>;

// Registers one case: ours first, then the reference under its own name.
void Case(const std::string& name, const char* reference, Body ours, Body ref, benchmark::TimeUnit unit = benchmark::kNanosecond) {
    Pair p{name + ":ours", name + ":" + reference};
    benchmark::RegisterBenchmark(p.ours.c_str(), ours)->Unit(unit);
    benchmark::RegisterBenchmark(p.reference.c_str(), ref)->Unit(unit);
    Pairs().push_back(p);
}

// Prints as the console reporter does, keeps each benchmark's CPU time (the
// median when repeated) and ends with the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.error_occurred || !(single || median)) continue;
            std::string name = r.run_name.str();
            double ns = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e9;
            m_Ns[name] = ns;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        char line[256];
        snprintf(line, sizeof(line), "\n%-30s %12s %-44s %12s %7s\n", "ours", "ns", "reference", "ns", "ratio");
        out << line;
        for (const Pair& p : Pairs()) {
            auto o = m_Ns.find(p.ours), r = m_Ns.find(p.reference);
            if (o == m_Ns.end() || r == m_Ns.end()) continue;
            snprintf(line, sizeof(line), "%-30s %12.1f %-44s %12.1f %7.2f\n", p.ours.c_str(), o->second,
                     p.reference.c_str(), r->second, o->second / r->second);
            out << line;
        }
        out.flush();
    }

private:
    std::map<std::string, double> m_Ns;
};

const char* Text(int length) {
    static std::map<int, std::string> texts;
    std::string& t = texts[length];
    if (t.empty())
        for (int i = 0; i < length; i++) t += char('a' + i % 26);
    return t.c_str();
}

// ---- Strings ----

void StringCases() {
    for (int n : {8, 18, 100, 1000}) {
        const char* text = Text(n);
        std::string tag = "/" + std::to_string(n);
        // A fresh string from a C string, then destroyed.
        Case("StrCopy" + tag, "std::string",
             [=](benchmark::State& s) { for (auto _ : s) { cStr x(text); benchmark::DoNotOptimize(x.GetBuffer()); } },
             [=](benchmark::State& s) { for (auto _ : s) { std::string x(text); benchmark::DoNotOptimize(x.data()); } });
    }
    for (int n : {8, 18, 100, 1000}) {
        // A copy of an existing string of the same type.
        cStr* ours = new cStr(Text(n));
        std::string* ref = new std::string(Text(n));
        Case("StrCopyStr/" + std::to_string(n), "std::string",
             [=](benchmark::State& s) { for (auto _ : s) { cStr x(*ours); benchmark::DoNotOptimize(x.GetBuffer()); } },
             [=](benchmark::State& s) { for (auto _ : s) { std::string x(*ref); benchmark::DoNotOptimize(x.data()); } });
    }
    for (int n : {18, 100, 1000}) {
        // One character at a time from empty.
        Case("StrAppendChars/" + std::to_string(n), "std::string",
             [=](benchmark::State& s) {
                 for (auto _ : s) { cStr x; for (int i = 0; i < n; i++) x.Append('c'); benchmark::DoNotOptimize(x.GetBuffer()); }
             },
             [=](benchmark::State& s) {
                 for (auto _ : s) { std::string x; for (int i = 0; i < n; i++) x.push_back('c'); benchmark::DoNotOptimize(x.data()); }
             });
    }
    static const char chunk[] = "0123456789abcdef";
    for (int n : {100, 1000}) {
        // Chunks of 16 characters from empty.
        Case("StrAppendChunks/" + std::to_string(n), "std::string",
             [=](benchmark::State& s) {
                 for (auto _ : s) { cStr x; for (int i = 0; i < n; i += 16) x.Append(chunk); benchmark::DoNotOptimize(x.GetBuffer()); }
             },
             [=](benchmark::State& s) {
                 for (auto _ : s) { std::string x; for (int i = 0; i < n; i += 16) x.append(chunk); benchmark::DoNotOptimize(x.data()); }
             });
    }
    // A short text (about 15 characters) and a long one (1008).
    Case("StrFormatShort", "snprintf",
         [](benchmark::State& s) {
             int i = 0;
             for (auto _ : s) { cStr x = cStr::Format("item %d of %d", i++ & 1023, 999); benchmark::DoNotOptimize(x.GetBuffer()); }
         },
         [](benchmark::State& s) {
             int i = 0;
             for (auto _ : s) {
                 char b[64];
                 int n = snprintf(b, sizeof(b), "item %d of %d", i++ & 1023, 999);
                 std::string x(b, n);
                 benchmark::DoNotOptimize(x.data());
             }
         });
    Case("StrFormatLong", "snprintf",
         [](benchmark::State& s) {
             for (auto _ : s) { cStr x = cStr::Format("%s = %.3f", Text(1000), 3.25); benchmark::DoNotOptimize(x.GetBuffer()); }
         },
         [](benchmark::State& s) {
             for (auto _ : s) {
                 char b[2048];
                 int n = snprintf(b, sizeof(b), "%s = %.3f", Text(1000), 3.25);
                 std::string x(b, n);
                 benchmark::DoNotOptimize(x.data());
             }
         });
}

// ---- Lists ----

// Element texts for string lists: names and paths of 8 to 30 characters.
template <class S>
const std::vector<S>& Names() {
    static std::vector<S> names = [] {
        std::vector<S> v;
        const int lengths[] = {8, 12, 18, 30};
        for (int i = 0; i < 1024; i++) {
            std::string t = std::to_string(i) + "_" + Text(lengths[i % 4]);
            v.push_back(S(t.substr(0, lengths[i % 4]).c_str()));
        }
        return v;
    }();
    return names;
}

template <class T> T Element(int i);
template <> int         Element<int>(int i) { return i; }
template <> cStr        Element<cStr>(int i) { return Names<cStr>()[i & 1023]; }
template <> std::string Element<std::string>(int i) { return Names<std::string>()[i & 1023]; }

// n elements added one at a time to a fresh list, which is then destroyed.
template <class T>
void ListAdd(benchmark::State& s, int n) {
    std::vector<T> source;
    for (int i = 0; i < 1024; i++) source.push_back(Element<T>(i));
    for (auto _ : s) {
        cList<T> list;
        for (int i = 0; i < n; i++) list.Add(source[i & 1023]);
        benchmark::DoNotOptimize(list.GetPtr());
    }
    s.SetItemsProcessed(s.iterations() * n);
}

template <class T>
void VectorAdd(benchmark::State& s, int n) {
    std::vector<T> source;
    for (int i = 0; i < 1024; i++) source.push_back(Element<T>(i));
    for (auto _ : s) {
        std::vector<T> list;
        for (int i = 0; i < n; i++) list.push_back(source[i & 1023]);
        benchmark::DoNotOptimize(list.data());
    }
    s.SetItemsProcessed(s.iterations() * n);
}

const int Removed = 100;  // elements taken out per timed round

// 100 times the first element of a list of n; the list is refilled to n
// outside the timed part.
template <class T>
void ListRemoveFirst(benchmark::State& s, int n) {
    cList<T> list;
    for (int i = 0; i < n; i++) list.Add(Element<T>(i));
    for (auto _ : s) {
        for (int k = 0; k < Removed; k++) list.RemoveAt(0);
        s.PauseTiming();
        for (int k = 0; k < Removed; k++) list.Add(Element<T>(k));
        s.ResumeTiming();
    }
    s.SetItemsProcessed(s.iterations() * Removed);
}

template <class T>
void VectorRemoveFirst(benchmark::State& s, int n) {
    std::vector<T> list;
    for (int i = 0; i < n; i++) list.push_back(Element<T>(i));
    for (auto _ : s) {
        for (int k = 0; k < Removed; k++) list.erase(list.begin());
        s.PauseTiming();
        for (int k = 0; k < Removed; k++) list.push_back(Element<T>(k));
        s.ResumeTiming();
    }
    s.SetItemsProcessed(s.iterations() * Removed);
}

// 100 distinct values found and removed from a list of n, spread evenly
// over it; the list is restored outside the timed part.
template <class T>
void ListRemoveValue(benchmark::State& s, int n) {
    cList<T> master, list;
    for (int i = 0; i < n; i++) master.Add(Element<T>(i));
    for (auto _ : s) {
        s.PauseTiming();
        list = master;
        s.ResumeTiming();
        for (int k = 0; k < Removed; k++) benchmark::DoNotOptimize(list.Remove(master[k * (n / Removed)]));
    }
    s.SetItemsProcessed(s.iterations() * Removed);
}

template <class T>
void VectorRemoveValue(benchmark::State& s, int n) {
    std::vector<T> master, list;
    for (int i = 0; i < n; i++) master.push_back(Element<T>(i));
    for (auto _ : s) {
        s.PauseTiming();
        list = master;
        s.ResumeTiming();
        for (int k = 0; k < Removed; k++) {
            auto it = std::find(list.begin(), list.end(), master[k * (n / Removed)]);
            if (it != list.end()) list.erase(it);
            benchmark::DoNotOptimize(it);
        }
    }
    s.SetItemsProcessed(s.iterations() * Removed);
}

void ListCases() {
    for (int n : {1000, 100000, 1000000}) {
        auto unit = n >= 100000 ? benchmark::kMicrosecond : benchmark::kNanosecond;
        Case("ListAddInt/" + std::to_string(n), "std::vector",
             [=](benchmark::State& s) { ListAdd<int>(s, n); }, [=](benchmark::State& s) { VectorAdd<int>(s, n); }, unit);
    }
    for (int n : {1000, 100000}) {
        auto unit = n >= 100000 ? benchmark::kMicrosecond : benchmark::kNanosecond;
        Case("ListAddStr/" + std::to_string(n), "std::vector<std::string>",
             [=](benchmark::State& s) { ListAdd<cStr>(s, n); }, [=](benchmark::State& s) { VectorAdd<std::string>(s, n); }, unit);
    }
    for (int n : {10000, 100000}) {
        Case("ListRemoveFirstInt/" + std::to_string(n), "std::vector",
             [=](benchmark::State& s) { ListRemoveFirst<int>(s, n); },
             [=](benchmark::State& s) { VectorRemoveFirst<int>(s, n); }, benchmark::kMicrosecond);
        Case("ListRemoveFirstStr/" + std::to_string(n), "std::vector<std::string>",
             [=](benchmark::State& s) { ListRemoveFirst<cStr>(s, n); },
             [=](benchmark::State& s) { VectorRemoveFirst<std::string>(s, n); }, benchmark::kMicrosecond);
    }
    // Distinct values: ints 0 to n - 1, and at most 1024 different texts.
    Case("ListRemoveValueInt/10000", "std::vector",
         [](benchmark::State& s) { ListRemoveValue<int>(s, 10000); },
         [](benchmark::State& s) { VectorRemoveValue<int>(s, 10000); }, benchmark::kMicrosecond);
    Case("ListRemoveValueStr/1000", "std::vector<std::string>",
         [](benchmark::State& s) { ListRemoveValue<cStr>(s, 1000); },
         [](benchmark::State& s) { VectorRemoveValue<std::string>(s, 1000); }, benchmark::kMicrosecond);
}

// ---- Pool ----

void PoolCases() {
    for (int size : {32, 128}) {
        // One block allocated and freed.
        Case("PoolAllocFree/" + std::to_string(size), "malloc",
             [=](benchmark::State& s) {
                 for (auto _ : s) { unsigned char* p = cPool::Alloc(size); benchmark::DoNotOptimize(p); cPool::Free(p, size); }
             },
             [=](benchmark::State& s) {
                 for (auto _ : s) { void* p = malloc(size); benchmark::DoNotOptimize(p); free(p); }
             });
    }
    // 256 blocks held at once, then freed.
    Case("PoolBatch/32", "malloc",
         [](benchmark::State& s) {
             unsigned char* blocks[256];
             for (auto _ : s) {
                 for (auto& p : blocks) p = cPool::Alloc(32);
                 benchmark::DoNotOptimize(blocks);
                 for (auto& p : blocks) cPool::Free(p, 32);
             }
         },
         [](benchmark::State& s) {
             void* blocks[256];
             for (auto _ : s) {
                 for (auto& p : blocks) p = malloc(32);
                 benchmark::DoNotOptimize(blocks);
                 for (auto& p : blocks) free(p);
             }
         });
}

}  // namespace

int main(int argc, char** argv) {
    StringCases();
    ListCases();
    PoolCases();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(isatty(1) ? benchmark::ConsoleReporter::OO_Defaults : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
