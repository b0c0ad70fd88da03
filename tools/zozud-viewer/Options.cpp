#include "Options.h"

#include "../common/ToolMain.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace viewer {

namespace {

// Paths on the command line name places in the working folder, so a
// relative screenshot name is never written into a source folder.
using toolmain::InWorkingFolder;

bool ParseInt(const std::string& text, int low, int high, int* out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < low || v > high) return false;
    *out = (int)v;
    return true;
}

// A decimal number in the C locale's notation whatever the user's locale.
bool ParseFloat(const std::string& text, float* out, double low = 0) {
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", (locale_t)0);
    if (text.empty() || !c) return false;
    char* end = nullptr;
    errno = 0;
    double v = strtod_l(text.c_str(), &end, c);
    if (errno || *end || !std::isfinite(v) || v < low || v > 1e6) return false;
    *out = (float)v;
    return true;
}

// Three numbers joined by commas.
bool ParseVec3(const std::string& text, float out[3]) {
    size_t a = text.find(','), b = a == std::string::npos ? a : text.find(',', a + 1);
    return b != std::string::npos && ParseFloat(text.substr(0, a), &out[0], -1e6) &&
           ParseFloat(text.substr(a + 1, b - a - 1), &out[1], -1e6) && ParseFloat(text.substr(b + 1), &out[2], -1e6);
}

bool ParseSize(const std::string& text, int* width, int* height) {
    size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), 16, 8192, width) &&
           ParseInt(text.substr(x + 1), 16, 8192, height);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options* o, std::string* error) {
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            o->Files.push_back(InWorkingFolder(a));
            continue;
        }
        if (a == "--explorer") { o->Explorer = true; continue; }
        if (a == "--report") { o->Report = true; continue; }
        if (a == "--follow-path") { o->FollowPath = true; continue; }
        if (i + 1 >= args.size()) {
            *error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        bool ok = true;
        if (a == "--screenshot") ok = !v.empty(), o->Screenshot = InWorkingFolder(v);
        else if (a == "--size") ok = ParseSize(v, &o->Width, &o->Height);
        else if (a == "--frames") ok = ParseInt(v, 1, 100000, &o->Frames);
        else if (a == "--time") ok = ParseFloat(v, &o->TimeSec);
        else if (a == "--theme") ok = strcasecmp(v.c_str(), "Ziduruz") == 0 || strcasecmp(v.c_str(), "WindowsStandard") == 0, o->Theme = v;
        else if (a == "--position") ok = ParseVec3(v, o->Position), o->HasPosition = true;
        else if (a == "--shot-folder") ok = !v.empty(), o->ShotFolder = v;
        else {
            *error = "unknown option " + a;
            return false;
        }
        if (!ok) {
            *error = "bad value for " + a + ": \"" + v + "\"";
            return false;
        }
    }
    o->ShotFolder = InWorkingFolder(o->ShotFolder);
    return true;
}

std::vector<std::string> ProcessArguments() {
    std::vector<std::string> args;
    FILE* f = std::fopen("/proc/self/cmdline", "rb");
    if (!f) return args;
    std::string all;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) all.append(buffer, n);
    std::fclose(f);
    size_t start = all.find('\0');  // the program name goes
    while (start != std::string::npos && start + 1 < all.size()) {
        size_t end = all.find('\0', start + 1);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(start + 1, end - start - 1));
        start = end;
    }
    return args;
}

}  // namespace viewer
