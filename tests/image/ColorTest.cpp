// cColor: packing, web text, interpolation and the named colour table.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "zozud/image/Color.h"

using namespace zozud;

namespace {

// Read during dynamic initialisation of this file: the named colours must
// already hold their values.
const cColor s_EarlyCopy = cColor::CornflowerBlue;

}  // namespace

TEST(Color, PackingWebTextAndLerp) {
    EXPECT_EQ(0xFF0080FFu, cColor(1, 0.5f, 0, 1).ToDword());
    EXPECT_EQ(0x00FF00FFu, cColor(2.0f, -1.0f, 1.0f, 0.0f).ToDword());
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const float in[] = {-0.0f, nan, 0.5f / 255 - 1e-6f, 0.5f / 255, 0.5f, 254.49f / 255, 1.0f, inf};
    const uint32_t out[] = {0, 0, 0, 1, 128, 254, 255, 255};
    for (int i = 0; i < 8; i++) EXPECT_EQ(out[i], cColor::FloatToDword(in[i])) << in[i];
    EXPECT_STREQ("#ff8000", cColor(1, 0.5f, 0, 0).ToWebColor());
    EXPECT_STREQ("#000110", cColor::FromBytes(0, 1, 16).ToWebColor());
    EXPECT_EQ(cColor(0.25f, 0.75f, 0.5f, 0.25f), cColor::Lerp(cColor(0, 1, 0.5f, 0), cColor(1, 0, 0.5f, 1), 0.25f));
}

TEST(Color, NamedColoursTable) {
    for (int i = 0; i < cColor::GetNamedCount(); i++) {
        const char* name = cColor::GetName(i);
        const cColor* c = cColor::GetNamed(i);
        ASSERT_NE(nullptr, name);
        EXPECT_EQ(c, cColor::FindNamed(name)) << name;
        EXPECT_TRUE(i == 0 || std::string(cColor::GetName(i - 1)) < name) << name;
        EXPECT_TRUE(c == &cColor::Zero || c == &cColor::Transparent || c->a == 1.0f) << name;
    }
    EXPECT_TRUE(!cColor::GetName(cColor::GetNamedCount()) && !cColor::GetNamed(-1) && !cColor::FindNamed("Grey"));
    EXPECT_EQ(&cColor::LightGoldenrodYellow, cColor::FindNamed("lightgoldenrodyellow"));
    EXPECT_EQ(cColor(100 / 255.0f, 149 / 255.0f, 237 / 255.0f, 1), s_EarlyCopy);
}
