// Fuzzes the markup reader: any bytes parse or fail without a crash, a leak
// or a hang, and whatever parses is written and read back to the same tree
// and the same text.
#include <cstdint>
#include <cstdlib>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/reflect/Xml.h"

using namespace zozud;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cLog::GetLogMutable().Clear();  // refusals of deep nesting are logged; the log is never trimmed
    cFile file;
    file.Copy(data, (int)size, "fuzz.xml");
    cXml root;
    bool ok = root.ReadFromFile(file);
    // Written text grows with the square of the nesting (one space of
    // indentation per level): a few kilobytes of input nested a thousand
    // levels write a megabyte. The two texts keep their buffers from run to
    // run, so such inputs do not map and fault in fresh memory every time.
    static cStr first, second;
    first.Clear();
    second.Clear();
    root.GetXMLSource(&first, 0);  // a partly read tree is a tree all the same
    if (!ok) return 0;

    cXml again;
    if (again.Load(first.ToChar(), first.Length()) != first.Length() - 1) abort();
    again.GetXMLSource(&second, 0);
    if (first != second) abort();
    return 0;
}
