// The class explorer of a class with every wrapper kind, drawn by the OpenGL
// device under a real (virtual) display in both themes and read back: the
// window stays in its rectangle, every row the layout shows is inked where
// the layout puts it, and the gaps between rows stay the panel's background.
// Set ZOZUD_EXPLORER_SHOTS to a folder to keep a screenshot of each theme.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "view/ExplorerTestClass.h"
#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"
#include "zozud/render/Theme.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/widgets/Panel.h"

using namespace zozud;
using namespace zozud_test;

namespace {

typedef cClassExplorer E;
const cColor Background(0, 1, 1, 1);  // cyan: no theme paints it

struct Shot {
    cImage image;
    Shot() { EXPECT_TRUE(cRender::ScreenShot(&image)); }
    const unsigned char* At(int x, int y) const {
        return image.Pixels + ((int64_t)y * image.Width + x) * cFormat::GetBytesPerPixel(image.Format);
    }
    bool Same(int x, int y, const unsigned char* c) const { return memcmp(At(x, y), c, 3) == 0; }
    bool IsBackground(int x, int y) const { return Same(x, y, (const unsigned char*)"\x00\xff\xff"); }
};

class ExplorerPixels : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
        ASSERT_TRUE(cRender::Init(2));
        cTheme::Init();
        E::Init();
    }
    static void TearDownTestSuite() { cRender::Free(); }
    void SetUp() override {
        ASSERT_NE(cRender::GetInstance(), nullptr);
        cRenderDeviceGL* gl = static_cast<cRenderDeviceGL*>(cRender::GetInstance());
        E::s_ViewArea = cRect(0, 0, (float)gl->GetScreenWidth(), (float)gl->GetScreenHeight());
        E::s_Theme = GetParam() == 0 ? cTheme::Ziduruz : cTheme::WindowsStandard;
        E::s_ClassExplorerNormalStateAlignTl = E::s_ClassExplorerNormalStateAlignBr = -1;
        cRender::ResetStates();
        cRender::SetClipRect(cRect::Empty);
        cRender::Clear(true, true, Background);
    }
    void TearDown() override {
        if (E::GetVisible()) E::ToggleClassExplorer();
        E::ClearObjects();
        cWidgets::FreeAll();
    }
    const char* Name() const { return GetParam() == 0 ? "class-explorer-ziduruz" : "class-explorer-windows-standard"; }
};

}  // namespace

TEST_P(ExplorerPixels, RowsAreDrawnWhereTheLayoutPutsThem) {
    cExplorerAll all;
    all.Int = 42, all.Float = 2.5f, all.Bool = true, all.Name = "Explorer", all.Note = "A note";
    all.SliderF = 0.5f, all.Color[0] = 0.8f, all.Color[1] = 0.3f, all.Color[2] = 0.2f, all.Color[3] = 1;
    all.Vec3[0] = 1, all.Vec3[1] = 2, all.Vec3[2] = 3, all.Shade = 20, all.XmlFile = "Xmls/Scene.xml";
    E::AddObject("All kinds", &all, nullptr);
    E::ToggleClassExplorer();
    E::Stub* stub = E::GetClassExplorer();
    ASSERT_NE(stub, nullptr);
    stub->AlignControls();
    cWidgets::Render();
    // A second frame: what the first one drew must not change how the next one looks.
    cRender::Clear(true, true, Background);
    cWidgets::Render();
    Shot shot;
    if (const char* folder = std::getenv("ZOZUD_EXPLORER_SHOTS"))
        cIO::SaveImage(cStr::Format("%s/%s.bmp", folder, Name()), shot.image);

    // Nothing outside the window; its corners painted.
    const cRect& form = stub->GetRect();
    ASSERT_EQ(form, cRect(E::s_ViewArea.x1 - 544, 16, E::s_ViewArea.x1 - 16, E::s_ViewArea.y1 - 16));
    for (int y = 0; y < shot.image.Height; y += 3)
        for (int x = 0; x < shot.image.Width; x += 3)
            if (!form.Contains(cVec2((float)x + 0.5f, (float)y + 0.5f))) {
                ASSERT_TRUE(shot.IsBackground(x, y)) << x << "," << y;
            }
    EXPECT_FALSE(shot.IsBackground((int)form.x0 + 1, (int)form.y0 + 1));
    EXPECT_FALSE(shot.IsBackground((int)form.x1 - 2, (int)form.y1 - 2));

    // The window and the rows' frame alone, without the rows: what lies behind them.
    cRender::ResetStates();  // as the frame began
    cRender::Clear(true, true, Background);
    stub->OnRender();
    stub->GetPanel()->OnRender();
    Shot bare;
    auto changed = [&](const cRect& r) {
        int n = 0;
        for (int y = (int)r.y0; y < (int)r.y1; y++)
            for (int x = (int)r.x0; x < (int)r.x1; x++)
                if (!shot.Same(x, y, bare.At(x, y))) n++;
        return n;
    };

    // Each row inside the client area has ink of its own; between rows the
    // window shows what lies behind them.
    const cList<E::Stub::Row*>& rows = stub->GetRows();
    const cRect client = stub->GetClientRect();
    int shown = 0;
    for (int i = 0; i < rows.Count(); i++) {
        cRect r = rows[i]->control->GetRect();
        if (r.y0 < client.y0 || r.y1 > client.y1) continue;
        shown++;
        EXPECT_GT(changed(r), 40) << "row " << std::string(rows[i]->name) << " is not drawn";
        if (i + 1 < rows.Count()) {
            cRect next = rows[i + 1]->control->GetRect();
            cRect gap(r.x0, next.y1 + 1, r.x1, r.y0 - 1);
            if (next.y0 >= client.y0 && gap.GetHeight() >= 1) {
                EXPECT_EQ(changed(gap), 0) << "below " << std::string(rows[i]->name);
            }
        }
    }
    EXPECT_GE(shown, 18);  // the window holds most of the class at once
}

INSTANTIATE_TEST_SUITE_P(BothThemes, ExplorerPixels, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return std::string(i.param == 0 ? "Ziduruz" : "WindowsStandard");
                         });
