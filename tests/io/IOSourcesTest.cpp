// Loading and saving through cIO: the write folder, further sources and warnings.
#include <gtest/gtest.h>

#include <unistd.h>

#include <random>
#include <string>

#include "io/TempTree.h"
#include "zozud/core/Log.h"

using namespace iotest;
using zozud::cFile;
using zozud::cIO;

namespace {

std::string Load(const std::string& path) {
    cFile f;
    if (!cIO::LoadFile(path.c_str(), &f, false)) return "<none>";
    return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize());
}

bool Save(const std::string& path, const std::string& bytes, bool append = false) {
    return cIO::SaveFile(path.c_str(), bytes.data(), bytes.size(), append, false);
}

// A source that holds one file in memory and takes no saves.
class MemorySource : public cIO::Source {
public:
    MemorySource(const char* name, const char* bytes) : name(name), bytes(bytes) {}
    bool Load(const char* path, cFile* file) const override {
        if (zozud::cStr::CompareNoCase(path, name) != 0) return false;
        file->Copy(bytes.ToChar(), bytes.Length(), path);
        return true;
    }
    bool Save(const char*, const void*, unsigned long, bool) const override { return false; }
    const zozud::cStr& GetPath() const override { return name; }

private:
    zozud::cStr name, bytes;
};

}  // namespace

TEST(IOSources, AbsolutePathsRoundTripByteForByte) {
    TempTree t;
    std::string bytes(1 << 20, '\0'), path = t.Path("blob.bin");
    std::mt19937 random(7);
    for (char& c : bytes) c = (char)(random() & 0xFF);
    ASSERT_TRUE(Save(path, bytes));
    EXPECT_EQ(ReadFile(path), bytes);  // read back independently
    EXPECT_EQ(ModeOf(path), 0666u);
    cFile f;
    ASSERT_TRUE(cIO::LoadFile(t.Path("BLOB.BIN").c_str(), &f));  // letter case corrected
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize()), bytes);
    EXPECT_STREQ(f.GetName(), path.c_str());
    ASSERT_TRUE(Save(t.Path("Blob.Bin"), "short"));
    EXPECT_EQ(ReadFile(path), "short");
    ASSERT_TRUE(Save(t.Path("log.txt"), "one\r\n", true) && Save(t.Path("log.txt"), "two\r\n", true));
    EXPECT_EQ(Load(t.Path("log.txt")), "one\r\ntwo\r\n");
    ASSERT_TRUE(cIO::LoadFile("/proc/self/status", &f, false)) << "files that report no size load whole";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.GetData()), 5), "Name:");
}

TEST(IOSources, FailuresLeaveTheFileEmptyAndWriteNothing) {
    TempTree t{"dir/"};
    ASSERT_EQ(mkfifo(t.Path("pipe").c_str(), 0600), 0);
    cFile f;
    for (std::string bad : {t.Path("missing.txt"), t.Path("dir"), t.Path("pipe")}) {  // a pipe must not block
        f.Copy("old", 3, "old");
        EXPECT_FALSE(cIO::LoadFile(bad.c_str(), &f, false)) << bad;
        EXPECT_TRUE(f.GetSize() == 0 && f.GetName().IsEmpty()) << bad;
    }
    EXPECT_FALSE(cIO::LoadFile(nullptr, &f, false));
    EXPECT_FALSE(cIO::LoadFile(t.Path("dir").c_str(), nullptr, false));

    EXPECT_FALSE(Save(t.Path("nosuch/x.txt"), "x")) << "folders are not made here";
    EXPECT_FALSE(Exists(t.Path("nosuch")));
    EXPECT_FALSE(cIO::SaveFile(t.Path("n.txt").c_str(), nullptr, 3, false, false));
    EXPECT_FALSE(cIO::SaveFile(nullptr, "abc", 3, false, false));
    EXPECT_FALSE(Save(t.root + "/", "x"));
    cFile file;
    file.SetName(t.Path("empty.txt").c_str());
    EXPECT_FALSE(cIO::SaveFile(nullptr, file, false, false)) << "a file without bytes is not saved";
    EXPECT_FALSE(Exists(t.Path("empty.txt")));
    file.Copy("body", 4, t.Path("named.txt").c_str());
    EXPECT_TRUE(cIO::SaveFile(nullptr, file, false, false));
    EXPECT_EQ(ReadFile(t.Path("named.txt")), "body");
}

