// The settings file as other XML tools see it: Python's parser reads
// Settings.xml, and its tags, decoded by the usual "_xHHHH_" convention, are
// the names of the saved members in order.
#include <gtest/gtest.h>

#include <string>

#include "ControlsSupport.h"
#include "support/PythonXml.h"
#include "zozud/reflect/Xml.h"
#include "zozud/widgets/Settings.h"

using namespace zozud;

TEST(SettingsXml, PythonReadsEverySettingUnderItsMemberName) {
    zozud_test::SetupInput();
    cSettings s;
    cXml saved;  // the long form, so that every member is an element
    s.Save(saved, &s, nullptr);
    testsupport::TempDir dir;
    const std::string path = dir / "Settings.xml";
    ASSERT_TRUE(saved.WriteToFile(path.c_str()));
    std::string expected = "cSettings\n";
    for (int i = 0; i < saved.GetNSubQuotes(); i++) expected += std::string(saved.GetSubQuote(i)->GetQuoteName().ToChar()) + "\n";
    int status = -1;
    std::string tags = testsupport::PythonXmlElements(path, false, &status);
    EXPECT_EQ(0, status) << tags;
    EXPECT_EQ(expected, tags);
    EXPECT_NE(std::string::npos, tags.find("\nInclude Normal Maps\n"));
    zozud_test::TeardownInput();
}
