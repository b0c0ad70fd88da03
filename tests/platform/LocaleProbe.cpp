// A small application for the locale test: started through the shell's own
// main (so gtk_init takes the locale from the environment), it prints the
// decimal point the C library now uses, then numbers as the framework writes
// and reads them: formatted texts, number lists and the float wrappers.
#include <gtk/gtk.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/LinuxMain.h"
#include "zozud/reflect/Class.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/reflect/ClassStorage.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

using zozud::cStr;

zozud::cStr cMain_Title("Locale Probe");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

namespace {

// Output goes through cStr::Format, which is what is being tested: the
// probe's own printf would follow the locale.
void Print(const cStr& line) { printf("%s\n", line.ToChar()); }

// Saves the values with the wrapper, loads the text back into zeros and
// prints "name [saved text] v0 v1 v2 v3" (the loaded values, in thousandths).
void RoundTrip(const char* name) {
    zozud::cClass* wrapper = zozud::cClass_GetClassFromPalette(name)->new_element();
    float values[4] = {1.0f, -2.5f, 3.125f, 0.5f}, back[4] = {0, 0, 0, 0};
    zozud::cXml node(name);
    wrapper->Save(node, values, nullptr);
    zozud::cErrorPager pager(false);
    bool loaded = wrapper->Load(node, back, &pager, nullptr);
    Print(cStr::Format("%s [%s] %d %d %d %d %d", name, node.Get_string().ToChar(), loaded, int(back[0] * 1000),
                       int(back[1] * 1000), int(back[2] * 1000), int(back[3] * 1000)));
    delete wrapper;
}

}  // namespace

void cMain_OnPreInit() {
    printf("decimal point [%s]\n", localeconv()->decimal_point);
    Print(cStr::Format("format [%.3f %g %.1e %5.2f]", -2.5, 0.125, 1.5e6, 3.14159));
    float list[3] = {1.0f, -2.5f, 3.125f};
    Print(cStr::Format("list [%s]", cStr::ToString(list, 3, 3, " ").ToChar()));
    float f = 0;
    bool ok = cStr::ToFloat("-2.5", &f);
    Print(cStr::Format("read %d %d", ok, int(f * 1000)));
    zozud::cClassExplorer::Init();
    for (const char* name : {"_cFloat", "_cFloat3", "_cColor", "_cSliderRangedF"}) RoundTrip(name);
    fflush(stdout);
    exit(0);
}

void cMain_OnCrash() {}
