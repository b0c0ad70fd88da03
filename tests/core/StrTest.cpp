// cStr (numbers cross-checked against strtof).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "zozud/core/Pool.h"
#include "zozud/core/Str.h"

using namespace zozud;

namespace {

std::vector<std::string> Items(const cList<cStr>& list) {
    std::vector<std::string> out;
    for (const cStr& s : list) out.push_back(s.ToChar());
    return out;
}

// Buffers of the short-string store that are handed out right now.
int ShortInUse() { return cStr::ShortSlabCount() * 256 - cStr::FreeShortCount(); }

}  // namespace

TEST(Str, CapacitiesFollowTheGrowthRule) {
    cStr s;
    for (int i = 1; i <= 70; i++) {
        s.Append(char('a' + i % 26));
        ASSERT_EQ(s.Capacity(), i <= 19 ? 20 : i <= 31 ? 32 : i <= 63 ? 64 : 96) << "after character " << i;
    }
    const std::string text(100, 'q');
    for (auto c : std::vector<std::pair<int, int>>{{0, 20}, {1, 20}, {18, 20}, {19, 32}, {31, 32}, {32, 64}, {40, 64}, {100, 128}}) {
        cStr t;
        t.Copy(text.substr(0, c.first).c_str());
        EXPECT_EQ(t.Capacity(), c.second) << c.first << " characters";
        EXPECT_EQ(cStr::Format("%s", text.substr(0, c.first).c_str()).Capacity(), c.second);
    }
    cStr cut(text.c_str());
    cut.Copy(std::string(50, 'z').c_str());
    EXPECT_EQ(cut.Capacity(), 128) << "buffers never shrink";
    cut.Resize(20, true);  // the kept text is cut to fit
    EXPECT_EQ(std::string(cut.ToChar()), std::string(31, 'z'));
}

TEST(Str, ComparisonKnownAnswers) {
    enum { Plain, NoCase, Path };
    struct { int kind; const char *a, *b; int n, expected; } rows[] = {
        {Plain, nullptr, "", -1, 0}, {Plain, "x", "", -1, 1}, {Plain, "a", "b", -1, -1}, {Plain, "ab", "ac", 1, 0},
        {Plain, "ab", "abc", -1, -1}, {Plain, "a", "A", -1, 1}, {Plain, "\xe9", "e", -1, -1}, {Plain, "abc", "abc", 10, 0},
        {NoCase, "ABC", "abc", -1, 0}, {NoCase, "Zeta", "alpha", -1, 1}, {NoCase, "ABx", "aby", 2, 0},
        {NoCase, "[", "{", -1, -1}, {NoCase, "_", "a", -1, -1}, {NoCase, "\xc9", "\xe9", -1, -1},
        {Path, "a/B", "A\\b", -1, 0}, {Path, "dir/file", "dir/sub/x", -1, -1}, {Path, "dir/sub/x", "dir/file", -1, 1},
        {Path, "dir/zzz", "dir/sub/x", -1, -1}, {Path, "a/b/c", "a/bb", -1, 1}, {Path, "d/aa/x", "d/b/y", -1, -1},
        {Path, "abc", "abc/d", -1, -1}, {Path, nullptr, "", -1, 0},
        {Path, "dir/sub", "DIR\\SUB\\x", 7, 0}, {Path, "dir/sub", "dir/subway", 7, -1}, {Path, "dir/subway", "dir/sub", 7, 1},
        {Path, "a/b/c", "a/bb", 4, 1}, {Path, "ab", "ab", 5, 0}, {Path, "", "x", 0, -1}, {Path, "", "/x", 0, 0},
    };
    for (auto& r : rows) {
        int got = r.kind == Plain ? cStr::Compare(r.a, r.b, r.n)
                : r.kind == NoCase ? cStr::CompareNoCase(r.a, r.b, r.n) : cStr::ComparePath(r.a, r.b, r.n);
        EXPECT_EQ(got, r.expected) << r.kind << ": " << (r.a ? r.a : "null") << " / " << r.b << " / " << r.n;
    }
    cStr blank(""), empty;
    EXPECT_TRUE(cStr::EqualsNoCase(&empty, &blank));
    cStr s("Hello hello HELLO");
    EXPECT_EQ(s.IndexOf("hello"), 0) << "case is ignored by default";
    EXPECT_EQ(s.IndexOf("HELLO", 0, -1, false), 12);
    EXPECT_EQ(s.IndexOf("hello", 1, 9), -1) << "the match must end inside the range";
    EXPECT_EQ(s.IndexOf("hello", 1, 10), 6);
    EXPECT_EQ(s.IndexOf("o", 0, 1 << 30), 4);
}

