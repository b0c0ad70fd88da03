// Loading and saving through cIO: absolute and relative paths, the write
// folder overriding reads and taking writes, further sources in list order,
// the warnings in the core log, and saves from several threads.
#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "io/TempTree.h"
#include "zozud/core/Log.h"
#include "zozud/io/IO.h"

using iotest::Exists;
using iotest::ModeOf;
using iotest::ProgramFolderScope;
using iotest::ReadAll;
using iotest::TempTree;
using zozud::cFile;
using zozud::cIO;
using zozud::cLog;
using zozud::cStr;

namespace {

std::string Text(const cFile& f) {
    return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize());
}

std::string Load(const std::string& path) {
    cFile f;
    if (!cIO::LoadFile(path.c_str(), &f, false)) return "<none>";
    return Text(f);
}

bool Save(const std::string& path, const std::string& bytes, bool append = false) {
    return cIO::SaveFile(path.c_str(), bytes.data(), bytes.size(), append, false);
}

// A source that holds one file in memory.
class MemorySource : public cIO::Source {
public:
    MemorySource(const char* name, const char* bytes) : name(name), bytes(bytes) {}
    bool Load(const char* path, cFile* file) const override {
        if (cStr::CompareNoCase(path, name) != 0) return false;
        file->Copy(bytes.ToChar(), bytes.Length(), path);
        return true;
    }
    bool Save(const char*, const void*, unsigned long, bool) const override { return false; }
    const cStr& GetPath() const override { return name; }

private:
    cStr name, bytes;
};

}  // namespace

TEST(IOSources, LoadAndSaveAbsolutePathsByteForByte) {
    TempTree t;
    std::string bytes(1 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : bytes) c = (char)(random() & 0xFF);
    std::string path = t.Path("blob.bin");
    ASSERT_TRUE(Save(path, bytes));
    EXPECT_EQ(ReadAll(path), bytes);  // read back independently
    EXPECT_EQ(ModeOf(path), 0666u);

    cFile f;
    ASSERT_TRUE(cIO::LoadFile(path.c_str(), &f));
    EXPECT_EQ(Text(f), bytes);
    EXPECT_EQ(std::string(f.GetName().ToChar()), path);
    EXPECT_EQ(f.GetPos(), 0);

    // The letter case of the path is corrected on load and on save alike.
    EXPECT_EQ(Load(t.Path("BLOB.BIN")).size(), bytes.size());
    ASSERT_TRUE(Save(t.Path("Blob.Bin"), "short"));
    EXPECT_EQ(ReadAll(path), "short");
    EXPECT_FALSE(Exists(t.Path("Blob.Bin")));

    ASSERT_TRUE(Save(t.Path("log.txt"), "one\r\n", true));
    ASSERT_TRUE(Save(t.Path("log.txt"), "two\r\n", true));
    EXPECT_EQ(ReadAll(t.Path("log.txt")), "one\r\ntwo\r\n");
    ASSERT_TRUE(Save(t.Path("log.txt"), "", false));
    EXPECT_EQ(Load(t.Path("log.txt")), "");  // an empty file loads as no bytes
}

TEST(IOSources, FailedLoadsLeaveTheFileEmpty) {
    TempTree t;
    t.Folder("dir");
    cFile f;
    f.Copy("old", 3, "old");
    EXPECT_FALSE(cIO::LoadFile(t.Path("missing.txt").c_str(), &f, false));
    EXPECT_EQ(f.GetSize(), 0);
    EXPECT_TRUE(f.GetName().IsEmpty());
    EXPECT_FALSE(cIO::LoadFile(t.Path("dir").c_str(), &f, false));  // a folder is no file
    EXPECT_FALSE(cIO::LoadFile(nullptr, &f, false));
    EXPECT_FALSE(cIO::LoadFile(t.Path("dir").c_str(), nullptr, false));
    ASSERT_EQ(mkfifo(t.Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(cIO::LoadFile(t.Path("pipe").c_str(), &f, false));  // and does not block

    // Files that report no size still load whole.
    ASSERT_TRUE(cIO::LoadFile("/proc/self/status", &f, false));
    EXPECT_EQ(Text(f).compare(0, 5, "Name:"), 0);
}

TEST(IOSources, FailedSavesWriteNothing) {
    TempTree t;
    EXPECT_FALSE(Save(t.Path("nosuch/x.txt"), "x"));  // folders are not made here
    EXPECT_FALSE(Exists(t.Path("nosuch")));
    EXPECT_TRUE(cIO::CreatePath(t.Path("nosuch/x.txt").c_str()));
    EXPECT_TRUE(Save(t.Path("nosuch/x.txt"), "x"));
    EXPECT_FALSE(cIO::SaveFile(t.Path("n.txt").c_str(), nullptr, 3, false, false));
    EXPECT_FALSE(cIO::SaveFile(nullptr, "abc", 3, false, false));
    EXPECT_FALSE(Save(t.root + "/", "x"));

    cFile empty;
    empty.SetName(t.Path("empty.txt").c_str());
    EXPECT_FALSE(cIO::SaveFile(nullptr, empty, false, false));
    EXPECT_FALSE(Exists(t.Path("empty.txt")));

    cFile named;
    named.Copy("body", 4, t.Path("named.txt").c_str());
    EXPECT_TRUE(cIO::SaveFile(nullptr, named, false, false));
    EXPECT_EQ(ReadAll(t.Path("named.txt")), "body");
    EXPECT_TRUE(cIO::SaveFile(t.Path("other.txt").c_str(), named, false, false));
    EXPECT_EQ(ReadAll(t.Path("other.txt")), "body");
}

TEST(IOSources, WriteFolderTakesSavesAndHidesTheProgramFoldersCopy) {
    TempTree t;
    t.File("prog/cfg.txt", "read");
    t.File("write/cfg.txt", "write");
    t.File("prog/plain.txt", "plain");
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));

    EXPECT_EQ(Load("cfg.txt"), "write");
    EXPECT_EQ(Load(t.Path("prog/cfg.txt")), "write");
    EXPECT_EQ(Load("plain.txt"), "plain");  // no write copy: the program folder's
    ASSERT_EQ(unlink(t.Path("write/cfg.txt").c_str()), 0);
    EXPECT_EQ(Load("cfg.txt"), "read");

    ASSERT_TRUE(Save("new.txt", "fresh"));
    EXPECT_EQ(ReadAll(t.Path("write/new.txt")), "fresh");
    EXPECT_FALSE(Exists(t.Path("prog/new.txt")));
    ASSERT_TRUE(Save(t.Path("prog/abs.txt"), "abs"));
    EXPECT_EQ(ReadAll(t.Path("write/abs.txt")), "abs");
    EXPECT_FALSE(Exists(t.Path("prog/abs.txt")));
    EXPECT_EQ(Load("abs.txt"), "abs");

    // A save of a relative path into a missing folder fails until it exists.
    EXPECT_FALSE(Save("Saves/slot.dat", "s"));
    cIO::CreatePath("Saves/slot.dat");
    EXPECT_TRUE(Save("Saves/slot.dat", "s"));
    EXPECT_EQ(ReadAll(t.Path("write/Saves/slot.dat")), "s");
}

