// cHash (the chained integer index) and cStrHash (the sorted name table).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "zozud/core/Hash.h"
#include "zozud/core/StrHash.h"
#include "zozud/math/Vec3.h"

using namespace zozud;

namespace {

// The positions chained under a key, in chain order.
std::vector<int> Chain(const cHash& hash, int key) {
    std::vector<int> out;
    for (int i = hash.First(key); i != -1 && out.size() < 10000; i = hash.Next(i)) out.push_back(i);
    return out;
}

}  // namespace

// ---- cHash ----

TEST(Hash, AnInitialisedIndexFindsNothingWithoutArrays) {
    cHash hash(64, 100);
    EXPECT_FALSE(hash.IsAllocated());
    EXPECT_EQ(hash.BucketCount(), 64);
    EXPECT_EQ(hash.ChainSize(), 100);
    for (int key : {0, 1, 63, 64, -1, 123456789, -2147483647 - 1}) EXPECT_EQ(hash.First(key), -1) << key;
    for (int index : {0, 5, 99, 5000}) EXPECT_EQ(hash.Next(index), -1) << "every lookup reads the shared -1";
    EXPECT_EQ(cHash::INVALID_INDEX, -1);
    EXPECT_EQ(hash.CalcSpread(), 100);

    hash.ResizeIndex(1500);  // only recorded while nothing is allocated
    EXPECT_FALSE(hash.IsAllocated());
    EXPECT_EQ(hash.ChainSize(), 2048);
}

TEST(Hash, AddRemoveAndLookUp) {
    cHash hash(16, 8);
    hash.Add(3, 0);
    hash.Add(19, 1);  // same bucket as 3
    hash.Add(3, 2);
    hash.Add(4, 3);
    EXPECT_TRUE(hash.IsAllocated());
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{2, 1, 0})) << "the latest position heads its bucket";
    EXPECT_EQ(Chain(hash, 4), (std::vector<int>{3}));
    EXPECT_EQ(Chain(hash, 5), std::vector<int>{});

    hash.Remove(3, 1);  // from the middle
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{2, 0}));
    hash.Remove(3, 2);  // the head
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{0}));
    hash.Remove(5, 3);  // the wrong key: nothing happens to 3's real chain
    EXPECT_EQ(Chain(hash, 4), (std::vector<int>{3}));
    hash.Remove(3, 77);
    hash.Remove(3, -1);

    hash.Add(7, 20);  // beyond the chain: it grows in steps of 1024
    EXPECT_EQ(hash.ChainSize(), 1024);
    EXPECT_EQ(Chain(hash, 7), (std::vector<int>{20}));
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{0}));

    hash.Free();
    EXPECT_FALSE(hash.IsAllocated());
    EXPECT_EQ(hash.First(3), -1);
}

TEST(Hash, ResizeIndexRoundsToTheGrowthStepAndKeepsChains) {
    cHash hash(8, 10);
    hash.Allocate(8, 10);
    for (int i = 0; i < 10; i++) hash.Add(i % 3, i);
    hash.ResizeIndex(11);
    EXPECT_EQ(hash.ChainSize(), 1024);
    hash.ResizeIndex(1024);
    EXPECT_EQ(hash.ChainSize(), 1024);
    hash.ResizeIndex(1025);
    EXPECT_EQ(hash.ChainSize(), 2048);
    hash.ResizeIndex(5);
    EXPECT_EQ(hash.ChainSize(), 2048) << "never shrinks";
    EXPECT_EQ(Chain(hash, 0), (std::vector<int>{9, 6, 3, 0}));
    EXPECT_EQ(Chain(hash, 1), (std::vector<int>{7, 4, 1}));
    EXPECT_EQ(hash.Next(2000), -1) << "new entries are empty";
}

TEST(Hash, GenerateKeyKnownAnswers) {
    cHash hash(1024, 1024);
    EXPECT_EQ(hash.GenerateKey("A", true), (97 * 119) & 1023);
    EXPECT_EQ(hash.GenerateKey("A", true), hash.GenerateKey("a", false));
    EXPECT_EQ(hash.GenerateKey("A", false), (65 * 119) & 1023);
    EXPECT_EQ(hash.GenerateKey("ab", false), 775);  // 97 * 119 + 98 * 120 = 23303
    EXPECT_EQ(hash.GenerateKey("\xff", false), 905) << "bytes are signed: -1 * 119";
    EXPECT_EQ(hash.GenerateKey("", false), 0);
    EXPECT_EQ(hash.GenerateKey(nullptr, false), 0);
    EXPECT_EQ(hash.GenerateKey("MiXeD", true), hash.GenerateKey("mixed", false));

    cHash small(4, 4);
    EXPECT_EQ(small.GenerateKey("ab", false), 23303 & 3);

    // A long text wraps around instead of overflowing; the result stays a bucket.
    std::string longText(100000, '\x7f');
    int key = hash.GenerateKey(longText.c_str(), false);
    EXPECT_GE(key, 0);
    EXPECT_LT(key, 1024);

    EXPECT_EQ(hash.GenerateKey(cVec3(1.9f, -2.9f, 3.5f)), 2) << "each part truncated toward zero";
    EXPECT_EQ(hash.GenerateKey(cVec3(-5.5f, 0, 0)), 1019);
    EXPECT_EQ(hash.GenerateKey(cVec3(1030, 0, 0)), 6);
    int odd = hash.GenerateKey(cVec3(NAN, 1e30f, -1e30f));  // defined, whatever it is
    EXPECT_GE(odd, 0);
    EXPECT_LT(odd, 1024);
}

