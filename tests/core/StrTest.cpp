// cStr: growth and capacities, comparison, editing, formatting, numbers,
// splitting, and the ownership of its two allocators across threads.
#include <cfloat>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// ---- Memory and growth ----

TEST(Str, EmptyStringsReadAsEmptyText) {
    cStr s;
    EXPECT_STREQ(s.ToChar(), "");
    EXPECT_EQ(s.ToChar(), cStr::def_str);
    EXPECT_EQ(s.Capacity(), 0);
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(cStr::Empty.Capacity(), 20);
    EXPECT_STREQ(cStr::Empty.ToChar(), "");
    EXPECT_NE(cStr::Empty.ToChar(), cStr::def_str);

    cStr fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(fromNull.Capacity(), 0);
    cStr copyOfEmpty(s);  // nothing to copy, nothing allocated
    EXPECT_EQ(copyOfEmpty.Capacity(), 0);
}

TEST(Str, AppendingOneCharacterAtATimeGrowsBy32) {
    cStr s;
    std::vector<int> seen;
    for (int i = 1; i <= 70; i++) {
        s.Append(char('a' + i % 26));
        if (seen.empty() || seen.back() != s.Capacity()) seen.push_back(s.Capacity());
        int expected = i <= 19 ? 20 : i <= 31 ? 32 : i <= 63 ? 64 : 96;
        EXPECT_EQ(s.Capacity(), expected) << "after character " << i;
    }
    EXPECT_EQ(seen, (std::vector<int>{20, 32, 64, 96}));
    EXPECT_EQ(s.Length(), 70);
    EXPECT_EQ((int)strlen(s.ToChar()), 70);
}

TEST(Str, CopyTakesTheSmallestFittingBuffer) {
    const std::string text(100, 'q');
    struct { int length, capacity; } cases[] = {{0, 20}, {1, 20}, {18, 20}, {19, 32}, {31, 32}, {32, 64}, {40, 64}, {100, 128}};
    for (auto c : cases) {
        cStr s;
        s.Copy(text.substr(0, c.length).c_str());
        EXPECT_EQ(s.Capacity(), c.capacity) << c.length << " characters";
        EXPECT_EQ(s.Length(), c.length);
    }
    // A buffer never shrinks: a short text copied into a long buffer stays there.
    cStr s(text.c_str());
    s.Copy("x");
    EXPECT_EQ(s.Capacity(), 128);
    EXPECT_STREQ(s.ToChar(), "x");
}

TEST(Str, ResizeAndFree) {
    cStr s;
    s.Resize(5, true);
    EXPECT_EQ(s.Capacity(), 20);
    EXPECT_STREQ(s.ToChar(), "");
    s.Copy("hello");
    s.Resize(33, true);
    EXPECT_EQ(s.Capacity(), 64);
    EXPECT_STREQ(s.ToChar(), "hello");
    EXPECT_EQ(s.Length(), 5);
    s.Resize(10, true);  // a buffer exists: always a pool buffer, even when small
    EXPECT_EQ(s.Capacity(), 32);
    EXPECT_STREQ(s.ToChar(), "hello");
    s.Resize(40, false);
    EXPECT_EQ(s.Capacity(), 64);
    EXPECT_STREQ(s.ToChar(), "");
    EXPECT_EQ(s.Length(), 0);

    cStr longText(std::string(50, 'z').c_str());
    longText.Resize(20, true);  // the kept text is cut to fit
    EXPECT_EQ(longText.Capacity(), 32);
    EXPECT_EQ(longText.Length(), 31);
    EXPECT_EQ(std::string(longText.ToChar()), std::string(31, 'z'));

    longText.Free();
    EXPECT_EQ(longText.Capacity(), 0);
    EXPECT_EQ(longText.Length(), 0);
    EXPECT_EQ(longText.GetBuffer(), nullptr);
    longText.Append("again");
    EXPECT_STREQ(longText.ToChar(), "again");
}

TEST(Str, ClearKeepsTheBuffer) {
    cStr s("some text that is long");
    int capacity = s.Capacity();
    s.Clear();
    EXPECT_STREQ(s.ToChar(), "");
    EXPECT_EQ(s.Capacity(), capacity);
    s.Copy(static_cast<const char*>(nullptr));  // null empties, buffer kept
    EXPECT_EQ(s.Capacity(), capacity);
}

TEST(Str, ShortBuffersAreReusedLastInFirstOut) {
    cStr a("first");
    char* buffer = a.GetBuffer();
    a.Free();
    cStr b("second");
    EXPECT_EQ(b.GetBuffer(), buffer);
    EXPECT_EQ(buffer[0], 's');
}