TEST(Str, EditingKnownAnswers) {
    cStr s;
    s.Copy("abcdef", 2, 3);
    EXPECT_STREQ(s, "cde");
    s.Copy("abc", -5, 2);
    s.Append("xyz", 1, 1);
    s.Append('-', 3);
    s.Append(cStr("0123456789"), 8, -1);
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_STREQ(s, "aby---89");
    s.Copy("held");
    s.Insert(2, "llo wor");
    s.Insert(0, '>', 2);
    s.Insert(100, "!");  // past the end: appended
    EXPECT_STREQ(s, ">>hello world!");
    s.Remove(0, 2);
    s.Remove(5);
    s.SetLength(8, '.');
    EXPECT_STREQ(s, "hello...");

    cStr chars("a/b/c/d");
    chars.Replace('/', '\\', 2, 3);
    EXPECT_STREQ(chars, "a/b\\c/d");
    chars.ReplaceAny("abc", '_', 0, 4);
    EXPECT_STREQ(chars, "_/_\\c/d");

    cList<cStr> items;
    for (const char* t : {"a", "bb", "", "ccc"}) items.Add(cStr(t));
    EXPECT_STREQ(cStr::Join("/", items, 1, 2), "bb/");
    EXPECT_STREQ(cStr::Join("/", items, 2, 0), "");
}

// Every editor may be handed a piece of the string's own text.
TEST(Str, OwnTextAsArgumentIsSafe) {
    cStr s("0123456789012345");
    char* buffer = s.GetBuffer();
    s.Copy(s.ToChar() + 4, 0, 6);
    EXPECT_STREQ(s, "456789");
    EXPECT_EQ(s.GetBuffer(), buffer) << "copying from inside moves in place";

    cStr t("abcdefghijklmnopq");  // the appends below move it to the pool
    t.Append(t);
    t.Append(t.ToChar() + 30);
    t.Insert(1, t.ToChar(), 0, 3);
    EXPECT_STREQ(t, "aabcbcdefghijklmnopqabcdefghijklmnopqnopq");
    const cStr& alias = t;
    t = alias;
    EXPECT_EQ(t.Length(), 41);
    t.Replace(t.ToChar() + 1, "X");
    EXPECT_STREQ(t, "aX");
}

// Occurrences count only when they lie wholly inside the range [start, start + count).
TEST(Str, ReplaceAgreesWithAPlainReferenceOnRandomText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 1000; round++) {
        std::string text, what, with;
        for (int i = 0, n = rng() % 60; i < n; i++) text += "abAB"[rng() % 4];
        for (int i = 0, m = 1 + rng() % 3; i < m; i++) what += "abAB"[rng() % 4];
        for (int i = 0, m = rng() % 5; i < m; i++) with += "xyz"[rng() % 3];
        bool noCase = rng() % 2, first = rng() % 2, done = false;
        int start = rng() % (text.size() + 1), count = rng() % 2 ? -1 : rng() % (text.size() + 1);
        size_t end = count < 0 ? text.size() : std::min(text.size(), size_t(start + count));
        std::string expected = text.substr(0, start);
        for (size_t i = start; i < text.size();) {
            bool hit = !done && i + what.size() <= end;
            for (size_t k = 0; hit && k < what.size(); k++)
                hit = noCase ? tolower(text[i + k]) == tolower(what[k]) : text[i + k] == what[k];
            if (hit) {
                expected += with;
                i += what.size();
                done = first;
            } else {
                expected += text[i++];
            }
        }
        cStr s(text.c_str());
        if (first) s.ReplaceFirst(what.c_str(), with.c_str(), start, count, noCase);
        else s.Replace(what.c_str(), with.c_str(), start, count, noCase);
        ASSERT_EQ(std::string(s.ToChar()), expected) << text << " / " << what << " / " << with << " / " << start << ", " << count;
        ASSERT_EQ(s.Length(), (int)expected.size());
    }
}

