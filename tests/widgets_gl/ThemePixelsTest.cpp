// Both themes under a real (virtual) display: forms, panels and every part
// kind are drawn with the OpenGL device and read back with ScreenShot.
// Set ZOZUD_THEME_SHOTS to a folder to keep a screenshot of each theme.
#include <gtest/gtest.h>

#include <cstdlib>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Render.h"
#include "zozud/render/Theme.h"
#include "zozud/widgets/Form.h"
#include "zozud/widgets/Panel.h"

using namespace zozud;

namespace {

const cColor Background(0, 1, 1, 1);  // cyan: no theme paints it

struct Shot {
    cImage image;
    Shot() { EXPECT_TRUE(cRender::ScreenShot(&image)); }
    const unsigned char* At(int x, int y) const {
        int bpp = cFormat::GetBytesPerPixel(image.Format);
        return image.Pixels + ((int64_t)y * image.Width + x) * bpp;
    }
    static bool Ink(const unsigned char* p) { return !(p[0] == 0 && p[1] == 255 && p[2] == 255); }
    bool IsBackground(int x, int y) const { return !Ink(At(x, y)); }
    // The first pixel outside r (whole pixels) that is not background, as "x,y"; empty when none.
    std::string PaintedOutside(const cRect& r) const {
        for (int y = 0; y < image.Height; y++)
            for (int x = 0; x < image.Width; x++)
                if ((x < r.x0 || x >= r.x1 || y < r.y0 || y >= r.y1) && !IsBackground(x, y))
                    return std::to_string(x) + "," + std::to_string(y);
        return "";
    }
    // The bounding box of pixels in r for which ink(p) holds (by default: not
    // background); Empty when none.
    template <class F = bool (*)(const unsigned char*)> cRect InkBox(const cRect& r, F ink = Ink) const {
        cRect box = cRect::Empty;
        for (int y = (int)r.y0; y < (int)r.y1; y++)
            for (int x = (int)r.x0; x < (int)r.x1; x++)
                if (ink(At(x, y))) box.AddPoint(cVec2((float)x, (float)y));
        return box;
    }
    void Save(const char* name) const {
        const char* folder = std::getenv("ZOZUD_THEME_SHOTS");
        if (folder) cIO::SaveImage(cStr::Format("%s/%s.bmp", folder, name), image);
    }
};

struct TestForm : cForm {
    using cForm::cForm;
    using cForm::CaptionRect;
};

class ThemePixels : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        // Fonts, shaders and textures live at the top of the source tree.
        cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
        ASSERT_TRUE(cRender::Init(2));
        cTheme::Init();
    }
    static void TearDownTestSuite() { cRender::Free(); }
    void SetUp() override {
        ASSERT_NE(cRender::GetInstance(), nullptr);
        cRender::ResetStates();
        cRender::SetClipRect(cRect::Empty);
        cRender::Clear(true, true, Background);
    }
    void TearDown() override { cWidgets::FreeAll(); }
    const cTheme* Theme() const { return GetParam() == 0 ? cTheme::Ziduruz : cTheme::WindowsStandard; }
    const char* Name() const { return GetParam() == 0 ? "Ziduruz" : "WindowsStandard"; }
};

}  // namespace

TEST_P(ThemePixels, FormWithPanelStaysInItsRectangleWithItsCaptionInked) {
    cTheme::Init();  // a second call keeps the instances
    ASSERT_TRUE(cTheme::Ziduruz && cTheme::WindowsStandard && cTheme::Ziduruz != cTheme::WindowsStandard);
    const cRect formRect(40, 60, 360, 300);
    TestForm* form = new TestForm(nullptr, "Framework widgets", formRect, Theme());
    cWidgets::AddWidget(form, 3);
    new cPanel(form, "Panel");
    form->CalcRects();
    cWidgets::Render();
    Shot shot;
    EXPECT_EQ(shot.PaintedOutside(formRect), "");
    // The frame fills its rectangle: the corners and edge midpoints are painted.
    for (cVec2 p : {cVec2(40, 60), cVec2(359, 299), cVec2(40, 299), cVec2(359, 60), cVec2(200, 60), cVec2(40, 180)})
        EXPECT_FALSE(shot.IsBackground((int)p.x, (int)p.y)) << p.x << "," << p.y;

    // The caption's ink has the size of its measured tight rectangle and lies
    // within the caption: white on the standard theme's blue, black on the other.
    // Left of the caption's buttons (square, the caption's height).
    cRect cap = form->CaptionRect();
    cap = cRect(cap.x0 + 1, cap.y0 + 1, cap.x1 - 3 * (cap.y1 - cap.y0), cap.y1 - 1);
    bool standard = GetParam() == 1;
    cRect ink = shot.InkBox(cap, [&](const unsigned char* p) {
        return standard ? p[0] > 200 && p[1] > 200 && p[2] > 200 : p[0] < 60 && p[1] < 60 && p[2] < 60;
    });
    int font = cRender::GetFontID("Tahoma B8");  // both themes write window captions in bold
    cRect tight = cRender::MeasureStringTightRect(font, "Framework widgets");
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR(ink.GetWidth() + 1, tight.GetWidth(), 1.5f);
    EXPECT_NEAR(ink.y1 - ink.y0 + 1, tight.y1 - tight.y0, 1.5f);
    EXPECT_TRUE(cap.Contains(ink));

    // For people: the same form with a sample of controls, kept when asked.
    if (std::getenv("ZOZUD_THEME_SHOTS")) {
        struct Sample { int part; cRect rect; const char* text; float hot, pressed; bool checked; };
        typedef cTheme::Parts P;
        const Sample samples[] = {
            {P::ToolBar, cRect(48, 236, 240, 262), "", 0, 0, false},
            {P::ToolBarButton, cRect(60, 237, 83, 260), "", 0, 0, false},
            {P::ToolBarButton, cRect(84, 237, 107, 260), "", 1, 0, false},
            {P::ToolBarButton, cRect(108, 237, 131, 260), "", 0, 0, true},
            {P::Button, cRect(250, 238, 340, 259), "Button", 0, 0, false},
            {P::CheckBox, cRect(50, 210, 170, 230), "Check box", 0, 0, true},
            {P::ComboBox, cRect(180, 210, 340, 230), "Combo box", 0, 0, false},
            {P::Edit, cRect(50, 184, 170, 204), "12.500", 0, 0, false},
            {P::Slider, cRect(180, 184, 340, 204), "", 0, 0, false},
            {P::SliderThumb, cRect(230, 185, 241, 203), "", 1, 0, false},
            {P::Separator, cRect(50, 160, 340, 178), "Separator", 0, 0, false},
            {P::ColorSwatch, cRect(50, 130, 110, 154), "", 0, 0, false},
            {P::Button, cRect(120, 130, 220, 154), "Pressed", 1, 1, false},
            {P::BindButton, cRect(230, 130, 340, 154), "Space", 1, 0, false},
            {P::ToolTip, cRect(260, 120, 260, 120), "A tool tip", 0, 0, false},
        };
        for (const Sample& s : samples) {
            cTheme::DrawArgs a;
            a.Part = s.part, a.Rect = s.rect, a.Text = s.text, a.Hot = s.hot, a.Pressed = s.pressed;
            a.Checked = s.checked, a.Color = cColor(0.8f, 0.3f, 0.2f, 1), a.Pos = cVec2(s.rect.x0, s.rect.y0);
            a.Index = s.part == P::ToolBarButton ? (int)(s.rect.x0 - 60) / 24 : -1;
            if (s.part == P::Button && s.hot == 0) a.SubParts.Add(P::Focus);
            Theme()->Draw(a);
        }
        Shot().Save(Name());
    }
}

