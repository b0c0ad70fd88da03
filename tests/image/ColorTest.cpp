// cColor: packing, web text, interpolation and the named colour table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "zozud/image/Color.h"

using namespace zozud;

namespace {

// Read during dynamic initialisation of this file: the named colours must
// already hold their values.
const cColor s_EarlyCopy = cColor::CornflowerBlue;

void ExpectBytes(const cColor& c, int r, int g, int b, int a = 255) {
    EXPECT_FLOAT_EQ(r / 255.0f, c.r);
    EXPECT_FLOAT_EQ(g / 255.0f, c.g);
    EXPECT_FLOAT_EQ(b / 255.0f, c.b);
    EXPECT_FLOAT_EQ(a / 255.0f, c.a);
}

}  // namespace

TEST(Color, PackedFormRoundsAndClamps) {
    EXPECT_EQ(0x00FFFFFFu, cColor::Transparent.ToDword());
    EXPECT_EQ(0xFF0080FFu, cColor(1, 0.5f, 0, 1).ToDword());
    EXPECT_EQ(0xFF0000FFu, cColor::Red.ToDword());
    EXPECT_EQ(0u, cColor::Zero.ToDword());
    EXPECT_EQ(0xFF000000u | 237u << 16 | 149u << 8 | 100u, cColor::CornflowerBlue.ToDword());
    EXPECT_EQ(0x00FF00FFu, cColor(2.0f, -1.0f, 1.0f, 0.0f).ToDword());
    EXPECT_EQ(0u, cColor::FloatToDword(-0.0f));
    EXPECT_EQ(0u, cColor::FloatToDword(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(0u, cColor::FloatToDword(0.5f / 255 - 1e-6f));  // 0.4999 rounds down
    EXPECT_EQ(1u, cColor::FloatToDword(0.5f / 255));
    EXPECT_EQ(128u, cColor::FloatToDword(0.5f));
    EXPECT_EQ(254u, cColor::FloatToDword(254.49f / 255));
    EXPECT_EQ(255u, cColor::FloatToDword(1.0f));
    EXPECT_EQ(255u, cColor::FloatToDword(std::numeric_limits<float>::infinity()));
    for (uint32_t v : {0u, 0x12345678u, 0xFFFFFFFFu, 0x80FF017Fu}) EXPECT_EQ(v, cColor::FromDword(v).ToDword());
}

TEST(Color, WebColorIsLowerCaseWithoutAlpha) {
    EXPECT_STREQ("#ff8000", cColor(1, 0.5f, 0, 1).ToWebColor());
    EXPECT_EQ(7, cColor(1, 0.5f, 0, 0).ToWebColor().Length());
    EXPECT_STREQ("#000110", cColor::FromBytes(0, 1, 16).ToWebColor());
    EXPECT_STREQ("#6495ed", cColor::CornflowerBlue.ToWebColor());
    EXPECT_STREQ("#ffffff", cColor::Transparent.ToWebColor());
    EXPECT_STREQ("#000000", cColor(-3, -3, -3).ToWebColor());
}

TEST(Color, LerpAndArithmetic) {
    cColor mid = cColor::Lerp(cColor(0, 1, 0.5f, 0), cColor(1, 0, 0.5f, 1), 0.25f);
    EXPECT_FLOAT_EQ(0.25f, mid.r);
    EXPECT_FLOAT_EQ(0.75f, mid.g);
    EXPECT_FLOAT_EQ(0.5f, mid.b);
    EXPECT_FLOAT_EQ(0.25f, mid.a);
    EXPECT_EQ(cColor::Red, cColor::Lerp(cColor::Red, cColor::Blue, 0.0f));
    EXPECT_EQ(cColor::Blue, cColor::Lerp(cColor::Red, cColor::Blue, 1.0f));
    EXPECT_EQ(cColor(0.5f, 1, 1.5f, 2), cColor(0.25f, 0.5f, 0.75f, 1) * 2.0f);
    EXPECT_EQ(0.75f, cColor(0.25f, 0.5f, 0.75f, 1)[2]);
    EXPECT_NE(cColor::Red, cColor::Green);
}

TEST(Color, NamedColoursTable) {
    ASSERT_EQ(143, cColor::GetNamedCount());
    for (int i = 0; i < cColor::GetNamedCount(); i++) {
        const char* name = cColor::GetName(i);
        ASSERT_NE(nullptr, name);
        EXPECT_EQ(cColor::GetNamed(i), cColor::FindNamed(name)) << name;
        if (i > 0) {
            EXPECT_LT(std::string(cColor::GetName(i - 1)), std::string(name));
        }
        const cColor* c = cColor::GetNamed(i);
        if (c != &cColor::Zero && c != &cColor::Transparent) {
            EXPECT_EQ(1.0f, c->a) << name;
        }
    }
    EXPECT_EQ(nullptr, cColor::GetName(143));
    EXPECT_EQ(nullptr, cColor::GetNamed(-1));
    EXPECT_EQ(nullptr, cColor::FindNamed("Grey"));
    EXPECT_EQ(&cColor::LightGoldenrodYellow, cColor::FindNamed("lightgoldenrodyellow"));

    ExpectBytes(cColor::Red, 255, 0, 0);
    ExpectBytes(cColor::Gray, 128, 128, 128);
    ExpectBytes(cColor::DarkGray, 169, 169, 169);
    ExpectBytes(cColor::Orange, 255, 165, 0);
    ExpectBytes(cColor::CornflowerBlue, 100, 149, 237);
    ExpectBytes(cColor::Green, 0, 255, 0);
    ExpectBytes(cColor::MidGreen, 0, 128, 0);
    ExpectBytes(cColor::Lime, 0, 255, 0);
    ExpectBytes(cColor::Indigo, 75, 0, 130);
    ExpectBytes(cColor::DarkSeaGreen, 143, 188, 143);
    ExpectBytes(cColor::Transparent, 255, 255, 255, 0);
    ExpectBytes(cColor::Zero, 0, 0, 0, 0);
    EXPECT_EQ(cColor::CornflowerBlue, s_EarlyCopy);
}