TEST(Str, FormattingCutsAt9998Characters) {
    std::string big(20000, 'x');
    cStr s = cStr::Format("%s", big.c_str());
    EXPECT_EQ(s.Length(), 9998);
    EXPECT_EQ(s.Capacity(), 10016);
    EXPECT_STREQ(cStr::Format("%05.1f|%-3s|%x", 3.14159, "a", 255), "003.1|a  |ff");
    cStr appended("n=");
    appended.AppendFormat("%d, %s", 42, "x");
    EXPECT_STREQ(appended, "n=42, x");

    float floats[] = {1.5f, -0.25f, 2.0f};
    EXPECT_STREQ(cStr::ToString(floats, 3, 2, " "), "1.50 -0.25 2.00");
}

TEST(Str, NumberParsingKnownAnswers) {
    struct { const char* text; bool ok; int value; } ints[] = {
        {" -12x", true, -12}, {"\t\t+7", true, 7}, {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", true, -2147483647 - 1}, {"4294967297", true, 1}, {"", false, 0}, {"x1", false, 0}, {"+", false, 0},
        {"- 1", false, 0}, {"\n1", false, 0}, {".5", false, 0}, {nullptr, false, 0}};
    for (auto& r : ints) {
        int v = 99;
        EXPECT_EQ(cStr::ToInt(r.text, &v), r.ok) << (r.text ? r.text : "null");
        EXPECT_EQ(v, r.value) << (r.text ? r.text : "null");
    }
    struct { const char* text; bool ok; float value; } floats[] = {
        {"1,5", true, 1.5f}, {"2e3", true, 2000}, {" -2.5d2", true, -250}, {"1.25D-2", true, 0.0125f}, {"3E+1", true, 30},
        {".5", true, 0.5f}, {"7.", true, 7}, {"+4x", true, 4}, {"2e", true, 2}, {"3.4e38", true, 3.4e38f},
        {"1e-125", true, 0}, {"0e128", true, 0}, {"1e200", false, 0}, {".", false, 0}, {",", false, 0}, {"", false, 0},
        {"e5", false, 0}, {"-", false, 0}, {"+.e1", false, 0}, {"3.5e39", false, 0}, {"1e-126", false, 0},
        {"1e129", false, 0}, {nullptr, false, 0}};
    for (auto& r : floats) {
        float v = 9;
        EXPECT_EQ(cStr::ToFloat(r.text, &v), r.ok) << (r.text ? r.text : "null");
        EXPECT_FLOAT_EQ(v, r.value) << (r.text ? r.text : "null");
    }
    float v;
    EXPECT_TRUE(cStr::ToFloat("-0", &v) && std::signbit(v));
    EXPECT_TRUE(cStr::ToFloat("1e-45", &v) && v > 0) << "the smallest denormal survives";
    EXPECT_FALSE(cStr::ToFloat(("0." + std::string(130, '0') + "1").c_str(), &v)) << "fraction digits count";
    for (float big : {FLT_MAX, -3e38f}) {
        EXPECT_TRUE(cStr::ToFloat(cStr::Format("%.3f", big), &v));
        EXPECT_EQ(big, v);
    }

    cList<int> list;
    EXPECT_FALSE(cStr::ToIntArray(" 1, 2;3\t-4 ,,x", &list));
    EXPECT_EQ(std::vector<int>(list.begin(), list.end()), (std::vector<int>{1, 2, 3, -4})) << "those before the bad one";
    cList<float> fl;
    EXPECT_TRUE(cStr::ToFloatArray(("1,5 2e2;-0.25\t" + std::string(100, '0') + "1.5").c_str(), &fl));
    EXPECT_EQ(std::vector<float>(fl.begin(), fl.end()), (std::vector<float>{1, 5, 200, -0.25f, 1.5f}));
    EXPECT_FALSE(cStr::ToFloatArray("1 1e200 3", &fl));
}

// strtof is the independent reference for every generated decimal text.
TEST(Str, ToFloatAgreesWithStrtof) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 20000; round++) {
        int intDigits = rng() % 8, fracDigits = rng() % 7;
        if (intDigits + fracDigits == 0) intDigits = 1;
        std::string text = (rng() % 3 == 0) ? "-" : "";
        for (int i = 0; i < intDigits; i++) text += char('0' + rng() % 10);
        if (fracDigits || rng() % 2) text += '.';
        for (int i = 0; i < fracDigits; i++) text += char('0' + rng() % 10);
        if (rng() % 2) text += "e" + std::to_string(int(rng() % 61) - 30);
        float reference = strtof(text.c_str(), nullptr);
        std::string ours = text;  // our other spellings: ',' for '.', 'd' or 'D' for 'e'
        if (rng() % 2) std::replace(ours.begin(), ours.end(), '.', ',');
        if (rng() % 2) std::replace(ours.begin(), ours.end(), 'e', "dD"[rng() % 2]);
        float value = -1;
        ASSERT_TRUE(cStr::ToFloat(ours.c_str(), &value)) << ours;
        if (reference == 0) ASSERT_EQ(value, 0.0f) << ours;
        else ASSERT_NEAR(value / reference, 1.0f, 2e-6f) << ours << " read as " << value << ", strtof " << reference;
    }
}

