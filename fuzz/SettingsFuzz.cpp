// Fuzzes the settings' two readers: any bytes load onto the settings object
// (whose two "Platform" members share a name) without a crash or a leak,
// whatever was loaded saves and loads again; the same bytes
// as a character-range list ("32-126,0x20AC") for the font maker either
// parse into sorted codes up to 0xFFFF or are refused.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zozud/core/Log.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"
#include "zozud/render/FontMaker.h"
#include "zozud/widgets/Settings.h"

using namespace zozud;

namespace {

void LoadSettings(const uint8_t* data, size_t size) {
    cXml root;
    if (root.Load(reinterpret_cast<const char*>(data), (int)size) <= 0) return;
    cSettings settings;
    cErrorPager silent(false);
    settings.Load(root, &settings, &silent, nullptr);
    cStr text;
    if (!settings.WriteToString(&text)) abort();
    cSettings reread;
    if (!reread.ReadFromString(text)) abort();
}

void ParseRanges(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    cList<unsigned> codes;
    if (!cFontMaker::ParseRanges(text.c_str(), &codes)) return;
    for (int i = 0; i < codes.Count(); i++)
        if (codes[i] > 0xFFFF || (i > 0 && codes[i] <= codes[i - 1])) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cLog::GetLogMutable().Clear();  // refusals are logged; the log is never trimmed
    LoadSettings(data, size);
    ParseRanges(data, size);
    return 0;
}
