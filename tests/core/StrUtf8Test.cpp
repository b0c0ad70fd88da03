// UTF-8 decoding of cStr, checked against known answers and against glibc's
// iconv as an independent decoder, on valid text and on broken byte runs.
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

// glibc's UTF-8 to UTF-16LE conversion; false when it refuses any byte.
class Iconv {
public:
    Iconv() : cd(iconv_open("UTF-16LE", "UTF-8")) {}
    ~Iconv() { iconv_close(cd); }
    bool valid() const { return cd != (iconv_t)-1; }

    bool Decode(const std::string& bytes, Units* units) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> out(bytes.size() * 2 + 8);
        char* in = const_cast<char*>(bytes.data());
        char* to = out.data();
        size_t inLeft = bytes.size(), outLeft = out.size();
        if (iconv(cd, &in, &inLeft, &to, &outLeft) == (size_t)-1) return false;
        units->clear();
        for (char* p = out.data(); p < to; p += 2)
            units->push_back((unsigned short)((unsigned char)p[0] | (unsigned char)p[1] << 8));
        return true;
    }

private:
    iconv_t cd;
};

// A plain encoder, written from the definition of UTF-8.
std::string Encode(unsigned cp) {
    std::string s;
    if (cp < 0x80) {
        s += char(cp);
    } else if (cp < 0x800) {
        s += char(0xC0 | cp >> 6);
        s += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += char(0xE0 | cp >> 12);
        s += char(0x80 | (cp >> 6 & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    } else {
        s += char(0xF0 | cp >> 18);
        s += char(0x80 | (cp >> 12 & 0x3F));
        s += char(0x80 | (cp >> 6 & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    }
    return s;
}

// A code point of a random encoded length, never a surrogate or NUL.
unsigned RandomCodePoint(std::mt19937& rng) {
    switch (rng() % 4) {
        case 0: return 1 + rng() % 0x7F;
        case 1: return 0x80 + rng() % (0x800 - 0x80);
        case 2: {
            unsigned cp = 0x800 + rng() % (0x10000 - 0x800);
            return (cp >= 0xD800 && cp <= 0xDFFF) ? cp - 0x800 : cp;
        }
        default: return 0x10000 + rng() % (0x110000 - 0x10000);
    }
}

// Number of steps CalcUTF8Length takes to walk the whole text.
int Steps(const cStr& s) {
    int steps = 0;
    for (int pos = 0; pos < s.Length(); steps++) {
        int n = s.CalcUTF8Length(pos);
        if (n <= 0) return -1;
        pos += n;
    }
    return steps;
}

// Decoded characters: a surrogate pair counts once.
int Characters(const Units& units) {
    int n = 0;
    for (unsigned short u : units) n += (u < 0xDC00 || u > 0xDFFF);
    return n;
}

}  // namespace

TEST(StrUtf8, KnownAnswers) {
    bool ok = false;
    EXPECT_EQ(Decode("", &ok), Units{});
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decode("Az", &ok), (Units{'A', 'z'}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decode("\xc3\xa9\xe2\x82\xac", &ok), (Units{0xE9, 0x20AC}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decode("\xf0\x9d\x84\x9e", &ok), (Units{0xD834, 0xDD1E})) << "U+1D11E as a surrogate pair";
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decode("\xf4\x8f\xbf\xbf", &ok), (Units{0xDBFF, 0xDFFF})) << "U+10FFFF, the last code point";
    EXPECT_TRUE(ok);
    EXPECT_EQ(Decode("\xef\xbf\xbf", &ok), (Units{0xFFFF}));
    EXPECT_TRUE(ok);

    cList<unsigned short> reused;
    reused.Add(7);
    EXPECT_TRUE(cStr().DecodeUTF8(&reused));
    EXPECT_EQ(reused.Count(), 0) << "the output is cleared first";
}

TEST(StrUtf8, BadSequencesFailAndBecomeReplacementCharacters) {
    const unsigned short R = 0xFFFD;
    struct { const char* bytes; Units units; } cases[] = {
        {"a\x80" "b", {'a', R, 'b'}},                // a stray continuation byte
        {"\xc0\xaf", {R, R}},                        // overlong '/'
        {"\xe0\x80\xaf", {R, R, R}},                 // overlong, three bytes
        {"\xed\xa0\x80", {R, R, R}},                 // a surrogate, U+D800
        {"\xf4\x90\x80\x80", {R, R, R, R}},          // above U+10FFFF
        {"\xf8\x88\x80\x80\x80", {R, R, R, R, R}},   // five-byte form
        {"\xe2\x82" "a", {R, 'a'}},                  // cut short, decoding goes on at 'a'
        {"x\xf0\x9d\x84", {'x', R}},                 // cut short by the end
        {"\xff\xfe", {R, R}},
    };
    for (auto& c : cases) {
        bool ok = true;
        EXPECT_EQ(Decode(c.bytes, &ok), c.units) << c.bytes;
        EXPECT_FALSE(ok) << c.bytes;
    }
}

TEST(StrUtf8, SequenceLengths) {
    cStr s("a\xe2\x82\xac\xf0\x9d\x84\x9e" "b");
    EXPECT_EQ(s.CalcUTF8Length(0), 1);
    EXPECT_EQ(s.CalcUTF8Length(1), 3);
    EXPECT_EQ(s.CalcUTF8Length(4), 4);
    EXPECT_EQ(s.CalcUTF8Length(8), 1);
    EXPECT_EQ(s.CalcUTF8Length(9), 0) << "at the end";
    EXPECT_EQ(s.CalcUTF8Length(50), 0);
    EXPECT_EQ(s.CalcUTF8Length(-1), 0);
    EXPECT_EQ(s.CalcUTF8Length(2), 1) << "inside a sequence: one bad byte";
    EXPECT_EQ(cStr("\xe2\x82" "a").CalcUTF8Length(0), 2) << "up to the byte that broke it";
    EXPECT_EQ(cStr("\xf0\x9d\x84").CalcUTF8Length(0), 3) << "to the end of a cut sequence";
    EXPECT_EQ(cStr().CalcUTF8Length(0), 0);
}

TEST(StrUtf8, ValidTextDecodesAsIconvDoes) {
    Iconv reference;
    ASSERT_TRUE(reference.valid());
    std::mt19937 rng(99);
    for (int round = 0; round < 3000; round++) {
        std::string text;
        std::vector<int> lengths;
        for (int i = 0, n = rng() % 40; i < n; i++) {
            std::string one = Encode(RandomCodePoint(rng));
            lengths.push_back((int)one.size());
            text += one;
        }
        Units expected;
        ASSERT_TRUE(reference.Decode(text, &expected));
        bool ok = false;
        ASSERT_EQ(Decode(text, &ok), expected);
        ASSERT_TRUE(ok);

        // CalcUTF8Length walks the same characters the encoder wrote.
        cStr s(text.c_str());
        for (int i = 0, pos = 0; i < (int)lengths.size(); pos += lengths[i++])
            ASSERT_EQ(s.CalcUTF8Length(pos), lengths[i]);
    }
}

// Every two-byte run, and three-byte runs around the continuation range:
// valid exactly when iconv takes them, with the same units.
TEST(StrUtf8, ShortRunsAgreeWithIconvByteForByte) {
    Iconv reference;
    ASSERT_TRUE(reference.valid());
    std::vector<std::string> runs;
    for (int a = 0x80; a <= 0xFF; a++)
        for (int b = 1; b <= 0xFF; b++) runs.push_back({char(a), char(b)});
    for (int a = 0xE0; a <= 0xF4; a++)
        for (int b = 0x70; b <= 0xCF; b++)
            for (int c = 0x70; c <= 0xCF; c += 3) runs.push_back({char(a), char(b), char(c)});
    int valid = 0;
    for (const std::string& run : runs) {
        Units expected;
        bool theirs = reference.Decode(run, &expected);
        bool ours = false;
        Units units = Decode(run, &ours);
        ASSERT_EQ(ours, theirs) << std::hex << (int)(unsigned char)run[0] << " " << (int)(unsigned char)run[1];
        if (theirs) {
            ASSERT_EQ(units, expected);
            valid++;
        }
    }
    EXPECT_GT(valid, 1000);
}

// Valid text broken at random: a byte changed, dropped or added. Our verdict
// matches iconv's, and CalcUTF8Length steps once per decoded character.
TEST(StrUtf8, DamagedTextAgreesWithIconv) {
    Iconv reference;
    ASSERT_TRUE(reference.valid());
    std::mt19937 rng(5);
    int broken = 0;
    for (int round = 0; round < 5000; round++) {
        std::string text;
        for (int i = 0, n = 1 + rng() % 12; i < n; i++) text += Encode(RandomCodePoint(rng));
        for (int k = 0, damage = 1 + rng() % 2; k < damage; k++) {
            size_t at = rng() % text.size();
            switch (rng() % 4) {
                case 0: text[at] = char(1 + rng() % 255); break;
                case 1: text.erase(at, 1); break;
                case 2: text.insert(at, 1, char(0x80 + rng() % 0x40)); break;
                default: text.insert(at, Encode(0xD800 + rng() % 0x800)); break;  // a surrogate
            }
            if (text.empty()) text = "\xc3";
        }
        Units expected;
        bool theirs = reference.Decode(text, &expected);
        bool ours = false;
        Units units = Decode(text, &ours);
        ASSERT_EQ(ours, theirs) << round;
        if (theirs) {
            ASSERT_EQ(units, expected);
        }
        broken += !ours;

        cStr s(text.c_str());
        ASSERT_EQ(Steps(s), Characters(units)) << round;
    }
    EXPECT_GT(broken, 2500);
}