TEST(Str, SplitDropsEmptyItems) {
    struct { const char *text, *delimiters; std::vector<std::string> items; } rows[] = {
        {"a,,b", ",", {"a", "b"}}, {"a;b,c", ",;", {"a", "b", "c"}}, {",,lead;;and,trail;,", ",;", {"lead", "and", "trail"}},
        {"", ",", {}}, {nullptr, ",", {}}, {",;,", ",;", {}}, {"whole, text", nullptr, {"whole, text"}},
        {"whole, text", "", {"whole, text"}}};
    cList<cStr> out;
    for (auto& r : rows) {
        cStr::Split(r.text, &out, r.delimiters);
        EXPECT_EQ(Items(out), r.items) << (r.text ? r.text : "null");
    }
    cStr::Split("x y z", &out, " ");
    cStr::Split(out[1], &out, ",");  // the text may be one of the list's own strings
    EXPECT_EQ(Items(out), (std::vector<std::string>{"y"}));
}

namespace {

// One thread's share of the storm: strings of every size copied, grown,
// assigned and freed in random order, checked against std::string.
void StringStorm(int seed, int* failures) {
    std::mt19937 rng(seed);
    std::vector<cStr> live(64);
    std::vector<std::string> expected(64);
    for (int op = 0; op < 20000; op++) {
        int i = rng() % 64, n = rng() % 180;
        switch (rng() % 4) {
            case 0: expected[i] = std::string(n, char('a' + seed)); live[i].Copy(expected[i].c_str()); break;
            case 1: live[i].Append('x', n % 40 + 1); expected[i].append(n % 40 + 1, 'x'); break;
            case 2: live[i] = live[(i + 1) % 64]; expected[i] = expected[(i + 1) % 64]; break;
            default: live[i].Free(); expected[i].clear(); break;
        }
        if (expected[i] != live[i].ToChar()) (*failures)++;
    }
}

}  // namespace

TEST(Str, AllocatorsStayConsistentAcrossThreads) {
    int warm = 0;
    StringStorm(100, &warm);
    int poolUsed = cPool_Debug::UsedCount, shortUsed = ShortInUse();
    std::vector<int> failures(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; t++) threads.emplace_back(StringStorm, t, &failures[t]);
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures, std::vector<int>(8, 0));
    EXPECT_EQ(cPool_Debug::UsedCount, poolUsed);
    EXPECT_EQ(ShortInUse(), shortUsed);
}
