// cLog. The file layer is not linked here: the mirror writes into an
// in-memory file system lent through the log's file hooks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "zozud/core/Log.h"
#include "zozud/core/Thread.h"

using namespace zozud;

namespace {

// Paths holding "unwritable" refuse every write.
std::map<std::string, std::string> s_Files;

bool FakeSave(const char* path, const void* data, unsigned long size, bool append, bool) {
    if (std::string(path).find("unwritable") != std::string::npos) return false;
    std::string& file = s_Files[path];
    if (!append) file.clear();
    file.append(static_cast<const char*>(data), size);
    return true;
}

bool FakeRemove(const char* path) { return s_Files.erase(path) > 0; }

std::string ReadFile(const std::string& path) { return s_Files.count(path) ? s_Files[path] : "<none>"; }
void        WriteFile(const std::string& path, const std::string& bytes) { s_Files[path] = bytes; }

class LogFiles : public ::testing::Test {
protected:
    void SetUp() override {
        cLog::FileHooks hooks;
        hooks.saveFile = FakeSave;
        hooks.removeFile = FakeRemove;
        cLog::SetFileHooks(hooks);
    }
    void TearDown() override {
        cLog::SetFileHooks(cLog::FileHooks());
        s_Files.clear();
    }
};

// The log is never trimmed: each test looks at what its own calls appended.
std::string Log() { return cLog::GetLogCopy().ToChar(); }

void WriteLines(void* id) {
    for (int i = 0; i < 300; i++) cLog::Message("thread %d line %d", *static_cast<int*>(id), i);
}

void WarnFromWorker(void*) {
    cLog::Warning("worker warning %d", 7);
    cLog::Error("worker error");
}

// Logs a line before main (this file's constructors run before the log's
// own) and one at exit, after the log's globals were torn down. At exit no
// test can fail any more: a wrong line ends the process with status 3.
struct EarlyAndLateLines {
    EarlyAndLateLines() { cLog::Message("early\nline"); }
    ~EarlyAndLateLines() {
        cLog::Message("late\nline");
        std::string log = Log();
        if (log.size() < 12 || log.compare(log.size() - 12, 12, "late\r\nline\r\n") != 0) {
            fprintf(stderr, "a line logged at exit lost its line ends\n");
            _exit(3);
        }
    }
} s_EarlyAndLate;

}  // namespace

TEST(Log, LinesFromBeforeMainKeepTheirLineEnds) {
    EXPECT_NE(std::string::npos, Log().find("early\r\nline\r\n")) << Log().substr(0, 200);
}

