// cFile: the cursor, inserting and overwriting writes, little-endian values and tokens.
#include <gtest/gtest.h>

#include <string>

#include "zozud/io/File.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

using namespace zozud;

namespace {

std::string Bytes(const cFile& f) { return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize()); }

cFile FileOf(const std::string& text) {
    cFile f;
    f.Copy(text.data(), (int)text.size(), "mem");
    return f;
}

}  // namespace

TEST(File, SetCopyAndReadBytes) {
    cList<unsigned char> bytes;
    bytes.AddRange(reinterpret_cast<const unsigned char*>("abcde"), 5);
    cFile f = FileOf("old");
    f.SetPos(2);
    f.Set(&bytes, "taken.bin");
    EXPECT_TRUE(bytes.IsEmpty());
    EXPECT_EQ(f.GetPos(), 0);
    char out[8] = {};
    EXPECT_EQ(f.ReadBytes(out, 3), 3);
    EXPECT_EQ(f.ReadBytes(out, 0), 0);
    EXPECT_EQ(f.ReadBytes(out + 3, 10), 2) << "only what is left";
    EXPECT_STREQ(out, "abcde");
    EXPECT_EQ(f.ReadBytes(out, 1), -1) << "at the end: -1, not 0";
    f.Copy(f.GetData() + 1, 3, "self");  // copying from its own bytes
    EXPECT_EQ(Bytes(f), "bcd");
    f.Copy(nullptr, 5, "null");
    EXPECT_EQ(f.ReadBytes(out, 1), -1);
}

TEST(File, SetPosMutableExtendsWithZeros) {
    cFile f = FileOf("abcd");
    EXPECT_EQ(f.SetPosMutable(10), 10);
    EXPECT_EQ(Bytes(f), std::string("abcd") + std::string(6, '\0'));
    EXPECT_EQ(f.SetPosMutable(-3), 0);
    EXPECT_EQ(f.GetSize(), 10);

    // Bytes beyond the count of a block that was cut back must not come back.
    cList<unsigned char> kept;
    kept.Add(9, 8);
    kept.SetCount(2);
    cFile g;
    g.Set(&kept, "kept");
    EXPECT_EQ(g.SetPosMutable(6), 6);
    EXPECT_EQ(Bytes(g), std::string("\x09\x09\0\0\0\0", 6));
}

TEST(File, WriteBytesInsertsAndReplaceBytesOverwrites) {
    cFile f = FileOf("abef");
    f.SetPos(2);
    f.WriteBytes("cd", 2);
    EXPECT_EQ(f.GetPos(), 4);
    f.SetPos(6);
    f.WriteBytes("gh", 2);
    EXPECT_EQ(Bytes(f), "abcdefgh");
    f.SetPos(2);
    EXPECT_EQ(f.ReplaceBytes("XY", 2), 2);
    f.SetPos(6);
    EXPECT_EQ(f.ReplaceBytes("1234", 4), 2) << "never grows";
    EXPECT_EQ(f.ReplaceBytes("z", 1), -1);
    EXPECT_EQ(Bytes(f), "abXYef12");
    f.SetPos(0);
    EXPECT_EQ(f.ReplaceBytes(f.GetData() + 1, 7), 7);  // overlapping its own bytes
    EXPECT_EQ(Bytes(f), "bXYef122");

    cFile g = FileOf("0123456789");  // inserting its own bytes, also while the buffer grows
    for (int i = 0; i < 6; i++) {
        std::string before = Bytes(g);
        g.SetPos(3);
        g.WriteBytes(g.GetData() + 1, g.GetSize() - 1);
        ASSERT_EQ(Bytes(g), before.substr(0, 3) + before.substr(1) + before.substr(3));
    }
}

TEST(File, ValuesAreLittleEndianAndReadBackPartly) {
    cFile f;
    f.WriteShort(-2);
    f.WriteWord(0xBEEF);
    f.WriteInt(0x01020304);
    f.WriteFloat(1.0f);
    f.WriteVec3(cVec3(-2.0f, 0.5f, 0.0f));
    f.WriteString("hi");
    f.SetPos(2);
    f.WriteWord(0x0A0B);  // writers insert like WriteBytes
    EXPECT_EQ(Bytes(f), std::string("\xFE\xFF\x0B\x0A\xEF\xBE\x04\x03\x02\x01\0\0\x80\x3F"
                                    "\0\0\0\xC0\0\0\0\x3F\0\0\0\0hi", 28));

    f.SetPos(10);
    cVec3 v(0, 0, 0);
    EXPECT_TRUE(f.ReadVec3(&v));
    EXPECT_EQ(v, cVec3(1, -2, 0.5f));
    cVec2 w(5, 5);
    f.SetPos(22);
    EXPECT_FALSE(f.ReadVec2(&w));
    EXPECT_EQ(w, cVec2(0, 5)) << "x was read, y did not fit";
    EXPECT_EQ(f.GetPos(), 26);
}

TEST(File, ReadStringSkipsLeadingDelimitersAndConsumesOneBehind) {
    struct { const char *text, *delimiters, *tokens; } rows[] = {
        {"  ab,c", " ,;\t", "[ab][c]"}, {"x;;y\t \t", " ,;\t", "[x][y][]"}, {"a b", nullptr, "[a b]"}, {"", " ", ""}};
    for (auto& r : rows) {
        cFile f = FileOf(r.text);
        cStr token("stale");
        std::string seen;
        while (f.ReadString(&token, r.delimiters)) seen += std::string("[") + token.ToChar() + "]";
        EXPECT_EQ(seen, r.tokens) << r.text;
        EXPECT_TRUE(token.IsEmpty());
    }
}