TEST(Str, AFreshSlabHandsOutItsHighestBufferFirst) {
    std::vector<char*> drained;
    for (int n = cStr::FreeShortCount(); n > 0; n--) drained.push_back(cStr::getstr());
    int slabs = cStr::ShortSlabCount();
    std::vector<char*> fresh;
    for (int i = 0; i < 256; i++) fresh.push_back(cStr::getstr());
    EXPECT_EQ(cStr::ShortSlabCount(), slabs + 1) << "one slab of 256 buffers";
    EXPECT_EQ(cStr::FreeShortCount(), 0);
    for (int i = 0; i < 256; i++) {
        ASSERT_EQ(fresh[i][0], 31) << "marked while on the free list";
        if (i > 0) {
            ASSERT_EQ(fresh[i], fresh[i - 1] - 20);
        }
    }
    for (char* p : fresh) cStr::freestr(p);
    for (char* p : drained) cStr::freestr(p);
    EXPECT_EQ(cStr::ShortSlabCount(), slabs + 1) << "slabs are never freed";
}

TEST(Str, FreedShortBufferCarriesTheMark) {
    char* p = cStr::getstr();
    p[0] = 'x';
    cStr::freestr(p);
    EXPECT_EQ(p[0], 31);
    char* again = cStr::getstr();
    EXPECT_EQ(again, p);
    cStr::freestr(again);
}

#if defined(__SANITIZE_ADDRESS__)
// Buffers waiting on the allocators' free lists are poisoned, so a string
// read after it was freed is caught like a heap block would be.
TEST(StrDeathTest, ReadingAFreedBufferIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto readAfterFree = [](int length) {
        cStr s(std::string(length, 'r').c_str());
        volatile const char* p = s.ToChar();
        s.Free();
        return p[length - 1];
    };
    EXPECT_DEATH(readAfterFree(10), "use-after-poison");  // a short buffer
    EXPECT_DEATH(readAfterFree(60), "use-after-poison");  // a pool block
}
#endif

// ---- Comparison ----

TEST(Str, CompareIsBytewiseWithSignedCharacters) {
    EXPECT_EQ(cStr::Compare(nullptr, ""), 0);
    EXPECT_EQ(cStr::Compare("", nullptr), 0);
    EXPECT_NE(cStr::Compare("x", ""), 0);  // how callers test for text
    EXPECT_EQ(cStr::Compare("a", "b"), -1);
    EXPECT_EQ(cStr::Compare("b", "a"), 1);
    EXPECT_EQ(cStr::Compare("ab", "ac", 1), 0);
    EXPECT_EQ(cStr::Compare("ab", "ac", 2), -1);
    EXPECT_EQ(cStr::Compare("ab", "abc"), -1);
    EXPECT_EQ(cStr::Compare("abc", "ab"), 1);
    EXPECT_EQ(cStr::Compare("abc", "abd", 0), 0);
    EXPECT_EQ(cStr::Compare("same", "same"), 0);
    EXPECT_EQ(cStr::Compare("a", "A"), 1);
    EXPECT_EQ(cStr::Compare("\xe9", "e"), -1) << "bytes above 127 are negative";
    EXPECT_EQ(cStr::Compare("abc", "abc", 10), 0) << "a limit past both ends";
}

TEST(Str, CompareNoCaseFoldsAsciiLettersOnly) {
    EXPECT_EQ(cStr::CompareNoCase("ABC", "abc"), 0);
    EXPECT_EQ(cStr::CompareNoCase("abc", "ABD"), -1);
    EXPECT_EQ(cStr::CompareNoCase("Zeta", "alpha"), 1);
    EXPECT_EQ(cStr::CompareNoCase("ABx", "aby", 2), 0);
    EXPECT_EQ(cStr::CompareNoCase("[", "{"), -1) << "no folding outside the letters";
    EXPECT_NE(cStr::CompareNoCase("\xc9", "\xe9"), 0) << "no folding above 127";
    EXPECT_EQ(cStr::CompareNoCase("_", "a"), -1) << "folded to lower case before comparing";
    cStr a("Hello"), b("hELLO"), c("help"), empty;
    EXPECT_TRUE(cStr::EqualsNoCase(&a, &b));
    EXPECT_FALSE(cStr::EqualsNoCase(&a, &c));
    cStr blank("");
    EXPECT_TRUE(cStr::EqualsNoCase(&empty, &blank));
}