TEST(IOSources, RelativeLoadsAskEverySourceInOrder) {
    TempTree t;
    t.File("prog/both.txt", "disk");
    ProgramFolderScope scope(t.Path("prog"), "");
    MemorySource* memory = new MemorySource("virtual.txt", "from memory");
    MemorySource* shadow = new MemorySource("both.txt", "shadowed");
    cIO::GetSourcesMutable().Add(memory);
    cIO::GetSourcesMutable().Add(shadow);
    EXPECT_EQ(Load("virtual.txt"), "from memory");
    EXPECT_EQ(Load("both.txt"), "disk");                     // the program folder comes first
    EXPECT_EQ(Load(t.Path("prog/virtual.txt")), "<none>");  // absolute: the default source alone
    // Saves go to the first source that takes them, which then also serves loads.
    EXPECT_TRUE(Save("virtual.txt", "on disk"));
    EXPECT_EQ(ReadAll(t.Path("prog/virtual.txt")), "on disk");
    EXPECT_EQ(Load("virtual.txt"), "on disk");
    cIO::GetSourcesMutable().Remove(shadow);
    cIO::GetSourcesMutable().Remove(memory);
    delete shadow;
    delete memory;
}

TEST(IOSources, WarningsGoToTheCoreLogOnlyWhenAsked) {
    TempTree t;
    std::string missing = t.Path("missing.txt");
    cFile f;
    int before = cLog::GetLog().Length();
    EXPECT_FALSE(cIO::LoadFile(missing.c_str(), &f, false));
    EXPECT_FALSE(cIO::SaveFile(t.Path("no/x.txt").c_str(), "x", 1, false, false));
    EXPECT_EQ(cLog::GetLog().Length(), before);

    EXPECT_FALSE(cIO::LoadFile(missing.c_str(), &f, true));
    std::string log = cLog::GetLog().ToChar();
    EXPECT_NE(log.find("Can't load file \"" + missing + "\""), std::string::npos);
    EXPECT_FALSE(cIO::SaveFile(t.Path("no/x.txt").c_str(), "x", 1, false, true));
    log = cLog::GetLog().ToChar();
    EXPECT_NE(log.find("Can't save file \"" + t.Path("no/x.txt") + "\""), std::string::npos);
}

namespace {

struct AppendJob {
    std::string path;
    pthread_mutex_t* mutex;
    int id;
};

void* AppendLines(void* arg) {
    AppendJob* job = static_cast<AppendJob*>(arg);
    for (int i = 0; i < 200; i++) {
        std::string line = "thread " + std::to_string(job->id) + " line " + std::to_string(i) + "\r\n";
        pthread_mutex_lock(job->mutex);
        cIO::SaveFile(job->path.c_str(), line.data(), line.size(), true, false);
        pthread_mutex_unlock(job->mutex);
        cFile f;
        cIO::LoadFile(job->path.c_str(), &f, false);  // reads race the writes: any prefix will do
    }
    return nullptr;
}

}  // namespace

TEST(IOSources, SerialisedAppendsFromSeveralThreadsKeepEveryLine) {
    TempTree t;
    std::string path = t.Path("service.log");
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    std::vector<AppendJob> jobs(4);
    std::vector<pthread_t> threads(jobs.size());
    for (size_t i = 0; i < jobs.size(); i++) {
        jobs[i] = AppendJob{path, &mutex, (int)i};
        ASSERT_EQ(pthread_create(&threads[i], nullptr, AppendLines, &jobs[i]), 0);
    }
    for (pthread_t thread : threads) pthread_join(thread, nullptr);
    std::string text = ReadAll(path);
    for (size_t i = 0; i < jobs.size(); i++)
        for (int line = 0; line < 200; line += 37)
            EXPECT_NE(text.find("thread " + std::to_string(i) + " line " + std::to_string(line) + "\r\n"),
                      std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 800);
}
