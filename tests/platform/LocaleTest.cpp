// Numbers the framework writes and reads never follow the desktop's locale.
// The probe starts through the real entry, whose gtk_init takes every locale
// category from the environment, under a comma-decimal locale built for the
// test with localedef.
#include "platform/ProbeApp.h"

using namespace testsupport;

using Locale = ProbeApp;

TEST_F(Locale, NumbersIgnoreACommaDecimalLocale) {
    Shell("localedef -i de_DE -f UTF-8 '" + (dir_ / "de_DE.UTF-8") + "' >/dev/null 2>&1");
    if (!FileExists(dir_ / "de_DE.UTF-8/LC_NUMERIC")) GTEST_SKIP() << "localedef could not build de_DE.UTF-8";
    Start("LocaleProbe", {}, {"LOCPATH=" + dir_.Path(), "LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    ASSERT_EQ(0, process_.Wait(20000));
    std::string out = Output();
    ASSERT_NE(std::string::npos, out.find("decimal point [,]\n")) << "the locale did not take effect:\n" << out;
    for (const char* line : {"format [-2.500 0.125 1.5e+06  3.14]\n", "list [1.000 -2.500 3.125]\n", "read 1 -2500\n",
                             "_cFloat [1.000] 1 1000 0 0 0\n", "_cFloat3 [1.000 -2.500 3.125] 1 1000 -2500 3125 0\n",
                             "_cColor [1.000 -2.500 3.125 0.500] 1 1000 -2500 3125 500\n",
                             "_cSliderRangedF [1.000 -2.500 3.125] 1 1000 -2500 3125 0\n"})
        EXPECT_NE(std::string::npos, out.find(line)) << line << "in:\n" << out;
}
