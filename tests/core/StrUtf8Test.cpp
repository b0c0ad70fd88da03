// UTF-8 decoding of cStr, with glibc's iconv as an independent decoder.
#include <gtest/gtest.h>

#include <iconv.h>

#include <random>
#include <string>
#include <vector>

#include "zozud/core/Str.h"

using namespace zozud;

namespace {

typedef std::vector<unsigned short> Units;

Units Decode(const std::string& bytes, bool* ok) {
    cList<unsigned short> out;
    *ok = cStr(bytes.c_str()).DecodeUTF8(&out);
    return Units(out.begin(), out.end());
}

// glibc's UTF-8 to UTF-16LE; false when it refuses any byte.
bool IconvDecode(const std::string& bytes, Units* units) {
    static iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    EXPECT_NE(cd, (iconv_t)-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> out(bytes.size() * 2 + 8);
    char *in = const_cast<char*>(bytes.data()), *to = out.data();
    size_t inLeft = bytes.size(), outLeft = out.size();
    bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != (size_t)-1;
    units->clear();
    for (char* p = out.data(); ok && p < to; p += 2) units->push_back((unsigned char)p[0] | (unsigned char)p[1] << 8);
    return ok;
}

// A code point of random encoded length (never NUL or a surrogate), encoded.
std::string RandomCharacter(std::mt19937& rng) {
    unsigned limits[] = {0x80, 0x800, 0x10000, 0x110000}, bytes = 1 + rng() % 4;
    unsigned low = bytes == 1 ? 1 : limits[bytes - 2], cp = low + rng() % (limits[bytes - 1] - low);
    if (cp >= 0xD800 && cp <= 0xDFFF) cp -= 0x800;
    if (bytes == 1) return std::string(1, char(cp));
    std::string s(bytes, 0);
    for (unsigned i = bytes - 1; i > 0; i--, cp >>= 6) s[i] = char(0x80 | (cp & 0x3F));
    const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    s[0] = char(lead[bytes] | cp);
    return s;
}

}  // namespace

TEST(StrUtf8, KnownAnswers) {
    const unsigned short R = 0xFFFD;
    struct { const char* bytes; bool ok; Units units; } rows[] = {
        {"", true, {}}, {"Az", true, {'A', 'z'}}, {"\xc3\xa9\xe2\x82\xac", true, {0xE9, 0x20AC}},
        {"\xf0\x9d\x84\x9e", true, {0xD834, 0xDD1E}}, {"\xf4\x8f\xbf\xbf", true, {0xDBFF, 0xDFFF}},
        {"a\x80" "b", false, {'a', R, 'b'}}, {"\xc0\xaf", false, {R, R}}, {"\xed\xa0\x80", false, {R, R, R}},
        {"\xf4\x90\x80\x80", false, {R, R, R, R}}, {"\xe2\x82" "a", false, {R, 'a'}}, {"x\xf0\x9d\x84", false, {'x', R}},
    };
    for (auto& r : rows) {
        bool ok = !r.ok;
        EXPECT_EQ(Decode(r.bytes, &ok), r.units) << r.bytes;
        EXPECT_EQ(ok, r.ok) << r.bytes;
    }
    cStr s("a\xe2\x82\xac\xf0\x9d\x84\x9e" "b");
    int lengths[][2] = {{0, 1}, {1, 3}, {4, 4}, {8, 1}, {9, 0}, {50, 0}, {-1, 0}, {2, 1}};
    for (auto& l : lengths) EXPECT_EQ(s.CalcUTF8Length(l[0]), l[1]) << "at " << l[0];
    EXPECT_EQ(cStr("\xe2\x82" "a").CalcUTF8Length(0), 2) << "up to the byte that broke it";
}

// Valid text, and the same text damaged: our verdict and units match iconv's,
// and CalcUTF8Length steps once per decoded character.
TEST(StrUtf8, RandomTextAgreesWithIconv) {
    std::mt19937 rng(5);
    for (int round = 0; round < 8000; round++) {
        std::string text;
        for (int i = 0, n = 1 + rng() % 20; i < n; i++) text += RandomCharacter(rng);
        for (int k = 0, damage = round % 2 ? 1 + rng() % 2 : 0; k < damage; k++) {
            size_t at = rng() % text.size();
            switch (rng() % 3) {
                case 0: text[at] = char(1 + rng() % 255); break;
                case 1: text.insert(at, 1, char(0x80 + rng() % 0x40)); break;
                default: text.insert(at, "\xed\xa0\x80"); break;  // a surrogate
            }
        }
        Units expected, units;
        bool theirs = IconvDecode(text, &expected), ours = false;
        units = Decode(text, &ours);
        ASSERT_EQ(ours, theirs) << round;
        if (theirs) { ASSERT_EQ(units, expected) << round; }
        ASSERT_TRUE(round % 2 || ours);

        cStr s(text.c_str());
        int steps = 0, characters = 0;
        for (int pos = 0; pos < s.Length(); steps++) {
            int n = s.CalcUTF8Length(pos);
            ASSERT_GT(n, 0);
            pos += n;
        }
        for (unsigned short u : units) characters += (u < 0xDC00 || u > 0xDFFF);
        ASSERT_EQ(steps, characters) << round;
    }
}

// Every two-byte run from a lead byte, and three-byte runs around the
// continuation range: valid exactly when iconv takes them, with its units.
TEST(StrUtf8, ShortRunsAgreeWithIconvByteForByte) {
    std::vector<std::string> runs;
    for (int a = 0x80; a <= 0xFF; a++)
        for (int b = 1; b <= 0xFF; b++) runs.push_back({char(a), char(b)});
    for (int a = 0xE0; a <= 0xF4; a++)
        for (int b = 0x70; b <= 0xCF; b++)
            for (int c = 0x70; c <= 0xCF; c += 3) runs.push_back({char(a), char(b), char(c)});
    int valid = 0;
    for (const std::string& run : runs) {
        Units expected, units;
        bool theirs = IconvDecode(run, &expected), ours = false;
        units = Decode(run, &ours);
        ASSERT_EQ(ours, theirs) << std::hex << (int)(unsigned char)run[0] << " " << (int)(unsigned char)run[1];
        if (theirs) { ASSERT_EQ(units, expected); }
        valid += theirs;
    }
    EXPECT_GT(valid, 1000);
}
