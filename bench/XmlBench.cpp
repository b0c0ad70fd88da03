// The markup reader and writer on a large generated document, beside
// pugixml (the reference: a fast general XML parser building a DOM) on the
// same text in the same program, and saving and loading 10,000 reflected
// objects (every member kind, list entries included).
//
// BM_XmlVsPugixml parses and frees the document with both libraries in turn
// in every iteration, timed on the thread's CPU clock so that other load on
// the machine does not tilt the comparison, checks that both trees hold the
// same number of elements and reports:
//   parse_ratio  our parse throughput relative to pugixml's (1 = as fast)
//   free_share   our time to free the tree relative to our parse time
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <string>

#include "reflect/ReflectClasses.h"
#include "zozud/reflect/Xml.h"

#if ZOZUD_BENCH_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

using namespace zozud;
using namespace reflecttest;

namespace {

// Freed memory stays in the process: by default glibc hands large blocks
// back to the system on free, and on a virtual machine the page faults of
// taking them again cost more than the parsing (pugixml's 9 MB copy of the
// text, in particular). Both libraries run under the same setting.
const bool s_KeepFreedMemory = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();

// About 8 MB of the kind of text reflected objects save: nested records of
// short named values, one space of indentation per level.
const std::string& Document() {
    static const std::string text = [] {
        cXml root("Scene");
        for (int i = 0; i < 20000; i++) {
            cXml* object = root.AddSubQuote(new cXml("cObject"));
            object->AddSubQuote("Name", cStr::Format("Object number %d", i));
            object->AddSubQuote("Count", i * 7);
            object->AddSubQuote("Scale", cStr::Format("%.3f", i * 0.25));
            object->AddSubQuote("Position", cStr::Format("%.3f %.3f %.3f", i * 0.5, -i * 1.5, i * 0.125));
            object->AddSubQuote("Texture", cStr::Format("Textures/Objects/object_%05d.tga", i));
            cXml* parts = object->AddSubQuote(new cXml("Parts"));
            for (int k = 0; k < 3; k++) {
                cXml* part = parts->AddSubQuote(new cXml("cPart"));
                part->AddSubQuote("Size", cStr::Format("%.3f", k + i * 0.01));
                part->AddSubQuote("Enabled", k % 2 ? "true" : "false");
            }
        }
        cStr out;
        root.GetXMLSource(&out, 0);
        return std::string(out.ToChar(), out.Length());
    }();
    return text;
}

int CountElements(const cXml& root) {
    int count = 0;
    cList<const cXml*> pending;
    pending.Add(&root);
    while (!pending.IsEmpty()) {
        const cXml* node = pending.GetLast();
        pending.SetCount(pending.Count() - 1);
        count++;
        for (int i = 0; i < node->GetNSubQuotes(); i++) pending.Add(node->GetSubQuote(i));
    }
    return count;
}

double CpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Parsing only: the tree is freed outside the timing.
void BM_ZozudXmlParse(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        auto* root = new cXml;
        int n = root->Load(text.data(), (int)text.size());
        benchmark::DoNotOptimize(n);
        state.PauseTiming();
        delete root;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ZozudXmlParse)->Unit(benchmark::kMillisecond);

void BM_ZozudXmlFree(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        state.PauseTiming();
        auto* root = new cXml;
        root->Load(text.data(), (int)text.size());
        state.ResumeTiming();
        delete root;
    }
}
BENCHMARK(BM_ZozudXmlFree)->Unit(benchmark::kMillisecond);

void BM_ZozudXmlWrite(benchmark::State& state) {
    const std::string& text = Document();
    cXml root;
    root.Load(text.data(), (int)text.size());
    for (auto _ : state) {
        cStr out;
        root.GetXMLSource(&out, 0);
        benchmark::DoNotOptimize(out.Length());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ZozudXmlWrite)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_PUGIXML

int CountElements(const pugi::xml_node& root) {
    int count = 0;
    for (pugi::xml_node node : root.children())
        if (node.type() == pugi::node_element) count += 1 + CountElements(node);
    return count;
}

void BM_PugixmlParse(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        auto* doc = new pugi::xml_document;
        pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size());
        benchmark::DoNotOptimize(result.status);
        state.PauseTiming();
        delete doc;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);

void BM_PugixmlFree(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        state.PauseTiming();
        auto* doc = new pugi::xml_document;
        doc->load_buffer(text.data(), text.size());
        state.ResumeTiming();
        delete doc;
    }
}
BENCHMARK(BM_PugixmlFree)->Unit(benchmark::kMillisecond);