TEST_P(ThemePixels, EveryPartKindPaintsOnlyInsideItsCell) {
    // Each kind in every state, one cell at a time, over the whole screen
    // clip and then under a clip that cuts the cell in half.
    struct State { float hot, pressed, enabled; bool checked; };
    const State states[] = {{0, 0, 1, false}, {1, 0, 1, true}, {1, 1, 1, false}, {0, 0, 0, true}};
    const cRect cell(100, 100, 220, 124);
    for (int part = cTheme::Parts::None + 1; part < cTheme::Parts::Count; part++)
        for (const State& s : states)
            for (bool halfClip : {false, true}) {
                SetUp();
                cTheme::DrawArgs args;
                args.Part = part;
                args.Rect = cell;
                args.Text = "Part";
                args.Texts.Add("One");
                args.Hot = s.hot, args.Pressed = s.pressed, args.Enabled = s.enabled, args.Checked = s.checked;
                args.Value = 0.25f, args.Value2 = 0.75f, args.Index = 2;
                args.Color = cColor(1, 0, 0, 1);
                args.SubParts.Add(cTheme::Parts::Focus);
                cRect limit = cell;
                if (halfClip) {
                    limit = cRect(cell.x0, cell.y0, (cell.x0 + cell.x1) * 0.5f, cell.y1);
                    cRender::SetClipRect(limit);
                }
                Theme()->Draw(args);
                cRender::SetClipRect(cRect::Empty);
                Shot shot;
                EXPECT_EQ(shot.PaintedOutside(limit), "") << "part " << part << " hot " << s.hot << " pressed "
                                                          << s.pressed << " half " << halfClip;
                EXPECT_FALSE(shot.InkBox(cell).IsEmpty()) << "part " << part << " painted nothing";
            }
}

TEST_P(ThemePixels, ToolTipSitsNextToItsAnchorAndHiddenPartsPaintNothing) {
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ToolTip;
    args.Text = "A tip";
    args.Pos = cVec2(200, 200);
    args.Rect = cRect(200, 200, 200, 200);
    Theme()->Draw(args);
    Shot shot;
    cRect painted = shot.InkBox(cRect(0, 0, (float)shot.image.Width, (float)shot.image.Height));
    ASSERT_FALSE(painted.IsEmpty());
    EXPECT_GE(painted.x0, 200);   // right of the anchor
    EXPECT_LE(painted.y1, 200);   // below it (y up)
    EXPECT_GT(painted.GetWidth(), cRender::MeasureStringTightRect(cRender::GetFontID("Tahoma 8"), "A tip").GetWidth());

    SetUp();
    cTheme::DrawArgs hidden;
    hidden.Part = cTheme::Parts::Button;
    hidden.Rect = cRect(10, 10, 80, 30);
    hidden.Visible = 0;
    Theme()->Draw(hidden);
    hidden.Visible = 1;
    hidden.Rect = cRect(80, 30, 10, 10);  // upside down
    Theme()->Draw(hidden);
    EXPECT_EQ(Shot().PaintedOutside(cRect(0, 0, 0, 0)), "");
}

INSTANTIATE_TEST_SUITE_P(BothThemes, ThemePixels, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return std::string(i.param == 0 ? "Ziduruz" : "WindowsStandard");
                         });
