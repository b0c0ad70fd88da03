// Drop data as a drag source sends it: only a file that exists and is not a
// folder, or a URL that is not an image, reaches the application.
#include "support/Desktop.h"

#include "platform/linux/LinuxMainInternal.h"

using namespace testsupport;

TEST(Drop, DataBecomesAFileAURLOrNothing) {
    TempDir dir;
    WriteFile(dir / "plain.txt", "x");
    WriteFile(dir / "with blank%.txt", "x");
    WriteFile(dir / "a%zz", "x");
    mkdir((dir / "folder").c_str(), 0700);
    const std::string root = "file://" + dir.Path();
    struct Case {
        std::string data;
        cLinuxMain_Drop::Enum kind;
        std::string target;
    };
    const Case cases[] = {
        {root + "/plain.txt", cLinuxMain_Drop::File, dir / "plain.txt"},
        {root + "/plain.txt\r\n", cLinuxMain_Drop::File, dir / "plain.txt"},
        {root + "/with%20blank%25.txt", cLinuxMain_Drop::File, dir / "with blank%.txt"},
        {root + "/a%zz", cLinuxMain_Drop::File, dir / "a%zz"},  // not an escape: kept as it is
        {root + "/plain%2", cLinuxMain_Drop::Nothing, ""},
        {root + "/plain.txt%00", cLinuxMain_Drop::Nothing, ""},
        {root + "/folder", cLinuxMain_Drop::Nothing, ""},
        {root + "/folder/", cLinuxMain_Drop::Nothing, ""},
        {root + "/missing.txt", cLinuxMain_Drop::Nothing, ""},
        {root + "/" + std::string(5000, 'a'), cLinuxMain_Drop::Nothing, ""},
        {"file:///", cLinuxMain_Drop::Nothing, ""},
        {"", cLinuxMain_Drop::Nothing, ""},
        {" \r\n", cLinuxMain_Drop::Nothing, ""},
        {"https://example.org/page?q=1", cLinuxMain_Drop::URL, "https://example.org/page"},
        {"https://example.org/a.b/page", cLinuxMain_Drop::URL, "https://example.org/a.b/page"},
        {"https://example.org/picture.TGA?size=2", cLinuxMain_Drop::Nothing, ""},
        {"https://example.org/picture.bmp", cLinuxMain_Drop::Nothing, ""},
        {"https://example.org/?x.bmp", cLinuxMain_Drop::URL, "https://example.org/"},
        {"https://" + std::string(5000, 'a'), cLinuxMain_Drop::Nothing, ""},
    };
    for (const Case& c : cases) {
        zozud::cStr target = "stale";
        EXPECT_EQ(cLinuxMain_ParseDrop(c.data.data(), c.data.size(), &target), c.kind) << c.data.substr(0, 80);
        EXPECT_STREQ(target.ToChar(), c.target.c_str()) << c.data.substr(0, 80);
    }
    // The data ends at its first zero byte, whatever length comes with it.
    const char withZero[] = "https://example.org/x\0https://other.org";
    zozud::cStr target;
    EXPECT_EQ(cLinuxMain_ParseDrop(withZero, sizeof withZero, &target), cLinuxMain_Drop::URL);
    EXPECT_STREQ(target.ToChar(), "https://example.org/x");
    EXPECT_EQ(cLinuxMain_ParseDrop(nullptr, 10, &target), cLinuxMain_Drop::Nothing);
    EXPECT_FALSE(cLinuxMain_HandleDrop(root.c_str(), root.size()));
}
