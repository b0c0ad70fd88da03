// Fuzzes loading reflected objects: any bytes load onto an object of every
// member kind (lists of polymorphic entries, an embedded object, an
// enumeration, a property), onto a tree of lists and onto a list of any
// class without a crash or a leak; whatever was loaded saves, and the saved
// text loads again. Only objects loaded from elements at the nesting limit
// may be refused on saving: their members would lie deeper than a file may.
#include <cstdint>
#include <cstdlib>

#include "reflect/ReflectClasses.h"
#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;
using namespace reflecttest;

namespace {

// Loads through a silent pager: the core log keeps every warning it is
// given, which over millions of runs would only measure memory.
template <class T>
void LoadAndReload(const cXml& root) {
    T object;
    cErrorPager silent(false);
    object.Load(const_cast<cXml&>(root), &object, &silent, nullptr);
    cStr text;
    if (!object.WriteToString(&text)) {
        if (root.GetDepth() + 8 < cXml::MaxDepth) abort();
        return;
    }
    cXml saved;
    if (saved.Load(text.ToChar(), text.Length()) <= 0) abort();
    T again;
    if (!again.Load(saved, &again, &silent, nullptr)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterTestClasses();
    cLog::GetLogMutable().Clear();  // refusals are logged; the log is never trimmed
    cFile file;
    file.Copy(data, (int)size, "fuzz.xml");
    cXml root;
    if (!root.ReadFromFile(file)) return 0;
    LoadAndReload<cTestAll>(root);
    LoadAndReload<cTestNode>(root);
    LoadAndReload<cClassList<cClass>>(root);
    return 0;
}
