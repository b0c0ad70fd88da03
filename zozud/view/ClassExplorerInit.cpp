// Registration of the member wrapper classes, once, before the first class
// registers a member: the framework's start-up hands Init to the class
// registry (cClass_SetRegisterWrappers), whose CallCtor and lookups run it.
#include "zozud/view/ClassExplorer.h"

#include "zozud/reflect/Button.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/view/Spline.h"
#include "zozud/view/Transform.h"
#include "zozud/widgets/ColorSwatch.h"
#include "zozud/widgets/ImageSwatch.h"

namespace zozud {

namespace {

template <class W>
void RegisterWrapper() {
    W temporary;
    cClass_RegClassBC(&temporary, nullptr, temporary.GetClassName(), false);
}

}  // namespace

void cClassExplorer::Init() {
    static bool s_Done = false;
    if (s_Done) return;
    s_Done = true;  // first, so that lookups made while registering do not come back here
    RegisterWrapper<_cInt>();
    RegisterWrapper<_cFloat>();
    RegisterWrapper<_cBool>();
    RegisterWrapper<_cStr>();
    RegisterWrapper<_cBind>();
    RegisterWrapper<_cImageID>();
    RegisterWrapper<_cSeparator>();
    RegisterWrapper<_cLabel>();
    RegisterWrapper<_cSliderI>();
    RegisterWrapper<_cSliderF>();
    RegisterWrapper<_cEditSliderI>();
    RegisterWrapper<_cEditSliderF>();
    RegisterWrapper<_cFloat2>();
    RegisterWrapper<_cFloat3>();
    RegisterWrapper<_cFloat4>();
    RegisterWrapper<_cColor>();
    RegisterWrapper<_cVec2i>();
    RegisterWrapper<_cVec3i>();
    RegisterWrapper<_cSliderRangedI>();
    RegisterWrapper<_cSliderRangedF>();
    RegisterWrapper<_cImageFile>();
    RegisterWrapper<_cSoundFile>();
    RegisterWrapper<_cModelFile>();
    RegisterWrapper<_cAnimFile>();
    RegisterWrapper<_cCameraFile>();
    RegisterWrapper<_cBspFile>();
    RegisterWrapper<_cXmlFile>();
    RegisterWrapper<_cIndex>();
    RegisterWrapper<_cButton<cClass>>();
    // Framework classes that property panels show as sub-objects.
    RegisterWrapper<cImageSwatchFile>();
    RegisterWrapper<cColorEdit>();
    RegisterWrapper<cTransform>();
    RegisterWrapper<cClassList<cSpline_Node>>();
}

}  // namespace zozud
