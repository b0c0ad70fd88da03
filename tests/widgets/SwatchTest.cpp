// Swatches: a colour swatch paints the bound colour as it is now, right of
// its caption; without a bound colour it shows opaque black.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/ColorSwatch.h"
#include "zozud/widgets/ImageSwatch.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class Swatches : public ControlsTest {
public:
    const PaintedPart* Painted(int part) {
        theme.painted.clear();
        cWidgets::Render();
        return theme.Find(part);
    }
};

bool Same(const cColor& a, const cColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

}  // namespace

TEST_F(Swatches, ColorSwatchPaintsTheBoundColourAsItIsNow) {
    float rgba[4] = {0.25f, 0.5f, 0.75f, 1};
    cColorSwatch* swatch = new cColorSwatch(form, rgba, "Tint", 10, 10, 200);
    const PaintedPart* p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(0.25f, 0.5f, 0.75f, 1), p->color));
    EXPECT_EQ(swatch->GetFieldRect(), p->rect);
    const PaintedPart* label = theme.Find(cTheme::Parts::Label);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Tint", label->text);

    rgba[0] = 1;
    rgba[3] = 0.5f;
    p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(1, 0.5f, 0.75f, 0.5f), p->color));

    cWidgets::FreeWidget(swatch);
    new cColorSwatch(form, nullptr, nullptr, 10, 10, 200);
    p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(0, 0, 0, 1), p->color));
}

TEST_F(Swatches, ImageSwatchPaintsTheBoundTextureAndAMissingFileHasNone) {
    int texture = 7;
    cImageSwatch* swatch = new cImageSwatch(form, &texture, "Map", 10, 10, 200);
    const PaintedPart* p = Painted(cTheme::Parts::ImageSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(7, p->textureID);
    EXPECT_EQ(swatch->GetFieldRect(), p->rect);
    texture = -1;
    p = Painted(cTheme::Parts::ImageSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(-1, p->textureID);

    cImageSwatchFile file;
    EXPECT_EQ(-1, file.LoadTexture());
    file.FileName = "Textures/Missing.bmp";
    EXPECT_EQ(-1, file.LoadTexture());
}