TEST(IOSources, WriteFolderTakesSavesAndHidesTheProgramFoldersCopy) {
    TempTree t{"prog/cfg.txt", "write/cfg.txt"};
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    EXPECT_EQ(Load("cfg.txt"), "write/cfg.txt");
    EXPECT_EQ(Load(t.Path("prog/cfg.txt")), "write/cfg.txt");
    ASSERT_EQ(unlink(t.Path("write/cfg.txt").c_str()), 0);
    EXPECT_EQ(Load("cfg.txt"), "prog/cfg.txt");

    ASSERT_TRUE(Save("new.txt", "fresh") && Save(t.Path("prog/abs.txt"), "abs"));
    EXPECT_EQ(ReadFile(t.Path("write/new.txt")) + ReadFile(t.Path("write/abs.txt")), "freshabs");
    EXPECT_FALSE(Exists(t.Path("prog/new.txt")) || Exists(t.Path("prog/abs.txt")));
}

TEST(IOSources, RelativeLoadsAskEverySourceInOrder) {
    TempTree t{"prog/both.txt"};
    ProgramFolderScope scope(t.Path("prog"), "");
    MemorySource memory("virtual.txt", "from memory"), shadow("both.txt", "shadowed");
    cIO::GetSourcesMutable().Add(&memory);
    cIO::GetSourcesMutable().Add(&shadow);
    EXPECT_EQ(Load("virtual.txt"), "from memory");
    EXPECT_EQ(Load("both.txt"), "prog/both.txt") << "the program folder comes first";
    EXPECT_EQ(Load(t.Path("prog/virtual.txt")), "<none>") << "absolute: the default source alone";
    EXPECT_TRUE(Save("virtual.txt", "on disk")) << "saves go to the first source that takes them";
    EXPECT_EQ(Load("virtual.txt"), "on disk");
    cIO::GetSourcesMutable().Remove(&shadow);
    cIO::GetSourcesMutable().Remove(&memory);
}

TEST(IOSources, WarningsGoToTheCoreLogOnlyWhenAsked) {
    TempTree t;
    std::string missing = t.Path("missing.txt"), unsaved = t.Path("no/x.txt");
    cFile f;
    size_t before = zozud::cLog::GetLogCopy().Length();
    EXPECT_FALSE(cIO::LoadFile(missing.c_str(), &f, false) || cIO::SaveFile(unsaved.c_str(), "x", 1, false, false));
    EXPECT_EQ(zozud::cLog::GetLogCopy().Length(), before);
    EXPECT_FALSE(cIO::LoadFile(missing.c_str(), &f, true) || cIO::SaveFile(unsaved.c_str(), "x", 1, false, true));
    EXPECT_EQ(std::string(zozud::cLog::GetLogCopy().ToChar() + before),
              "Can't load file \"" + missing + "\"\r\nCan't save file \"" + unsaved + "\"\r\n");
}

// The core log saves and mirrors through the facade the start-up lent it, so
// its files follow the write folder like every other save.
TEST(IOSources, TheCoreLogWritesThroughTheFacade) {
    TempTree t{"prog/", "write/"};
    ProgramFolderScope scope(t.Path("prog"), t.Path("write"));
    ASSERT_TRUE(zozud::cLog::SaveToFile("saved.txt"));
    EXPECT_EQ(ReadFile(t.Path("write/saved.txt")), zozud::cLog::GetLogCopy().ToChar());
    zozud::cLog::EnableAutoSaveToFile(true, "mirror.txt");
    zozud::cLog::Message("mirrored line");
    zozud::cLog::EnableAutoSaveToFile(false, nullptr);
    EXPECT_EQ(ReadFile(t.Path("write/mirror.txt")), zozud::cLog::GetLogCopy().ToChar());
    EXPECT_FALSE(Exists(t.Path("prog/saved.txt")) || Exists(t.Path("prog/mirror.txt")));
}