TEST(Str, ComparePathFoldsCaseAndSeparators) {
    EXPECT_EQ(cStr::ComparePath("a/B", "A\\b"), 0);
    EXPECT_EQ(cStr::ComparePath("dir/file", "dir/sub/x"), -1) << "a file before the subfolders";
    EXPECT_EQ(cStr::ComparePath("dir/sub/x", "dir/file"), 1);
    EXPECT_EQ(cStr::ComparePath("dir/zzz", "dir/sub/x"), -1);
    EXPECT_EQ(cStr::ComparePath("a/b/c", "a/bb"), 1);
    EXPECT_EQ(cStr::ComparePath("d/aa/x", "d/b/y"), -1);
    EXPECT_EQ(cStr::ComparePath("x/b", "x/a"), 1);
    EXPECT_EQ(cStr::ComparePath("abc", "abcd"), -1);
    EXPECT_EQ(cStr::ComparePath("abc", "abc/d"), -1);
    EXPECT_EQ(cStr::ComparePath(nullptr, ""), 0);

    // Sorting with it lists each folder's files before its subfolders.
    std::vector<std::string> paths = {"b/z/1", "a", "b/y", "B/A/2", "c", "b/x"};
    std::sort(paths.begin(), paths.end(), [](const std::string& x, const std::string& y) {
        return cStr::ComparePath(x.c_str(), y.c_str()) < 0;
    });
    EXPECT_EQ(paths, (std::vector<std::string>{"a", "c", "b/x", "b/y", "B/A/2", "b/z/1"}));
}

TEST(Str, ComparePathWithALimitTestsWholeComponents) {
    EXPECT_EQ(cStr::ComparePath("dir/sub", "dir/sub/x", 7), 0) << "b goes on with a separator";
    EXPECT_EQ(cStr::ComparePath("dir/sub", "dir/sub", 7), 0);
    EXPECT_EQ(cStr::ComparePath("dir/sub", "DIR\\SUB\\x", 7), 0);
    EXPECT_EQ(cStr::ComparePath("dir/sub", "dir/subway", 7), -1) << "b goes on inside the component";
    EXPECT_EQ(cStr::ComparePath("dir/subway", "dir/sub", 7), 1);
    EXPECT_EQ(cStr::ComparePath("dir/sub/", "dir/subway", 7), -1);
    EXPECT_EQ(cStr::ComparePath("a/b/c", "a/bb", 4), 1) << "a difference inside the limit";
    EXPECT_EQ(cStr::ComparePath("ab", "ab", 5), 0) << "both end inside the limit";
    EXPECT_EQ(cStr::ComparePath("", "x", 0), -1);
    EXPECT_EQ(cStr::ComparePath("", "/x", 0), 0);
}

TEST(Str, IndexOfSearchesARange) {
    cStr s("Hello hello HELLO");
    EXPECT_EQ(s.IndexOf("hello"), 0) << "case is ignored by default";
    EXPECT_EQ(s.IndexOf("hello", 0, -1, false), 6);
    EXPECT_EQ(s.IndexOf("HELLO", 0, -1, false), 12);
    EXPECT_EQ(s.IndexOf("hello", 1), 6);
    EXPECT_EQ(s.IndexOf("hello", 1, 9), -1) << "the match must end inside the range";
    EXPECT_EQ(s.IndexOf("hello", 1, 10), 6);
    EXPECT_EQ(s.IndexOf("hello", 0, 0), -1);
    EXPECT_EQ(s.IndexOf(""), -1);
    EXPECT_EQ(s.IndexOf(nullptr), -1);
    EXPECT_EQ(s.IndexOf("x", 100), -1);
    EXPECT_EQ(s.IndexOf("o", 0, 1 << 30), 4) << "a huge count reaches the end";
    EXPECT_EQ(cStr().IndexOf("a"), -1);
}

// ---- Editing ----

TEST(Str, CopyAndAppendTakePartsOfTheirArgument) {
    cStr s;
    s.Copy("abcdef", 2, 3);
    EXPECT_STREQ(s.ToChar(), "cde");
    s.Copy("abcdef", 4, 100);
    EXPECT_STREQ(s.ToChar(), "ef");
    s.Copy("abc", 10, 2);
    EXPECT_STREQ(s.ToChar(), "");
    s.Copy("abc", -5, 2);
    EXPECT_STREQ(s.ToChar(), "ab");
    s.Append("xyz", 1, 1);
    EXPECT_STREQ(s.ToChar(), "aby");
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_STREQ(s.ToChar(), "aby");
    s.Append('-', 3);
    EXPECT_STREQ(s.ToChar(), "aby---");
    s.Append('!', 0);
    s.Append(cStr("0123456789"), 8, -1);
    EXPECT_STREQ(s.ToChar(), "aby---89");
    s += "+";
    s += cStr("c");
    s += 'd';
    EXPECT_STREQ(s.ToChar(), "aby---89+cd");
    EXPECT_EQ(s.Length(), 11);
}

