// zozud-image: shows and converts images through the framework's image
// codecs, chosen by file extension as every loader of the framework does.
//
//   zozud-image info FILE...
//   zozud-image convert INPUT OUTPUT [options]
//
// Paths are taken relative to the working folder (the framework itself would
// resolve them against the program folder). Exit status 0 on success; any
// failure prints one line on stderr naming the file and what failed, and
// gives status 1.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/io/Codec.h"

#include "../common/ToolMain.h"

using namespace zozud;

namespace {

using toolmain::ExtensionOf;
using toolmain::Fail;
using toolmain::InWorkingFolder;
using toolmain::UsageError;

const char* const Usage =
    "Usage:\n"
    "  zozud-image info FILE...\n"
    "      Prints one line per file: PATH: WIDTHxHEIGHT depth D levels N FORMAT\n"
    "      (FORMAT is the format's name, or its number when it has none;\n"
    "      depth 0 is a cube map, depth 1 a plain 2D image).\n"
    "  zozud-image convert INPUT OUTPUT [options]\n"
    "      Loads INPUT, applies the options in the order given and saves OUTPUT.\n"
    "      The codec of each file is chosen by its extension (Bmp, Tga, Dds, cPvr;\n"
    "      letter case does not matter; cPvr files are read only).\n"
    "  zozud-image --help\n"
    "\n"
    "Options of convert:\n"
    "  --format NAME   convert the pixels to a format: R8, Rg8, Rgb8, Rgba8, R16, Rg16,\n"
    "                  Rgb16, Rgba16, R16f, Rg16f, Rgb16f, Rgba16f, R32f, Rg32f, Rgb32f,\n"
    "                  Rgba32f (uncompressed formats only; see --compress)\n"
    "  --gray          to grey: 8-bit colour becomes R8, 16-bit colour R16\n"
    "  --flip          turn the image upside down\n"
    "  --resize WxH    resample level 0 to W by H pixels (mip levels are dropped)\n"
    "  --pot           resize to the nearest powers of two\n"
    "  --mipmaps[=N]   build N levels (default: the full chain down to 1x1)\n"
    "  --compress[=quality]\n"
    "                  Rgba8 to Dxt5, R8 and Rgb8 to Dxt1; =quality takes two to\n"
    "                  three times as long for less error (a third of it on\n"
    "                  smooth gradients)\n"
    "  --uncompress    Dxt1 to Rgb8, Dxt3 and Dxt5 to Rgba8\n"
    "\n"
    "Formats each codec writes: Bmp and Tga R8, Rgb8, Rgba8; Dds every format\n"
    "above except Rgb16, Rgb16f and Rgb32f, plus Dxt1, Dxt3 and Dxt5.\n"
    "\n"
    "Paths are relative to the working folder. Exit status: 0 on success, 1 on\n"
    "any failure, with one line on stderr naming the file and what failed: no\n"
    "codec for the extension, cannot load, cannot decode, operation refused,\n"
    "cannot encode, cannot save.\n";

// One step of convert: the option as typed and its argument.
struct Step {
    std::string option;  // "--format", "--gray", ...
    std::string text;    // format name or size as typed
    int         a = 0;   // width, or the level count (0: full chain)
    int         b = 0;   // height
};

bool Complain(const std::string& path, const std::string& what) {
    Fail(path, what);
    return false;
}

std::string FormatName(int format) {
    const char* name = cFormat::ToString(format);
    return name ? name : std::to_string(format);
}

// ---- Loading and saving through the registry ----

bool HasCodec(const std::string& path) {
    return cIO_FindCodec(cIO::GetImageCodecs(), cStr(path.c_str()).GetFileExtension()) != nullptr;
}

// Loads a file; on failure prints its line and returns false.
bool Load(const std::string& path, cImage* image) {
    if (!HasCodec(path)) return Complain(path, "no image codec for the extension \"" + ExtensionOf(path) + "\"");
    if (cIO::LoadImage(InWorkingFolder(path).c_str(), image)) return true;
    if (cIO::GetCodecFailure() == cIO::CodecFailure::CantLoad) return Complain(path, "cannot load the file");
    return Complain(path, "cannot decode the image");
}

bool Save(const std::string& path, const cImage& image) {
    if (!HasCodec(path)) return Complain(path, "no image codec for the extension \"" + ExtensionOf(path) + "\"");
    if (cIO::SaveImage(InWorkingFolder(path).c_str(), image)) return true;
    if (cIO::GetCodecFailure() == cIO::CodecFailure::CantEncode)
        return Complain(path, "cannot encode a " + FormatName(image.Format) + " image in this format");
    return Complain(path, "cannot save the file");
}

// ---- info ----

int Info(const std::vector<std::string>& files) {
    if (files.empty()) return UsageError("info needs at least one file");
    int status = 0;
    for (const std::string& path : files) {
        cImage image;
        if (!Load(path, &image)) {
            status = 1;
            continue;
        }
        printf("%s: %dx%d depth %d levels %d %s\n", path.c_str(), image.Width, image.Height, image.Depth,
               image.MipMapCount, FormatName(image.Format).c_str());
    }
    return status;
}

// ---- convert: options ----

bool ParseInt(const std::string& text, int* out) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    *out = atoi(text.c_str());
    return *out > 0;
}

