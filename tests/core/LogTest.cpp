#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <string>
#include <vector>

#include "support/Process.h"
#include "zozud/core/Log.h"
#include "zozud/core/Thread.h"
#include "zozud/io/IO.h"

using namespace zozud;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

// The log is never trimmed: each test looks at what its own calls appended.
class LogTail {
public:
    LogTail() : start_(cLog::GetLogCopy().Length()) {}
    std::string Text() const { return std::string(cLog::GetLogCopy().ToChar() + start_); }

private:
    int start_;
};

std::string Added(const char* text) {
    LogTail tail;
    cLog::Message("%s", text);
    return tail.Text();
}

// The file facade logs a line when it starts: start it before a test
// compares files with the log.
void StartFileSystem() { cIO::GetDefaultSourceFolder(); }

struct Burst {
    int id;
    int lines;
};

void WriteLines(void* p) {
    auto* b = static_cast<Burst*>(p);
    for (int i = 0; i < b->lines; i++) cLog::Message("thread %d line %d", b->id, i);
}

void WarnFromWorker(void* p) {
    cLog::Warning("worker warning %d", *static_cast<int*>(p));
    cLog::Error("worker error");
}

}  // namespace

TEST(Log, EveryLineEndsInOneLineEnd) {
    EXPECT_STREQ("\r\n", cLog::EndLn);
    EXPECT_EQ("a\r\nb\r\n", Added("a\r\nb"));
    EXPECT_EQ("a\r\nb\r\n", Added("a\nb\n"));
    EXPECT_EQ("x\r\n\r\ny\r\n", Added("x\n\ny"));
    EXPECT_EQ("done\r\n", Added("done\r\n"));
    EXPECT_EQ("cr gone\r\n", Added("cr\r gone\r"));
    EXPECT_EQ("\r\n", Added(""));
    EXPECT_EQ("\r\n", Added("\r"));
    EXPECT_EQ("\r\n\r\n", Added("\n\r\n"));
}

TEST(Log, MessagesAreFormatted) {
    LogTail tail;
    cLog::Message("%d %s %.2f %c", 42, "items", 1.5, '!');
    cLog::Message("%s", "100% literal");
    EXPECT_EQ("42 items 1.50 !\r\n100% literal\r\n", tail.Text());
    EXPECT_EQ(cLog::GetLog().Length(), cLog::GetLogCopy().Length());
    EXPECT_STREQ(cLog::GetLog(), cLog::GetLogMutable());
}

// Without a started toolkit warnings, errors and assertions only log.
TEST(Log, DialogsWithoutToolkitOnlyLog) {
    LogTail tail;
    cLog::Warning("warned %d", 1);
    cLog::Error("failed %s", "here");
    cLog::Assert("broken %s", "invariant");
    cLog::ShowDialog(cLog::Mode::Log);
    EXPECT_EQ("warned 1\r\nfailed here\r\nbroken invariant\r\n", tail.Text());
    EXPECT_FALSE(cLog::IsVisible());
    EXPECT_EQ(-1, cLog::GetResult());
}

TEST(Log, TimeMessagesCarryTheTimeSinceTheOrigin) {
    cLog::ResetTime();
    LogTail tail;
    cLog::TimeMessage("step %d", 1);
    cLog::TimeMessage("step %d\n", 2);
    std::smatch m;
    std::string text = tail.Text();
    ASSERT_TRUE(std::regex_match(text, m, std::regex("(\\d\\d):(\\d\\d)\\.(\\d\\d\\d) step 1\r\n"
                                                     "(\\d\\d):(\\d\\d)\\.(\\d\\d\\d) step 2\r\n")))
        << text;
    EXPECT_EQ("00", m[1].str());
    EXPECT_LE(m[3].str(), m[6].str());
}

TEST(Log, SaveToFileWritesTheWholeLog) {
    StartFileSystem();
    TempDir dir;
    cLog::Message("saved line");
    std::string path = dir / "log.txt";
    WriteFile(path, "old contents that are longer than nothing at all");
    ASSERT_TRUE(cLog::SaveToFile(path.c_str()));
    EXPECT_EQ(std::string(cLog::GetLogCopy()), ReadFile(path));

    LogTail tail;
    std::string bad = dir / "missing-folder-file";
    WriteFile(bad, "a file, not a folder");
    EXPECT_FALSE(cLog::SaveToFile((bad + "/log.txt").c_str()));
}