TEST(Hash, CalcSpreadKnownAnswers) {
    cHash clumped(4, 16);
    for (int i = 0; i < 8; i++) clumped.Add(1, i);  // all in one of four buckets
    EXPECT_EQ(clumped.CalcSpread(), 0);  // average 2, error 5 + 1 + 1 + 1 = 8 of 8

    cHash even(4, 16);
    for (int i = 0; i < 8; i++) even.Add(i, i);
    EXPECT_EQ(even.CalcSpread(), 100);

    cHash lopsided(4, 16);  // lengths 3, 1, 0, 0: average 1, one bucket off by 2
    for (int i = 0; i < 3; i++) lopsided.Add(0, i);
    lopsided.Add(1, 3);
    EXPECT_EQ(lopsided.CalcSpread(), 75);

    cHash single(4, 16);
    single.Add(2, 0);
    EXPECT_EQ(single.CalcSpread(), 100) << "one key is always spread";
    cHash none(4, 16);
    none.Allocate(4, 16);
    EXPECT_EQ(none.CalcSpread(), 100);

    cHash looped(4, 16);
    looped.Add(1, 5);
    looped.Add(1, 5);  // a position added twice makes a loop; counting still ends
    EXPECT_LE(looped.CalcSpread(), 100);
}

// ---- cStrHash ----

TEST(StrHash, KeptSortedWithDuplicates) {
    std::mt19937 rng(11);
    cStrHash table;
    std::multimap<std::string, int> reference;
    for (int i = 0; i < 400; i++) {
        std::string name(1 + rng() % 4, 'a');
        for (char& c : name) c = "abcAB_"[rng() % 6];
        table.Add(name.c_str(), i);
        reference.emplace(name, i);
    }
    table.Add(nullptr, 999);
    ASSERT_EQ(table.Count(), 400) << "duplicates stay, null is not added";
    for (int i = 1; i < table.Count(); i++)
        ASSERT_LE(cStr::Compare(table[i - 1].name, table[i].name), 0) << i;

    // Same names, same multiset of indices per name.
    std::map<std::string, std::multiset<int>> ours, theirs;
    for (const auto& e : table) ours[e.name.ToChar()].insert(e.index);
    for (const auto& e : reference) theirs[e.first].insert(e.second);
    EXPECT_EQ(ours, theirs);

    // Find answers every name with one of its indices, and -1 for absent names.
    for (const auto& e : theirs) {
        int found = table.Find(e.first.c_str());
        EXPECT_EQ(e.second.count(found), 1u) << e.first;
    }
    EXPECT_EQ(table.Find("zzz"), -1);
    EXPECT_EQ(table.Find("ab_x"), -1);
}

TEST(StrHash, FindByBisection) {
    cStrHash table;
    const char* names[] = {"Render", "Audio", "Input", "Widgets", "Core", "Math", "Io"};
    for (int i = 0; i < 7; i++) table.Add(names[i], i * 10);
    std::vector<std::string> sorted;
    for (const auto& e : table) sorted.push_back(e.name.ToChar());
    EXPECT_EQ(sorted, (std::vector<std::string>{"Audio", "Core", "Input", "Io", "Math", "Render", "Widgets"}));
    for (int i = 0; i < 7; i++) EXPECT_EQ(table.Find(names[i]), i * 10);
    EXPECT_EQ(table.Find("audio"), -1) << "names compare with case";
    EXPECT_EQ(table.Find(""), -1);
    EXPECT_EQ(table.Find(nullptr), -1);

    table.Add("", 5);
    EXPECT_STREQ(table[0].name.ToChar(), "") << "the empty name sorts first";
    EXPECT_EQ(table.Find(""), 5);
    EXPECT_EQ(cStrHash().Find("x"), -1);

    cStrHash::NameIndex a, b;
    b.name = "x";
    EXPECT_EQ(cStrHash::NameIndex::Compare(&a, &b), -1) << "a name without text reads as \"\"";
}