TEST(Str, OwnTextAsArgumentIsSafe) {
    cStr s("0123456789012345");  // 16 characters in a short buffer
    char* buffer = s.GetBuffer();
    s.Copy(s.ToChar() + 4, 0, 6);
    EXPECT_STREQ(s.ToChar(), "456789");
    EXPECT_EQ(s.GetBuffer(), buffer) << "copying from inside moves in place";

    cStr t("abcdefghijklmnopq");  // 17: the appends below move it to the pool
    t.Append(t);
    EXPECT_STREQ(t.ToChar(), "abcdefghijklmnopqabcdefghijklmnopq");
    t.Append(t.ToChar() + 30);
    EXPECT_STREQ(t.ToChar(), "abcdefghijklmnopqabcdefghijklmnopqnopq");
    t.Insert(1, t.ToChar(), 0, 3);
    EXPECT_STREQ(t.ToChar(), "aabcbcdefghijklmnopqabcdefghijklmnopqnopq");
    t.Copy(t);
    EXPECT_EQ(t.Length(), 41);
    const cStr& alias = t;
    t = alias;
    EXPECT_EQ(t.Length(), 41);
    t.Replace(t.ToChar() + 1, "X");  // the pattern is our own text from 1 on
    EXPECT_STREQ(t.ToChar(), "aX");
}

TEST(Str, InsertRemoveAndSetLength) {
    cStr s("held");
    s.Insert(2, "llo wor");
    EXPECT_STREQ(s.ToChar(), "hello world");
    s.Insert(0, '>', 2);
    s.Insert(100, "!");  // past the end: appended
    EXPECT_STREQ(s.ToChar(), ">>hello world!");
    s.Insert(-3, cStr("[]"), 1, 1);
    EXPECT_STREQ(s.ToChar(), "]>>hello world!");
    s.Remove(0, 3);
    EXPECT_STREQ(s.ToChar(), "hello world!");
    s.Remove(5);
    EXPECT_STREQ(s.ToChar(), "hello");
    s.Remove(10, 2);
    s.Remove(1, 0);
    EXPECT_STREQ(s.ToChar(), "hello");
    s.SetLength(8, '.');
    EXPECT_STREQ(s.ToChar(), "hello...");
    s.SetLength(2);
    EXPECT_STREQ(s.ToChar(), "he");
    EXPECT_EQ(s.Length(), 2);
    s.SetLength(-1);
    EXPECT_STREQ(s.ToChar(), "");

    cStr empty;
    empty.Remove(0, 5);
    empty.SetLength(0);
    EXPECT_EQ(empty.Capacity(), 0);
}

TEST(Str, ReplaceCharactersInARange) {
    cStr s("a/b/c/d");
    s.Replace('/', '\\', 2, 3);
    EXPECT_STREQ(s.ToChar(), "a/b\\c/d");
    s.SlashesToBackSlashes();
    EXPECT_STREQ(s.ToChar(), "a\\b\\c\\d");
    s.BackSlashesToSlashes();
    EXPECT_STREQ(s.ToChar(), "a/b/c/d");
    s.ReplaceAny("abc", '_', 0, 4);
    EXPECT_STREQ(s.ToChar(), "_/_/c/d");
    s.ReplaceAny("", '#');
    s.ReplaceAny(nullptr, '#');
    EXPECT_STREQ(s.ToChar(), "_/_/c/d");
}

TEST(Str, ReplaceTextWithAndWithoutCase) {
    cStr s("The cat sat on the Cat mat");
    s.Replace("cat", "dog");
    EXPECT_STREQ(s.ToChar(), "The dog sat on the Cat mat");
    s.Replace("CAT", "bird", 0, -1, true);
    EXPECT_STREQ(s.ToChar(), "The dog sat on the bird mat");
    s.Replace("THE ", "", 0, -1, true);
    EXPECT_STREQ(s.ToChar(), "dog sat on bird mat");
    s.ReplaceFirst("a", "A");
    EXPECT_STREQ(s.ToChar(), "dog sAt on bird mat");
    s.ReplaceFirst("A", "aa", 0, -1, false);
    EXPECT_STREQ(s.ToChar(), "dog saat on bird mat");
    s.Replace("a", "o", 12);  // only from position 12 on
    EXPECT_STREQ(s.ToChar(), "dog saat on bird mot");
    s.Replace("o", "0", 0, 3);  // a range of three characters
    EXPECT_STREQ(s.ToChar(), "d0g saat on bird mot");
    s.Replace("", "x");
    s.Replace(nullptr, "x");
    EXPECT_STREQ(s.ToChar(), "d0g saat on bird mot");
    s.Replace("bird", nullptr);
    EXPECT_STREQ(s.ToChar(), "d0g saat on  mot");

    cStr overlaps("aaaa");
    overlaps.Replace("aa", "b");
    EXPECT_STREQ(overlaps.ToChar(), "bb") << "occurrences do not overlap";
    cStr grows("x.x.x");
    grows.Replace(".", "<->");
    EXPECT_STREQ(grows.ToChar(), "x<->x<->x");
    EXPECT_EQ(grows.Length(), 9);
    cStr edge("abab");
    edge.Replace("ab", "xyz", 0, 3);  // the second "ab" does not end inside the range
    EXPECT_STREQ(edge.ToChar(), "xyzab");
}

