// cFile: the cursor at every boundary, inserting and overwriting writes, the
// little-endian value writers and the token reader.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zozud/io/File.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

using zozud::cFile;
using zozud::cList;
using zozud::cStr;
using zozud::cVec2;
using zozud::cVec3;

namespace {

std::string Bytes(const cFile& f) {
    return std::string(reinterpret_cast<const char*>(f.GetData()), f.GetSize());
}

cFile FileOf(const std::string& text) {
    cFile f;
    f.Copy(text.data(), (int)text.size(), "mem");
    return f;
}

}  // namespace

TEST(File, SetTakesTheListsBufferAndCopyCopies) {
    cList<unsigned char> bytes;
    const unsigned char raw[] = {1, 2, 3};
    bytes.AddRange(raw, 3);
    const unsigned char* buffer = bytes.GetPtr();
    cFile f;
    f.Copy("zz", 2, "old");
    f.ReadBytes(nullptr, 1);
    f.Set(&bytes, "taken.bin");
    EXPECT_TRUE(bytes.IsEmpty());
    EXPECT_EQ(f.GetData(), buffer);  // no copy was made
    EXPECT_EQ(f.GetSize(), 3);
    EXPECT_EQ(f.GetPos(), 0);
    EXPECT_STREQ(f.GetName(), "taken.bin");

    f.Copy(raw, 0, "empty");
    EXPECT_EQ(f.GetSize(), 0);
    f.Copy(nullptr, 5, "null");
    EXPECT_EQ(f.GetSize(), 0);
    EXPECT_STREQ(f.GetName(), "null");

    f.Copy("abcdef", 6, "x");
    f.SetPos(4);
    f.Copy(f.GetData() + 1, 3, "self");  // copying from its own bytes
    EXPECT_EQ(Bytes(f), "bcd");
    EXPECT_EQ(f.GetPos(), 0);

    f.Clear();
    EXPECT_EQ(f.GetSize(), 0);
    EXPECT_TRUE(f.GetName().IsEmpty());
    EXPECT_EQ(f.GetPos(), 0);
}