// The clock counts from 0 at its first call; a time origin taken then is an
// origin all the same. Run in a fresh process, where nothing read the clock yet.
TEST(Log, TimeStampsCountFromTheFirstStampEvenAtClockZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            cLog::TimeMessage("first");
            cThread::Sleep(300);
            cLog::TimeMessage("second");
            std::string log = Log();
            std::smatch m;
            bool ok = std::regex_search(log, m, std::regex("00:00\\.00\\d first\r\n00:00\\.(\\d\\d\\d) second\r\n"));
            int ms = ok ? std::stoi(m[1]) : 0;
            fprintf(stderr, "%s", log.c_str());
            _exit(ok && ms >= 295 && ms < 900 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Log, EveryLineEndsInOneLineEnd) {
    struct { const char *text, *stored; } rows[] = {
        {"a\r\nb", "a\r\nb\r\n"}, {"a\nb\n", "a\r\nb\r\n"}, {"x\n\ny", "x\r\n\r\ny\r\n"}, {"cr\r gone\r", "cr gone\r\n"},
        {"", "\r\n"}, {"\n\r\n", "\r\n\r\n"}, {"100% literal", "100% literal\r\n"}};
    for (auto& r : rows) {
        size_t mark = Log().size();
        cLog::Message("%s", r.text);
        EXPECT_EQ(r.stored, Log().substr(mark)) << r.text;
    }
    size_t mark = Log().size();
    cLog::ResetTime();
    cLog::Message("%d %s %.2f", 42, "items", 1.5);
    cLog::TimeMessage("step %d", 1);
    cLog::TimeMessage("step %d\n", 2);
    std::smatch m;
    std::string text = Log().substr(mark);
    ASSERT_TRUE(std::regex_match(text, m, std::regex("42 items 1.50\r\n00:(\\d\\d)\\.(\\d\\d\\d) step 1\r\n"
                                                     "00:(\\d\\d\\.\\d\\d\\d) step 2\r\n"))) << text;
    EXPECT_LE(m[1].str() + "." + m[2].str(), m[3].str());
}

// Without a started toolkit, dialogs only log, on any thread, and return at once.
TEST(Log, DialogsWithoutToolkitOnlyLog) {
    size_t mark = Log().size();
    cLog::Warning("warned %d", 1);
    cLog::Error("failed %s", "here");
    cLog::Assert("broken %s", "invariant");
    cLog::ShowDialog(cLog::Mode::Log);
    unsigned long h = cThread::CreateThread(WarnFromWorker, nullptr);
    cThread::WaitAndDeleteThread(&h);
    EXPECT_EQ("warned 1\r\nfailed here\r\nbroken invariant\r\nworker warning 7\r\nworker error\r\n", Log().substr(mark));
    EXPECT_TRUE(!cLog::IsVisible() && cLog::GetResult() == -1);
}

TEST_F(LogFiles, FilesMirrorTheLog) {
    std::string saved = "saved.txt", mirror = "mirror.txt", second = "second.txt";
    WriteFile(saved, "old contents that are longer than nothing at all");
    ASSERT_TRUE(cLog::SaveToFile(saved.c_str()));
    EXPECT_EQ(Log(), ReadFile(saved));

    WriteFile(mirror, "stale text from an earlier run\r\n");
    cLog::EnableAutoSaveToFile(true, mirror.c_str());  // starts afresh with the whole log
    cLog::Message("mirrored\n%d", 2);
    EXPECT_EQ(Log(), ReadFile(mirror));
    cLog::EnableAutoSaveToFile(true, second.c_str());  // on while on: only moves where lines go
    cLog::Message("to the second file");
    cLog::EnableAutoSaveToFile(false, second.c_str());
    cLog::Message("not mirrored");
    EXPECT_EQ("to the second file\r\n", ReadFile(second));
    cLog::EnableAutoSaveToFile(true, second.c_str());  // off to on: rewritten from the start
    EXPECT_EQ(Log(), ReadFile(second));

    // An unwritable mirror loses the copy, never the line, and does not warn about itself.
    size_t mark = Log().size();
    cLog::EnableAutoSaveToFile(true, "unwritable/log.txt");
    cLog::Message("still logged");
    cLog::EnableAutoSaveToFile(false, nullptr);
    EXPECT_EQ("still logged\r\n", Log().substr(mark));
    EXPECT_FALSE(cLog::SaveToFile("unwritable/log.txt"));

    // Without a file layer nothing is written and saving fails.
    cLog::SetFileHooks(cLog::FileHooks());
    EXPECT_FALSE(cLog::SaveToFile("other.txt"));
    cLog::EnableAutoSaveToFile(true, "other.txt");
    cLog::Message("unmirrored");
    cLog::EnableAutoSaveToFile(false, nullptr);
    EXPECT_EQ("<none>", ReadFile("other.txt"));
}

// Lines from many threads arrive whole, each thread's in its own order, and
// the mirror file holds them in the same order as the log.
TEST_F(LogFiles, ConcurrentLinesStayWholeAndMirrorInOrder) {
    cLog::EnableAutoSaveToFile(true, "threads.txt");
    size_t mark = Log().size();
    int ids[6] = {0, 1, 2, 3, 4, 5};
    std::vector<unsigned long> handles;
    for (int& id : ids) handles.push_back(cThread::CreateThread(WriteLines, &id));
    for (unsigned long& h : handles) cThread::WaitAndDeleteThread(&h);
    cLog::EnableAutoSaveToFile(false, nullptr);
    EXPECT_EQ(Log(), ReadFile("threads.txt"));

    std::string text = Log().substr(mark);
    std::vector<int> next(6, 0);
    std::regex line("thread (\\d) line (\\d+)\r\n");
    size_t count = 0, covered = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it, count++) {
        EXPECT_EQ(next[std::stoi((*it)[1])]++, std::stoi((*it)[2]));
        covered += it->length();
    }
    EXPECT_EQ(6u * 300, count);
    EXPECT_EQ(text.size(), covered) << "nothing but whole lines";
}