TEST(Str, ReplaceAgreesWithAPlainReferenceOnRandomText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 500; round++) {
        std::string text, what, with;
        int n = rng() % 60;
        for (int i = 0; i < n; i++) text += "abAB"[rng() % 4];
        for (int i = 0, m = 1 + rng() % 3; i < m; i++) what += "abAB"[rng() % 4];
        for (int i = 0, m = rng() % 5; i < m; i++) with += "xyz"[rng() % 3];
        bool noCase = rng() % 2, first = rng() % 2;

        std::string expected;
        bool done = false;
        for (size_t i = 0; i < text.size();) {
            bool hit = !done && i + what.size() <= text.size();
            for (size_t k = 0; hit && k < what.size(); k++) {
                char a = text[i + k], b = what[k];
                hit = noCase ? tolower(a) == tolower(b) : a == b;
            }
            if (hit) {
                expected += with;
                i += what.size();
                done = first;
            } else {
                expected += text[i++];
            }
        }
        cStr s(text.c_str());
        if (first)
            s.ReplaceFirst(what.c_str(), with.c_str(), 0, -1, noCase);
        else
            s.Replace(what.c_str(), with.c_str(), 0, -1, noCase);
        ASSERT_EQ(std::string(s.ToChar()), expected) << text << " / " << what << " / " << with;
        ASSERT_EQ(s.Length(), (int)expected.size());
    }
}

TEST(Str, TrimCaseJoinAndConcatenation) {
    cStr s("  \t value \t ");
    s.TrimStart(" \t");
    EXPECT_STREQ(s.ToChar(), "value \t ");
    s.TrimEnd(" \t");
    EXPECT_STREQ(s.ToChar(), "value");
    cStr blanks("   ");
    blanks.TrimEnd(" ");
    EXPECT_STREQ(blanks.ToChar(), "");
    cStr empty;
    empty.TrimStart(" ");
    EXPECT_EQ(empty.Capacity(), 0);

    EXPECT_STREQ(cStr("MiXed 1 \xe9").ToUpper().ToChar(), "MIXED 1 \xe9");
    EXPECT_STREQ(cStr("MiXed").ToLower().ToChar(), "mixed");

    cList<cStr> items;
    for (const char* t : {"a", "bb", "", "ccc"}) items.Add(cStr(t));
    EXPECT_STREQ(cStr::Join(", ", items).ToChar(), "a, bb, , ccc");
    EXPECT_STREQ(cStr::Join("/", items, 1, 2).ToChar(), "bb/");
    EXPECT_STREQ(cStr::Join("/", items, 3, 10).ToChar(), "ccc");
    EXPECT_STREQ(cStr::Join("/", items, 2, 0).ToChar(), "");
    EXPECT_STREQ(cStr::Join("/", items, -2, 2).ToChar(), "a/bb");
    EXPECT_STREQ(cStr::Join(nullptr, items).ToChar(), "abbccc");
    EXPECT_STREQ(cStr::Join("/", cList<cStr>()).ToChar(), "");

    cStr joined = cStr("left-") + cStr("right");
    EXPECT_STREQ(joined.ToChar(), "left-right");
    EXPECT_EQ(joined.Capacity(), 20);
    EXPECT_EQ((cStr() + cStr()).Capacity(), 0);
}

// ---- Formatting ----