TEST(Log, AutoSaveMirrorsEveryLine) {
    StartFileSystem();
    TempDir dir;
    std::string path = dir / "mirror.txt";
    WriteFile(path, "stale text from an earlier run\r\n");
    cLog::Message("before the mirror");

    cLog::EnableAutoSaveToFile(true, path.c_str());  // the file starts afresh with the whole log
    EXPECT_EQ(std::string(cLog::GetLogCopy()), ReadFile(path));
    cLog::Message("mirrored %d", 1);
    cLog::Message("mirrored\n%d", 2);
    EXPECT_EQ(std::string(cLog::GetLogCopy()), ReadFile(path));

    // Switching on while on keeps the file and only moves where lines go.
    std::string second = dir / "second.txt";
    cLog::EnableAutoSaveToFile(true, second.c_str());
    cLog::Message("to the second file");
    EXPECT_EQ("to the second file\r\n", ReadFile(second));

    cLog::EnableAutoSaveToFile(false, second.c_str());
    cLog::Message("not mirrored");
    EXPECT_EQ("to the second file\r\n", ReadFile(second));

    cLog::EnableAutoSaveToFile(true, second.c_str());  // off to on: rewritten from the start
    EXPECT_EQ(std::string(cLog::GetLogCopy()), ReadFile(second));
    cLog::EnableAutoSaveToFile(false, nullptr);
}

// A mirror file that cannot be written loses the copy, never the log line,
// and does not warn about itself (which would fail and warn again).
TEST(Log, UnwritableMirrorKeepsLogging) {
    StartFileSystem();
    TempDir dir;
    std::string blocker = dir / "blocker";
    WriteFile(blocker, "x");
    LogTail tail;
    cLog::EnableAutoSaveToFile(true, (blocker + "/log.txt").c_str());
    cLog::Message("still logged");
    cLog::EnableAutoSaveToFile(false, nullptr);
    EXPECT_EQ("still logged\r\n", tail.Text());
}

// Lines from many threads arrive whole, once each, and the mirror file holds
// them in the same order as the log.
TEST(Log, ConcurrentLinesStayWholeAndMirrorInOrder) {
    StartFileSystem();
    TempDir dir;
    std::string path = dir / "threads.txt";
    cLog::EnableAutoSaveToFile(true, path.c_str());
    LogTail tail;
    const int threads = 6, lines = 300;
    std::vector<Burst> bursts;
    for (int i = 0; i < threads; i++) bursts.push_back({i, lines});
    std::vector<unsigned long> handles;
    for (int i = 0; i < threads; i++) handles.push_back(cThread::CreateThread(WriteLines, &bursts[i]));
    for (unsigned long& h : handles) cThread::WaitAndDeleteThread(&h);
    cLog::EnableAutoSaveToFile(false, nullptr);

    std::string text = tail.Text();
    std::string all = std::string(cLog::GetLogCopy());
    EXPECT_EQ(all, ReadFile(path));
    std::vector<int> next(threads, 0);
    size_t pos = 0;
    int count = 0;
    std::regex line("thread (\\d) line (\\d+)");
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        ASSERT_NE(std::string::npos, end);
        std::smatch m;
        std::string one = text.substr(pos, end - pos);
        ASSERT_TRUE(std::regex_match(one, m, line)) << one;
        int id = std::stoi(m[1]);
        EXPECT_EQ(next[id]++, std::stoi(m[2]));  // each thread's lines in its own order
        pos = end + 2;
        count++;
    }
    EXPECT_EQ(threads * lines, count);
}

// A warning on a worker thread of a process without a toolkit logs at once
// and returns without waiting for anything.
TEST(Log, WarningOnWorkerThreadOnlyLogs) {
    LogTail tail;
    int n = 7;
    unsigned long h = cThread::CreateThread(WarnFromWorker, &n);
    cThread::WaitAndDeleteThread(&h);
    EXPECT_EQ("worker warning 7\r\nworker error\r\n", tail.Text());
    EXPECT_FALSE(cLog::IsVisible());
}

TEST(Log, AssertionGlobalsStartAsDocumented) {
    EXPECT_EQ(1, OmbrelAssertDebugInsteadOfException);
    EXPECT_TRUE(OmbrelLastException.IsEmpty());
    __elog("ignored");
}
