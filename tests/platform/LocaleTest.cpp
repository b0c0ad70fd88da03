// Numbers the framework writes and reads never follow the desktop's locale.
// The probe starts through the real entry, whose gtk_init takes every locale
// category from the environment, under a comma-decimal locale built for the
// test with localedef.
#include "support/Desktop.h"

using namespace testsupport;

namespace {

using Locale = DesktopTest;

}  // namespace

TEST_F(Locale, NumbersIgnoreACommaDecimalLocale) {
    TempDir dir;
    Shell("localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8") + "' >/dev/null 2>&1");
    if (!FileExists(dir / "de_DE.UTF-8/LC_NUMERIC")) GTEST_SKIP() << "localedef could not build de_DE.UTF-8";
    Process p;
    p.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/LocaleProbe", {}, dir.Path(),
            {"LOCPATH=" + dir.Path(), "LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"}, dir / "out.txt");
    ASSERT_EQ(0, p.Wait(20000));
    std::string out = ReadFile(dir / "out.txt");
    ASSERT_NE(std::string::npos, out.find("decimal point [,]\n")) << "the locale did not take effect:\n" << out;
    for (const char* line : {"format [-2.500 0.125 1.5e+06  3.14]\n", "list [1.000 -2.500 3.125]\n", "read 1 -2500\n",
                             "_cFloat [1.000] 1 1000 0 0 0\n", "_cFloat3 [1.000 -2.500 3.125] 1 1000 -2500 3125 0\n",
                             "_cColor [1.000 -2.500 3.125 0.500] 1 1000 -2500 3125 500\n",
                             "_cSliderRangedF [1.000 -2.500 3.125] 1 1000 -2500 3125 0\n"})
        EXPECT_NE(std::string::npos, out.find(line)) << line << "in:\n" << out;
}