TEST(Str, FormatCutsAt9998Characters) {
    std::string big(20000, 'x');
    cStr s = cStr::Format("%s", big.c_str());
    EXPECT_EQ(s.Length(), 9998);
    EXPECT_EQ((int)strlen(s.ToChar()), 9998);
    EXPECT_EQ(s.Capacity(), 10016);  // 9999 rounded up to 32

    cStr exact = cStr::Format("%s", big.substr(0, 9998).c_str());
    EXPECT_EQ(exact.Length(), 9998);

    EXPECT_EQ(cStr::Format("%d", 5).Capacity(), 20);
    EXPECT_EQ(cStr::Format("%s", "123456789012345678").Capacity(), 20);
    EXPECT_EQ(cStr::Format("%s", "1234567890123456789").Capacity(), 32);
    EXPECT_EQ(cStr::Format("%s", std::string(31, 'a').c_str()).Capacity(), 32);
    EXPECT_EQ(cStr::Format("%s", std::string(32, 'a').c_str()).Capacity(), 64);
    EXPECT_STREQ(cStr::Format("%05.1f|%-3s|%x", 3.14159, "a", 255).ToChar(), "003.1|a  |ff");

    cStr appended("n=");
    appended.AppendFormat("%d, %s", 42, "x");
    EXPECT_STREQ(appended.ToChar(), "n=42, x");
    appended.AppendFormat("%s", big.c_str());
    EXPECT_EQ(appended.Length(), 7 + 9998);
}

TEST(Str, NumbersToText) {
    int ints[] = {1, -2, 300};
    EXPECT_STREQ(cStr::ToString(ints, 3, ", ").ToChar(), "1, -2, 300");
    EXPECT_STREQ(cStr::ToString(ints, 0, ", ").ToChar(), "");
    float floats[] = {1.5f, -0.25f, 2.0f};
    EXPECT_STREQ(cStr::ToString(floats, 3, 2, " ").ToChar(), "1.50 -0.25 2.00");
    EXPECT_STREQ(cStr::ToString(floats, 2, 0, ";").ToChar(), "2;-0");
    double doubles[] = {3.14159265358979, 1e10};
    EXPECT_STREQ(cStr::ToString(doubles, 2, 6, ",").ToChar(), "3.141593,10000000000.000000");
    EXPECT_STREQ(cStr::ToString(doubles, 1, -4, ",").ToChar(), "3") << "a negative precision means none";
}

// ---- Number parsing ----

