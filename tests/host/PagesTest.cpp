// The service log entries, the trim and the log page, in this process.
#include "host/TorvaneRun.h"
#include "zozud/core/Log.h"

using zozud::cStr;
using namespace testsupport;

namespace {

class ServiceLogTest : public ::testing::Test {
protected:
    void SetUp() override { StartServiceLog(dir); }
    TempDir dir;
};

// Closes the file layer's (modal) warning dialog, which shows once GTK runs in this process.
gboolean CloseDialog(gpointer) {
    if (GtkWidget* dialog = gtk_grab_get_current()) gtk_widget_destroy(dialog);
    return TRUE;
}

}  // namespace

TEST_F(ServiceLogTest, EveryEntryEndsWithExactlyOneLineEndInTextAndFile) {
    for (const char* entry : {"x\n", "y", "a\r\nb", "c\r\n\r\n"}) Torvane_Message(entry);
    const std::string expected = "x\r\ny\r\na\r\nb\r\nc\r\n\r\n";
    EXPECT_EQ(expected, Torvane_Log::s_Text.ToChar());
    EXPECT_EQ(expected, ReadFile(dir / "Log.txt"));
    // An unwritable file is reported, and the entry still reaches the text.
    Torvane_Log::s_FilePathName = (dir / "missing-folder/Log.txt").c_str();
    guint closer = g_timeout_add(100, CloseDialog, nullptr);
    Torvane_Message("kept");
    g_source_remove(closer);
    EXPECT_EQ(expected + "kept\r\n", Torvane_Log::s_Text.ToChar());
    std::string warning = "Can't save file \"" + dir / "missing-folder/Log.txt" + "\"";
    EXPECT_NE(std::string::npos, std::string(zozud::cLog::GetLogCopy()).find(warning));
}

TEST_F(ServiceLogTest, TextIsTrimmedByFiveThousandPastFiftyThousand) {
    std::string entry(98, 'a');  // 100 characters with the line end
    for (int i = 0; i < 500; i++) Torvane_Message(entry.c_str());
    EXPECT_EQ(50000, Torvane_Log::s_Text.Length());
    Torvane_Message("z");  // 50003 > 50000: the first 5000 go
    EXPECT_EQ(45003, Torvane_Log::s_Text.Length());
    EXPECT_EQ(45000u, std::string(Torvane_Log::s_Text.ToChar()).find("z\r\n"));
    EXPECT_EQ(50003u, ReadFile(dir / "Log.txt").size());  // the file keeps everything
}

TEST_F(ServiceLogTest, LogPageListsTheLinesInOrderWithMarkupUnchanged) {
    Torvane_Message("first");
    Torvane_Message("<b>second</b>\n\nthird");  // the empty line disappears
    cStr response;
    const char* request = "GET /log HTTP/1.1\r\n\r\n";
    ASSERT_TRUE(Torvane_BuildResponse(request, (int)strlen(request), &response));
    EXPECT_STREQ("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n<!DOCTYPE html>\r\n"
                 "<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\" />\r\n"
                 "<title>Ombrel Torvane Log</title>\r\n</head>\r\n<body>\r\n<ul>\r\n\t<li>first</li>\r\n"
                 "\t<li><b>second</b></li>\r\n\t<li>third</li>\r\n</ul>\r\n</body>\r\n</html>\r\n",
                 response.ToChar());
    EXPECT_FALSE(Torvane_BuildResponse("PUT", 3, &response));
}

TEST_F(ServiceLogTest, PortFileOutside1To65535OrWithoutANumberFallsBackWithAnEntry) {
    const char* const entry = " | Invalid port in port.dat (not a number from 1 to 65535), using port 8888\r\n";
    const struct { const char* file; int port; bool logged; } rows[] = {
        {"9000", 9000, false}, {" \t8080\r\nnoise", 8080, false}, {"1", 1, false}, {"65535", 65535, false},
        {"", 8888, false}, {nullptr, 8888, false},  // empty or missing: the default, silently
        {"65536", 8888, true}, {"70000", 8888, true}, {"0", 8888, true}, {"-5", 8888, true},
        {"abc", 8888, true}, {"99999999999999999999", 8888, true}, {"+80", 8888, true},
    };
    zozud::cStr saved = PortFile;
    PortFile = "port.dat";
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof(cwd)));
    ASSERT_EQ(0, chdir(dir.Path().c_str()));
    for (const auto& row : rows) {
        if (row.file) WriteFile(dir / "port.dat", row.file); else unlink((dir / "port.dat").c_str());
        Torvane_Log::s_Text.Clear();
        EXPECT_EQ(row.port, Torvane_ReadPortFile(8888)) << (row.file ? row.file : "(missing)");
        EXPECT_EQ(row.logged, std::string(Torvane_Log::s_Text.ToChar()).find(entry) != std::string::npos)
            << (row.file ? row.file : "(missing)");
    }
    ASSERT_EQ(0, chdir(cwd));
    PortFile = saved;
}