bool ParseSize(Step* step) {
    size_t x = step->text.find_first_of("xX");
    return x != std::string::npos && ParseInt(step->text.substr(0, x), &step->a) &&
           ParseInt(step->text.substr(x + 1), &step->b);
}

// Splits "--name=value" and takes the value of options that need one from
// the next argument. Returns an empty string on success, else the complaint.
std::string ParseStep(const std::vector<std::string>& args, size_t* i, Step* step) {
    std::string arg = args[*i];
    size_t eq = arg.find('=');
    step->option = arg.substr(0, eq);
    bool hasValue = eq != std::string::npos;
    if (hasValue) step->text = arg.substr(eq + 1);
    const std::string& o = step->option;
    if (o == "--format" || o == "--resize") {
        if (!hasValue) {
            if (*i + 1 >= args.size()) return o + " needs a value";
            step->text = args[++*i];
        }
        if (o == "--format")
            return cFormat::ToFormat(step->text.c_str()) ? "" : "unknown format \"" + step->text + "\"";
        return ParseSize(step) ? "" : "--resize needs WIDTHxHEIGHT, not \"" + step->text + "\"";
    }
    if (o == "--mipmaps")
        return !hasValue || ParseInt(step->text, &step->a) ? "" : "--mipmaps=N needs a count of 1 or more";
    if (o == "--compress")
        return !hasValue || step->text == "quality" ? "" : "--compress takes no value or =quality";
    if (hasValue) return o + " takes no value";
    if (o == "--gray" || o == "--flip" || o == "--pot" || o == "--uncompress") return "";
    return "unknown option \"" + arg + "\"";
}

// ---- convert: operations ----

bool Apply(const Step& s, cImage* image) {
    const std::string& o = s.option;
    if (o == "--format") return image->ToFormat(cFormat::ToFormat(s.text.c_str()));
    if (o == "--gray") return image->ToGrayScale();
    if (o == "--flip") return image->Flip();
    if (o == "--resize") return image->Resize(s.a, s.b);
    if (o == "--pot") return image->MakePowerOfTwo();
    if (o == "--mipmaps") return image->CreateMipMaps(s.a ? s.a : image->GetMipMapCountFromDimensions());
    if (o == "--compress") {
        cDxtQuality quality = s.text == "quality" ? cDxtQuality::Quality : cDxtQuality::Fast;
        return image->Compress(quality) && cFormat::IsCompressed(image->Format);
    }
    return image->Uncompress();
}

int Convert(const std::vector<std::string>& args) {
    if (args.size() < 2) return UsageError("convert needs an input and an output file");
    std::vector<Step> steps;
    for (size_t i = 2; i < args.size(); i++) {
        Step step;
        std::string complaint = ParseStep(args, &i, &step);
        if (!complaint.empty()) return UsageError(complaint);
        steps.push_back(step);
    }
    cImage image;
    if (!Load(args[0], &image)) return 1;
    for (const Step& step : steps) {
        std::string format = FormatName(image.Format);
        if (!Apply(step, &image))
            return Fail(args[0], "operation " + step.option + " refused for a " + format + " image");
    }
    return Save(args[1], image) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return toolmain::Run("zozud-image", Usage, argc, argv, Info, Convert); }