TEST(File, ReadBytesGivesMinusOneOnlyAtTheEnd) {
    cFile f = FileOf("abcde");
    char buffer[8] = {};
    EXPECT_EQ(f.ReadBytes(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(f.ReadBytes(buffer, 0), 0);
    EXPECT_EQ(f.ReadBytes(buffer, -4), 0);
    EXPECT_EQ(f.ReadBytes(buffer, 10), 2);  // only what is left
    EXPECT_EQ(std::string(buffer, 2), "de");
    EXPECT_EQ(f.GetPos(), 5);
    EXPECT_EQ(f.ReadBytes(buffer, 1), -1);
    EXPECT_EQ(f.ReadBytes(buffer, 0), -1);
    EXPECT_TRUE(f.IsEnd());

    cFile empty;
    EXPECT_EQ(empty.ReadBytes(buffer, 1), -1);
}

TEST(File, SetPosClampsAndSetPosMutableExtendsWithZeros) {
    cFile f = FileOf("abcd");
    f.SetPos(-1);
    EXPECT_EQ(f.GetPos(), 0);
    f.SetPos(99);
    EXPECT_EQ(f.GetPos(), 4);
    EXPECT_EQ(f.GetSize(), 4);

    EXPECT_EQ(f.SetPosMutable(10), 10);
    EXPECT_EQ(f.GetSize(), 10);
    EXPECT_EQ(Bytes(f), std::string("abcd") + std::string(6, '\0'));
    EXPECT_EQ(f.SetPosMutable(-3), 0);
    EXPECT_EQ(f.GetSize(), 10);
    EXPECT_EQ(f.SetPosMutable(7), 7);
    EXPECT_EQ(f.GetSize(), 10);

    // Bytes beyond the end of a block that was cut back must not come back.
    cFile g;
    cList<unsigned char> kept;
    const unsigned char junk[] = {9, 9, 9, 9, 9, 9, 9, 9};
    kept.AddRange(junk, 8);
    kept.SetCount(2);  // the block keeps its old bytes past the count
    g.Set(&kept, "kept");
    EXPECT_EQ(g.SetPosMutable(6), 6);
    EXPECT_EQ(Bytes(g), std::string("\x09\x09\0\0\0\0", 6));
}

TEST(File, WriteBytesInsertsAtTheCursor) {
    cFile f = FileOf("abef");
    f.SetPos(2);
    f.WriteBytes("cd", 2);
    EXPECT_EQ(Bytes(f), "abcdef");
    EXPECT_EQ(f.GetPos(), 4);
    f.SetPos(6);
    f.WriteBytes("gh", 2);
    f.SetPos(0);
    f.WriteBytes(">", 1);
    EXPECT_EQ(Bytes(f), ">abcdefgh");
    f.WriteBytes(nullptr, 3);
    f.WriteBytes("x", 0);
    f.WriteBytes("x", -1);
    EXPECT_EQ(Bytes(f), ">abcdefgh");

    // Inserting a piece of its own bytes, also when the buffer has to grow.
    cFile g = FileOf("0123456789");
    for (int i = 0; i < 6; i++) {
        std::string before = Bytes(g);
        g.SetPos(3);
        g.WriteBytes(g.GetData() + 1, g.GetSize() - 1);
        EXPECT_EQ(Bytes(g), before.substr(0, 3) + before.substr(1) + before.substr(3));
    }
}

TEST(File, ReplaceBytesOverwritesButNeverGrows) {
    cFile f = FileOf("abcdef");
    f.SetPos(2);
    EXPECT_EQ(f.ReplaceBytes("XY", 2), 2);
    EXPECT_EQ(Bytes(f), "abXYef");
    EXPECT_EQ(f.GetPos(), 4);
    EXPECT_EQ(f.ReplaceBytes("1234", 4), 2);
    EXPECT_EQ(Bytes(f), "abXY12");
    EXPECT_EQ(f.GetSize(), 6);
    EXPECT_EQ(f.ReplaceBytes("z", 1), -1);
    f.SetPos(0);
    EXPECT_EQ(f.ReplaceBytes(f.GetData() + 1, 5), 5);  // overlapping its own bytes
    EXPECT_EQ(Bytes(f), "bXY122");
}

TEST(File, ValueWritersAreLittleEndianByteForByte) {
    cFile f;
    f.WriteShort(-2);
    f.WriteWord(0xBEEF);
    f.WriteInt(0x01020304);
    f.WriteFloat(1.0f);
    f.WriteVec3(cVec3(-2.0f, 0.5f, 0.0f));
    f.WriteString("hi");
    const unsigned char expected[] = {
        0xFE, 0xFF,              // -2
        0xEF, 0xBE,              // 0xBEEF
        0x04, 0x03, 0x02, 0x01,  // 0x01020304
        0x00, 0x00, 0x80, 0x3F,  // 1.0f
        0x00, 0x00, 0x00, 0xC0,  // -2.0f
        0x00, 0x00, 0x00, 0x3F,  // 0.5f
        0x00, 0x00, 0x00, 0x00,  // 0.0f
        'h', 'i'};
    ASSERT_EQ(f.GetSize(), (int)sizeof expected);
    EXPECT_EQ(memcmp(f.GetData(), expected, sizeof expected), 0);

    // Writers insert like WriteBytes.
    f.SetPos(2);
    f.WriteWord(0x0A0B);
    EXPECT_EQ(f.GetData()[2], 0x0B);
    EXPECT_EQ(f.GetData()[3], 0x0A);
    EXPECT_EQ(f.GetData()[4], 0xEF);
    f.WriteString(nullptr);
    EXPECT_EQ(f.GetSize(), (int)sizeof expected + 2);
}

TEST(File, ReadVecStopsAtTheFirstComponentThatDoesNotFit) {
    cFile f;
    f.WriteVec3(cVec3(1, 2, 3));
    f.SetPos(0);
    cVec3 v(0, 0, 0);
    EXPECT_TRUE(f.ReadVec3(&v));
    EXPECT_EQ(v, cVec3(1, 2, 3));
    EXPECT_TRUE(f.IsEnd());

    f.SetPos(0);
    cVec2 w(0, 0);
    EXPECT_TRUE(f.ReadVec2(&w));
    EXPECT_EQ(w, cVec2(1, 2));
    EXPECT_EQ(f.GetPos(), 8);

    // 10 bytes: x and y fit, z does not; the cursor stays behind y.
    cFile g;
    g.WriteFloat(7);
    g.WriteFloat(8);
    g.WriteShort(1);
    g.SetPos(0);
    cVec3 partial(0, 0, -1);
    EXPECT_FALSE(g.ReadVec3(&partial));
    EXPECT_EQ(partial, cVec3(7, 8, -1));
    EXPECT_EQ(g.GetPos(), 8);
    cVec2 none(5, 5);
    EXPECT_FALSE(g.ReadVec2(&none));
    EXPECT_EQ(none, cVec2(5, 5));
    EXPECT_EQ(g.GetPos(), 8);
}

TEST(File, ReadStringSkipsLeadingDelimitersAndConsumesOneBehind) {
    cFile f = FileOf("  ab,c");
    cStr token("stale");
    EXPECT_TRUE(f.ReadString(&token, " ,;\t"));
    EXPECT_STREQ(token, "ab");
    EXPECT_EQ(f.GetPos(), 5);
    EXPECT_TRUE(f.ReadString(&token, " ,;\t"));
    EXPECT_STREQ(token, "c");
    EXPECT_FALSE(f.ReadString(&token, " ,;\t"));
    EXPECT_TRUE(token.IsEmpty());

    // Only one delimiter behind a token is consumed; trailing delimiters
    // give one empty token at the end.
    cFile g = FileOf("x;;y\t \t");
    std::string seen;
    while (g.ReadString(&token, " ,;\t")) seen += std::string("[") + token.ToChar() + "]";
    EXPECT_EQ(seen, "[x][y][]");

    // Without delimiters the rest of the file is one token.
    cFile h = FileOf("a b");
    EXPECT_TRUE(h.ReadString(&token, nullptr));
    EXPECT_STREQ(token, "a b");
    EXPECT_FALSE(h.ReadString(&token, ""));

    // A long token crosses the string's growth steps intact.
    std::string longText(1000, 'q');
    cFile k = FileOf(longText + " tail");
    EXPECT_TRUE(k.ReadString(&token, " "));
    EXPECT_EQ(std::string(token.ToChar()), longText);
    EXPECT_EQ(token.Length(), 1000);
}
