// cHash (the chained integer index) and cStrHash (the sorted name table).
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "zozud/core/Hash.h"
#include "zozud/core/StrHash.h"

using namespace zozud;

namespace {

// A point as the math layer's cVec3 has it: the key only reads x, y and z.
struct Point {
    float x, y, z;
};

std::vector<int> Chain(const cHash& hash, int key) {
    std::vector<int> out;
    for (int i = hash.First(key); i != -1 && out.size() < 10000; i = hash.Next(i)) out.push_back(i);
    return out;
}

}  // namespace

TEST(Hash, ChainsGrowAndShrink) {
    cHash hash(16, 8);
    for (int key : {0, 63, -1, -2147483647 - 1}) EXPECT_EQ(hash.First(key), -1) << "initialised only";
    hash.Add(3, 0);
    hash.Add(19, 1);  // same bucket as 3
    hash.Add(3, 2);
    hash.Add(4, 3);
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{2, 1, 0})) << "the latest position heads its bucket";
    hash.Remove(3, 1);
    hash.Remove(3, 2);
    hash.Remove(5, 3);  // the wrong key: 3 stays in its bucket
    hash.Remove(3, 77);
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{0}));
    EXPECT_EQ(Chain(hash, 4), (std::vector<int>{3}));
    hash.Add(7, 20);  // beyond the chain: it grows
    hash.ResizeIndex(1025);
    EXPECT_EQ(Chain(hash, 7), (std::vector<int>{20}));
    EXPECT_EQ(Chain(hash, 3), (std::vector<int>{0})) << "chains survive growth";
    EXPECT_EQ(hash.Next(2000), -1) << "new entries are empty";
    hash.Free();
    EXPECT_EQ(hash.First(3), -1);
}

TEST(Hash, KeysLandInTheTableAndSpreadKnownAnswers) {
    cHash hash(1024, 1024);
    EXPECT_EQ(hash.GenerateKey("Name", true), hash.GenerateKey("nAME", true));
    for (const char* name : {"A", "ab", "\xff", "\x80\x80\x80", ""}) {
        int key = hash.GenerateKey(name, false);
        EXPECT_TRUE(key >= 0 && key < 1024) << key;
    }
    EXPECT_EQ(hash.GenerateKey(nullptr, false), 0);
    for (Point p : {Point{1.9f, -2.9f, 3.5f}, Point{-5.5f, 0, 0}, Point{-1e9f, 1e9f, -3}}) {
        int key = hash.GenerateKey(p);
        EXPECT_TRUE(key >= 0 && key < 1024) << key;
    }
    // Chain lengths per bucket of a 4-bucket table, and the spread they give.
    struct { std::vector<int> lengths; int spread; } rows[] = {
        {{0, 8, 0, 0}, 0}, {{2, 2, 2, 2}, 100}, {{3, 1, 0, 0}, 75}, {{0, 0, 1, 0}, 100}, {{0, 0, 0, 0}, 100}};
    for (auto& r : rows) {
        cHash h(4, 16);
        h.Allocate(4, 16);
        for (int bucket = 0, index = 0; bucket < 4; bucket++)
            for (int k = 0; k < r.lengths[bucket]; k++) h.Add(bucket, index++);
        EXPECT_EQ(h.CalcSpread(), r.spread) << r.lengths[0] << r.lengths[1] << r.lengths[2] << r.lengths[3];
    }
}

// Random names against a std::multimap: sorted, duplicates kept, all found.
TEST(StrHash, KeptSortedWithDuplicates) {
    std::mt19937 rng(11);
    cStrHash table;
    std::map<std::string, std::multiset<int>> reference, ours;
    for (int i = 0; i < 400; i++) {
        std::string name(1 + rng() % 4, 'a');
        for (char& c : name) c = "abcAB_"[rng() % 6];
        table.Add(name.c_str(), i);
        reference[name].insert(i);
    }
    table.Add(nullptr, 999);
    table.Add("", 5);
    ASSERT_EQ(table.Count(), 401);
    EXPECT_STREQ(table[0].name, "") << "the empty name sorts first";
    for (int i = 1; i < table.Count(); i++) ASSERT_LE(cStr::Compare(table[i - 1].name, table[i].name), 0) << i;
    for (int i = 1; i < table.Count(); i++) ours[table[i].name.ToChar()].insert(table[i].index);
    EXPECT_EQ(ours, reference);
    for (const auto& e : reference) EXPECT_EQ(e.second.count(table.Find(e.first.c_str())), 1u) << e.first;
    EXPECT_EQ(table.Find(""), 5);
    EXPECT_TRUE(table.Find("zzz") == -1 && table.Find("ab_x") == -1 && cStrHash().Find("x") == -1);
}