TEST(Str, ToIntReadsLeadingDigits) {
    int v = 99;
    EXPECT_TRUE(cStr::ToInt(" -12x", &v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(cStr::ToInt("\t\t+7", &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(cStr::ToInt("0012", &v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(cStr::ToInt("2147483647", &v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(cStr::ToInt("-2147483648", &v));
    EXPECT_EQ(v, -2147483647 - 1);
    EXPECT_TRUE(cStr::ToInt("2147483648", &v));
    EXPECT_EQ(v, -2147483647 - 1) << "32-bit arithmetic wraps";
    EXPECT_TRUE(cStr::ToInt("4294967297", &v));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(cStr::ToInt("99999999999999999999999", &v));  // wraps, never traps

    for (const char* bad : {"", "   ", "x1", "+", "- 1", "\n1", ".5", "--1"}) {
        v = 99;
        EXPECT_FALSE(cStr::ToInt(bad, &v)) << bad;
        EXPECT_EQ(v, 0) << "the output is zeroed first";
    }
    EXPECT_FALSE(cStr::ToInt(nullptr, &v));
    EXPECT_TRUE(cStr::ToInt("5", nullptr));
}

TEST(Str, ToFloatAtItsEdges) {
    float v = 9;
    EXPECT_TRUE(cStr::ToFloat("1,5", &v));
    EXPECT_EQ(v, 1.5f);
    EXPECT_TRUE(cStr::ToFloat("2e3", &v));
    EXPECT_EQ(v, 2000.0f);
    EXPECT_TRUE(cStr::ToFloat(" -2.5d2", &v));
    EXPECT_EQ(v, -250.0f);
    EXPECT_TRUE(cStr::ToFloat("1.25D-2", &v));
    EXPECT_FLOAT_EQ(v, 0.0125f);
    EXPECT_TRUE(cStr::ToFloat("3E+1", &v));
    EXPECT_EQ(v, 30.0f);
    EXPECT_TRUE(cStr::ToFloat(".5", &v));
    EXPECT_EQ(v, 0.5f);
    EXPECT_TRUE(cStr::ToFloat("7.", &v));
    EXPECT_EQ(v, 7.0f);
    EXPECT_TRUE(cStr::ToFloat("+4x", &v));
    EXPECT_EQ(v, 4.0f);
    EXPECT_TRUE(cStr::ToFloat("2e", &v));
    EXPECT_EQ(v, 2.0f) << "an exponent without digits is 0";
    EXPECT_TRUE(cStr::ToFloat("-0", &v));
    EXPECT_TRUE(std::signbit(v));
    EXPECT_TRUE(cStr::ToFloat("3.4e38", &v));
    EXPECT_FLOAT_EQ(v, 3.4e38f);
    EXPECT_TRUE(cStr::ToFloat("1e-45", &v));
    EXPECT_GT(v, 0.0f) << "the smallest denormal survives";
    EXPECT_TRUE(cStr::ToFloat("1e-125", &v));
    EXPECT_EQ(v, 0.0f);
    EXPECT_TRUE(cStr::ToFloat("0e128", &v));

    for (const char* bad : {"1e200", ".", ",", "", " ", "e5", "-", "+.e1", "3.5e39", "1e-126", "1e129",
                            "100000000000000000000000000000000000000000000000000"}) {
        v = 9;
        EXPECT_FALSE(cStr::ToFloat(bad, &v)) << bad;
        EXPECT_EQ(v, 0.0f) << bad;
    }
    // The exponent counts fraction digits: 0.000...1 with 130 zeros is out of range.
    EXPECT_FALSE(cStr::ToFloat(("0." + std::string(130, '0') + "1").c_str(), &v));
    EXPECT_TRUE(cStr::ToFloat(("1" + std::string(30, '0') + "e-20").c_str(), &v));
    EXPECT_NEAR(v / 1e10f, 1.0f, 1e-5f);
    EXPECT_FALSE(cStr::ToFloat(nullptr, &v));
    // The long digit runs of "%.3f" texts of the largest floats read back.
    for (float big : {FLT_MAX, -3e38f, 1e30f}) {
        cStr text = cStr::Format("%.3f", big);
        EXPECT_TRUE(cStr::ToFloat(text, &v)) << text.ToChar();
        EXPECT_EQ(big, v) << text.ToChar();
    }
}

// strtof is the independent reference: every generated decimal text must read
// within a few float rounding steps of it.
TEST(Str, ToFloatAgreesWithStrtof) {
    std::mt19937 rng(1234);
    int checked = 0;
    for (int round = 0; round < 20000; round++) {
        std::string digits;
        int intDigits = rng() % 8, fracDigits = rng() % 7;
        if (intDigits + fracDigits == 0) intDigits = 1;
        std::string text = (rng() % 3 == 0) ? "-" : "";
        for (int i = 0; i < intDigits; i++) text += char('0' + rng() % 10);
        if (fracDigits || rng() % 2) text += '.';
        for (int i = 0; i < fracDigits; i++) text += char('0' + rng() % 10);
        int exponent = (rng() % 2) ? int(rng() % 61) - 30 : 0;
        if (exponent) text += "e" + std::to_string(exponent);

        float reference = strtof(text.c_str(), nullptr);
        // Our spellings of the same number: ',' for '.', 'd' or 'D' for 'e'.
        std::string ours = text;
        if (rng() % 2) std::replace(ours.begin(), ours.end(), '.', ',');
        if (rng() % 2) std::replace(ours.begin(), ours.end(), 'e', "dD"[rng() % 2]);
        float value = -1;
        ASSERT_TRUE(cStr::ToFloat(ours.c_str(), &value)) << ours;
        if (reference == 0) {
            ASSERT_EQ(value, 0.0f) << ours;
        } else {
            ASSERT_NEAR(value / reference, 1.0f, 2e-6f) << ours << " read as " << value << ", strtof " << reference;
        }
        checked++;
    }
    EXPECT_EQ(checked, 20000);
}

TEST(Str, NumberListsSplitAtBlanksCommasSemicolonsAndTabs) {
    cList<int> ints;
    EXPECT_TRUE(cStr::ToIntArray(" 1, 2;3\t-4 ,,5 ", &ints));
    ASSERT_EQ(ints.Count(), 5);
    EXPECT_EQ(ints[0], 1);
    EXPECT_EQ(ints[3], -4);
    EXPECT_EQ(ints[4], 5);
    EXPECT_TRUE(cStr::ToIntArray("", &ints));
    EXPECT_EQ(ints.Count(), 0);
    EXPECT_TRUE(cStr::ToIntArray(nullptr, &ints));
    EXPECT_FALSE(cStr::ToIntArray("1 2 x 4", &ints));
    EXPECT_EQ(ints.Count(), 2) << "the numbers before the bad one stay";
    EXPECT_TRUE(cStr::ToIntArray("7abc 8", &ints)) << "an item only has to start with a number";
    EXPECT_EQ(ints.Count(), 2);

    cList<float> floats;
    EXPECT_TRUE(cStr::ToFloatArray("1.5 2e2;-0.25\t4", &floats));
    ASSERT_EQ(floats.Count(), 4);
    EXPECT_EQ(floats[0], 1.5f);
    EXPECT_EQ(floats[1], 200.0f);
    EXPECT_EQ(floats[2], -0.25f);
    EXPECT_TRUE(cStr::ToFloatArray("1,5", &floats));
    EXPECT_EQ(floats.Count(), 2) << "a comma separates items in a list";
    EXPECT_FALSE(cStr::ToFloatArray("1 1e200 3", &floats));
    EXPECT_EQ(floats.Count(), 1);
    std::string longItem = std::string(100, '0') + "1.5";  // longer than any stack scratch
    EXPECT_TRUE(cStr::ToFloatArray(("2 " + longItem).c_str(), &floats));
    ASSERT_EQ(floats.Count(), 2);
    EXPECT_EQ(floats[1], 1.5f);
}

// ---- Splitting ----

TEST(Str, SplitDropsEmptyItems) {
    cList<cStr> out;
    cStr::Split("a,,b", &out, ",");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"a", "b"}));
    cStr::Split("a;b,c", &out, ",;");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"a", "b", "c"}));
    cStr::Split(",,lead;;and,trail;,", &out, ",;");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"lead", "and", "trail"}));
    cStr::Split("", &out, ",");
    EXPECT_EQ(out.Count(), 0);
    cStr::Split(nullptr, &out, ",");
    EXPECT_EQ(out.Count(), 0);
    cStr::Split(",;,", &out, ",;");
    EXPECT_EQ(out.Count(), 0);
    cStr::Split("whole, text", &out, nullptr);
    EXPECT_EQ(Items(out), (std::vector<std::string>{"whole, text"}));
    cStr::Split("whole, text", &out, "");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"whole, text"}));
    cStr::Split("no delimiter here", &out, "|");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"no delimiter here"}));

    // The text may be one of the list's own strings.
    cStr::Split("x y z", &out, " ");
    cStr::Split(out[1], &out, ",");
    EXPECT_EQ(Items(out), (std::vector<std::string>{"y"}));
}

