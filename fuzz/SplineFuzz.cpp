// Fuzzes loading a spline: any bytes load onto a cSpline without a crash or
// a leak, and every query, resampling and re-centring on what was loaded
// (points that are not numbers, huge or coincident ones, any counts) returns
// in bounded time; whatever was loaded saves, and the saved text loads again.
#include <cstdint>
#include <cstdlib>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"
#include "zozud/view/Spline.h"

using namespace zozud;

namespace {

const int MaxResampledNodes = 256;  // enough to reach every branch, few enough to stay fast

void Query(cSpline& s) {
    float total = s.GetTotalLength();
    for (int i = 0; i <= 4; i++) {
        s.GetValueByLength(total * i / 4);
        s.GetDerivativeGlobal(i / 4.0f);
        s.GetLengthFromPlace(s.GetPlaceByLength(total * i / 3));
    }
    s.GetBounds();
    s.CalcClosestPointPlaceLinear(cVec3(1, 2, 3));
    s.CalcClosestPointPlaceAccurate(cVec3(1, 2, 3), 1e-5f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cLog::GetLogMutable().Clear();  // refusals are logged; the log is never trimmed
    cFile file;
    file.Copy(data, (int)size, "fuzz.xml");
    cXml root;
    if (!root.ReadFromFile(file)) return 0;
    cSpline s;
    cErrorPager silent(false);
    s.Load(root, &s, &silent, nullptr);
    Query(s);
    cStr text;
    if (s.WriteToString(&text)) {
        cSpline again;
        if (!again.ReadFromString(text)) abort();
        if (again.Nodes.Count() != s.Nodes.Count()) abort();
    }
    int count = s.SetUniformSampledNodeCount;
    if (count > MaxResampledNodes) count = MaxResampledNodes;
    s.ResampleUniform(count);
    Query(s);
    if (s.Nodes.Count() <= MaxResampledNodes) s.ResampleAdaptive(s.SetAdaptiveSampledMaxErrSq);
    s.CenterTransform();
    Query(s);
    return 0;
}