void BM_XmlVsPugixml(benchmark::State& state) {
    const std::string& text = Document();
    double ours = 0, oursFree = 0, theirs = 0, theirsFree = 0;
    for (auto _ : state) {
        double t0 = CpuSeconds();
        auto* root = new cXml;
        int n = root->Load(text.data(), (int)text.size());
        double t1 = CpuSeconds();
        auto* doc = new pugi::xml_document;
        pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size());
        double t2 = CpuSeconds();
        if (n <= 0 || !result || CountElements(*root) != CountElements(*doc)) {
            state.SkipWithError("the two trees differ");
            delete root;
            delete doc;
            break;
        }
        double t3 = CpuSeconds();
        delete root;
        double t4 = CpuSeconds();
        delete doc;
        double t5 = CpuSeconds();
        ours += t1 - t0;
        theirs += t2 - t1;
        oursFree += t4 - t3;
        theirsFree += t5 - t4;
    }
    double runs = double(state.iterations());
    if (runs <= 0 || ours <= 0) return;
    state.counters["ours_parse_ms"] = 1000 * ours / runs;
    state.counters["pugixml_parse_ms"] = 1000 * theirs / runs;
    state.counters["ours_free_ms"] = 1000 * oursFree / runs;
    state.counters["pugixml_free_ms"] = 1000 * theirsFree / runs;
    state.counters["parse_ratio"] = theirs / ours;
    state.counters["free_share"] = oursFree / ours;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()) * 2);
}
BENCHMARK(BM_XmlVsPugixml)->Unit(benchmark::kMillisecond)->Iterations(20);

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void BM_PugixmlWrite(benchmark::State& state) {
    const std::string& text = Document();
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        StringWriter writer;
        doc.save(writer, " ", pugi::format_indent | pugi::format_no_declaration);
        benchmark::DoNotOptimize(writer.out.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_PugixmlWrite)->Unit(benchmark::kMillisecond);

#endif

// ---- Reflected objects ----

// A scene of cTestAll objects, each with two list entries of its own.
class cBenchScene : public cClass {
public:
    ZOZUD_CLASS(cBenchScene)
    cBenchScene() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegAuto(this, Objects, "Objects");
        return EndRegisterMembers();
    }
    cClassList<cTestAll> Objects;
};

void FillScene(cBenchScene& scene, int count) {
    for (int i = 0; i < count; i++) {
        auto* a = new cTestAll;
        a->Count = i;
        a->Scale = 0.5f + i * 0.001f;
        a->Name = cStr::Format("Object %d", i);
        a->Position = cVec3(i * 0.5f, -i * 0.25f, 1);
        a->Cell = cVec<int, 2>(i % 16, i / 16);
        a->Kind = i % 2 ? 7 : 1;
        a->Texture = cStr::Format("Textures/t%d.tga", i % 100);
        a->Inner.Depth = i % 5;
        auto* circle = new cTestCircle;
        circle->Radius = 1 + i % 3;
        a->Shapes.Add(circle);
        a->Shapes.Add(new cTestSquare);
        scene.Objects.Add(a);
    }
}

const int SceneObjects = 10000;

void BM_SaveObjects10k(benchmark::State& state) {
    RegisterTestClasses();
    cBenchScene scene;
    FillScene(scene, SceneObjects);
    int64_t bytes = 0;
    for (auto _ : state) {
        cStr text;
        scene.WriteToString(&text);
        bytes = text.Length();
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(int64_t(state.iterations()) * SceneObjects);
}
BENCHMARK(BM_SaveObjects10k)->Unit(benchmark::kMillisecond);

void BM_SaveObjects10kLongForm(benchmark::State& state) {
    RegisterTestClasses();
    cBenchScene scene;
    FillScene(scene, SceneObjects);
    for (auto _ : state) {
        cXml root;
        scene.Save(root, &scene, nullptr);
        cStr text;
        root.GetXMLSource(&text, 0);
        benchmark::DoNotOptimize(text.Length());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * SceneObjects);
}
BENCHMARK(BM_SaveObjects10kLongForm)->Unit(benchmark::kMillisecond);

void BM_LoadObjects10k(benchmark::State& state) {
    RegisterTestClasses();
    cBenchScene scene;
    FillScene(scene, SceneObjects);
    cStr text;
    scene.WriteToString(&text);
    for (auto _ : state) {
        cBenchScene loaded;
        loaded.ReadFromString(text);
        benchmark::DoNotOptimize(loaded.Objects.Count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * SceneObjects);
}
BENCHMARK(BM_LoadObjects10k)->Unit(benchmark::kMillisecond);

void BM_CopyObjects10k(benchmark::State& state) {
    RegisterTestClasses();
    cBenchScene scene;
    FillScene(scene, SceneObjects);
    for (auto _ : state) {
        cBenchScene copy;
        copy.FullCopy(&copy, nullptr, &scene, &scene, nullptr, nullptr);
        benchmark::DoNotOptimize(copy.Objects.Count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * SceneObjects);
}
BENCHMARK(BM_CopyObjects10k)->Unit(benchmark::kMillisecond);

}  // namespace