// ---- Ownership ----

namespace {

// Grows a list of strings of every size class, shrinks it, copies it, frees it.
void ChurnStringList(int seed) {
    std::mt19937 rng(seed);
    cList<cStr> list;
    for (int i = 0; i < 300; i++) {
        int n = rng() % 200;
        cStr s;
        s.Append('a' + i % 26, n);
        list.Add(s);
        if (i % 7 == 0) list.Add(list[rng() % list.Count()]);  // an element of the same list
    }
    list.SetCount(100);
    cList<cStr> copy(list);
    copy[3].Append("longer now, into the pool with the rest of it");
    list.Resize(50, false);
    list.Insert(10, copy[3], 4);
    list.RemoveAt(0, 20);
    list.Free();
}

}  // namespace

TEST(Str, StringListsGiveBackEverythingTheyTake) {
    ChurnStringList(1);  // warm up: the allocators' own free lists may grow once
    int containers = cList_Debug::ContainersCount;
    int poolUsed = cPool_Debug::UsedCount;
    int shortUsed = ShortInUse();
    for (int seed = 1; seed <= 5; seed++) ChurnStringList(seed);
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
    EXPECT_EQ(cPool_Debug::UsedCount, poolUsed);
    EXPECT_EQ(ShortInUse(), shortUsed);
}

namespace {

// One thread's share of the allocation storm: short, pool and heap strings,
// copied, grown, swapped and freed in a random order, checked as it goes.
void StringStorm(int seed, int* failures) {
    std::mt19937 rng(seed);
    std::vector<cStr> live(64);
    std::vector<std::string> expected(64);
    for (int op = 0; op < 20000; op++) {
        int i = rng() % 64;
        switch (rng() % 4) {
            case 0: {
                std::string text(rng() % 180, char('a' + seed));
                live[i].Copy(text.c_str());
                expected[i] = text;
                break;
            }
            case 1: {
                int n = 1 + rng() % 40;
                live[i].Append('x', n);
                expected[i].append(n, 'x');
                break;
            }
            case 2:
                live[i] = live[(i + 1) % 64];
                expected[i] = expected[(i + 1) % 64];
                break;
            default:
                live[i].Free();
                expected[i].clear();
                break;
        }
        if (expected[i] != live[i].ToChar()) (*failures)++;
    }
}

}  // namespace

TEST(Str, AllocatorsStayConsistentAcrossThreads) {
    int warm = 0;
    StringStorm(100, &warm);
    int poolUsed = cPool_Debug::UsedCount;
    int shortUsed = ShortInUse();

    const int threadCount = 8;
    std::vector<int> failures(threadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; t++) threads.emplace_back(StringStorm, t, &failures[t]);
    for (auto& t : threads) t.join();

    for (int t = 0; t < threadCount; t++) EXPECT_EQ(failures[t], 0) << "thread " << t;
    EXPECT_EQ(cPool_Debug::UsedCount, poolUsed);
    EXPECT_EQ(ShortInUse(), shortUsed);
}
