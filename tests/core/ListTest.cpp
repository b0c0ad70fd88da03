// cList, with growth the heap refuses and the Shell sort against std::sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "zozud/core/List.h"
#include "zozud/core/Pool.h"
#include "zozud/core/Str.h"

using namespace zozud;

namespace {

template <class T>
std::vector<T> Values(const cList<T>& list) { return std::vector<T>(list.begin(), list.end()); }

cStr Long(int n, char c) { return cStr(std::string(n, c).c_str()); }

// The string allocators keep lists of their own, made on first use: make
// them before counting blocks.
void WarmAllocators() {
    cList<cStr> strings;
    for (int n = 0; n < 300; n += 7) strings.Add(Long(n, 'w'));
}

// Elements of a megabyte: 2^28 of them (2^48 bytes) are more than the
// address space holds, so the heap refuses them on any machine. One plain
// (grown with realloc), one with a string (constructed slot by slot).
struct Mega {
    int  id;
    char bytes[1 << 20];
};
struct MegaStr {
    cStr name;
    char bytes[1 << 20];
};
int  IdOf(const Mega& m) { return m.id; }
int  IdOf(const MegaStr& m) { return atoi(m.name.ToChar()); }
void SetId(Mega* m, int id) { m->id = id; }
void SetId(MegaStr* m, int id) { m->name = cStr::Format("%d", id); }

// Every growing operation asked for too much: it says so and leaves the
// list as it was, elements, block and all; the list still grows afterwards.
template <class T>
void GrowthRefused() {
    const int Huge = 1 << 28;
    static T value;
    SetId(&value, 99);
    cList<T> list;
    for (int i = 0; i < 3; i++) {
        SetId(&value, i);
        list.Add(value);
    }
    const int containers = cList_Debug::ContainersCount;
    const T* block = list.GetPtr();
    struct Case { const char* op; std::function<bool()> refused; } cases[] = {
        {"Add(value, huge)", [&] { return list.Add(value, Huge) == -1; }},
        {"Add(value, INT_MAX)", [&] { return list.Add(value, INT_MAX) == -1; }},
        {"AddRange", [&] { return !list.AddRange(&value, Huge); }},
        {"Insert", [&] { return !list.Insert(1, value, Huge); }},
        {"SetCount(n)", [&] { return !list.SetCount(Huge); }},
        {"SetCount(n, value)", [&] { return !list.SetCount(Huge, value); }},
        {"EnsureCapacity", [&] { return !list.EnsureCapacity(Huge, false) && list.Capacity() == 8; }},
        {"EnsureCapacity keeping", [&] { return !list.EnsureCapacity(Huge, true) && list.Capacity() == 8; }},
        {"Resize", [&] { return !list.Resize(Huge, false) && list.Capacity() == 8; }},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.refused()) << c.op;
        ASSERT_EQ(list.Count(), 3) << c.op;
        EXPECT_EQ(list.GetPtr(), block) << c.op;
        EXPECT_EQ(cList_Debug::ContainersCount, containers) << c.op;
        for (int i = 0; i < 3; i++) EXPECT_EQ(IdOf(list[i]), i) << c.op;
    }
    SetId(&value, 3);
    EXPECT_EQ(list.Add(value), 3);
    EXPECT_EQ(IdOf(list[3]), 3);
}

struct Ascending : cList<int>::CompareFunctor {
    bool operator()(const int& a, const int& b) const override { return a < b; }
};

}  // namespace

TEST(List, CapacityGrowsByHalfPlusWhatIsNeeded) {
    int containers = cList_Debug::ContainersCount;
    cList<int> list;
    EXPECT_EQ(list.Add(5, 0), -1);  // nothing to add: no block
    list.SetCount(0, 1);
    list.AddRange(nullptr, 3);
    list.EnsureCapacity(0, false);
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
    std::vector<int> capacities;
    for (int i = 0; i < 120; i++) {
        ASSERT_EQ(list.Add(i * 3), i);
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{8, 13, 20, 31, 47, 71, 107, 161}));
    for (int i = 0; i < 120; i++) ASSERT_EQ(list[i], i * 3);
    EXPECT_EQ(list.Add(9, 0), 119) << "with a block: the index of the last element";

    cList<int> one;
    one.Add(1, 20);  // more than 8 at once: exactly what is needed
    EXPECT_EQ(one.Capacity(), 20);
    one.Resize(8, false);
    EXPECT_EQ(one.EnsureCapacity(5, false), nullptr);
    one.EnsureCapacity(9, false);
    EXPECT_EQ(one.Capacity(), 13);
    one.Resize(30, false);
    EXPECT_EQ(one.Capacity(), 30) << "no growth factor";
    EXPECT_EQ(Values(one), std::vector<int>(8, 1)) << "Resize clamps the count";
    one.Resize(0, false);
    EXPECT_EQ(one.GetPtr(), nullptr);
}

TEST(List, GrowthTheHeapRefusesLeavesTheListAsItWas) {
    GrowthRefused<Mega>();
    GrowthRefused<MegaStr>();
}

TEST(List, SetCountAssignsEveryElementAndKeepsTheSlotsAbove) {
    cList<int> list;
    for (int i = 0; i < 5; i++) list.Add(10 + i);
    list.SetCount(3, 7);
    EXPECT_EQ(Values(list), (std::vector<int>{7, 7, 7}));
    list.SetCount(5);
    EXPECT_EQ(Values(list), (std::vector<int>{7, 7, 7, 13, 14})) << "slots above the count keep their values";
    list.SetCount(10, 2);
    EXPECT_EQ(list.Capacity(), 14);
    EXPECT_EQ(Values(list), std::vector<int>(10, 2));

    // The slots a block gains when it grows read as zero, however it grows.
    cList<int> full;
    full.SetCount(8, 9);
    full.Add(9);
    full.SetCount(full.Capacity());
    EXPECT_EQ(Values(full), (std::vector<int>{9, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0, 0, 0}));
}

TEST(List, KeptOldBlocksStayReadableUntilFreed) {
    WarmAllocators();
    cList<cStr> list;
    list.Add(Long(40, 'k'));
    int containers = cList_Debug::ContainersCount;
    for (int capacity : {100, 1}) {
        const cStr* before = &list[0];
        void* old = capacity == 100 ? list.EnsureCapacity(capacity, true) : list.Resize(capacity, true);
        ASSERT_NE(old, nullptr);
        EXPECT_EQ(cList_Debug::ContainersCount, containers + 1);
        EXPECT_STREQ(*before, Long(40, 'k')) << "the old block is still alive";
        cList<cStr>::FreeBlock(old);
        EXPECT_STREQ(list[0], Long(40, 'k'));
    }
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
}

// An element of the list itself may be the value added while the block moves.
TEST(List, ElementsOfTheSameListCanBeAddedWhileItGrows) {
    cList<cStr> list;
    for (int i = 0; i < 8; i++) list.Add(Long(30 + i, char('a' + i)));
    list.Add(list[2], 3);
    ASSERT_EQ(list.Count(), 11);
    for (int i = 8; i < 11; i++) EXPECT_STREQ(list[i], Long(32, 'c'));
    list.SetCount(13, list[0]);  // full again
    list.Add(list[12]);
    list.AddRange(list.GetPtr() + 1, 6);
    list.Add(std::move(list[3]));
    ASSERT_EQ(list.Count(), 21);
    for (int i : {13, 19, 20}) EXPECT_STREQ(list[i], Long(30, 'a')) << i;

    cList<int> ints;
    for (int i = 0; i < 8; i++) ints.Add(i);
    ints.Add(ints[0]);
    EXPECT_EQ(ints.GetLast(), 0);
    ints.SetCount(8);
    for (int i = 8; i < 13; i++) ints.Add(i);
    ints.AddRange(ints.GetPtr() + 10, 3);
    ints.Insert(0, ints[15], 2);  // the value sits in the range that moves
    EXPECT_EQ(Values(ints), (std::vector<int>{12, 12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 10, 11, 12}));
    ints.SetCount(4, ints[3]);
    EXPECT_EQ(Values(ints), (std::vector<int>{1, 1, 1, 1}));
}

TEST(List, InsertRemoveFindAndCopy) {
    cList<int> list;
    list.Insert(0, 5);
    list.Insert(0, 1);
    list.Insert(2, 9, 2);
    list.Insert(1, 3);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 5, 9, 9}));
    EXPECT_EQ(list.IndexOf(9), 3);
    EXPECT_TRUE(list.Remove(9) && !list.Remove(42));
    list.RemoveAt(0, 2);
    cList<int> copy(list);
    copy.Add(11);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 9})) << "copies share nothing";

    // Every position of short and longer lists, and strings by their text.
    for (int n = 0; n < 11; n++) {
        cList<int> seq;
        for (int i = 0; i < n; i++) seq.Add(i);
        for (int i = 0; i < n; i++) ASSERT_EQ(seq.IndexOf(i), i) << n;
        ASSERT_EQ(seq.IndexOf(n), -1) << n;
    }
    cList<cStr> names;
    for (const char* name : {"", "b", "ab", "a"}) names.Add(cStr(name));
    EXPECT_EQ(names.IndexOf(cStr("a")), 3);
    EXPECT_EQ(names.IndexOf(cStr()), 0) << "no buffer equals an empty buffer";
    EXPECT_TRUE(names.Remove(cStr("ab")) && !names.Remove(cStr("abc")));
    EXPECT_EQ(names.Count(), 3);
}

// Growing, inserting and removing move the strings: each keeps its buffer,
// and only the strings added take new ones.
TEST(List, StringsMoveRatherThanCopy) {
    WarmAllocators();
    cList<cStr> list;
    std::vector<const char*> buffers;
    int used = cPool_Debug::UsedCount;
    for (int i = 0; i < 100; i++) {
        cStr s(Long(40, char('a' + i % 26)));
        buffers.push_back(s.ToChar());
        list.Add(std::move(s));
        ASSERT_TRUE(s.IsEmpty());
    }
    list.Insert(0, Long(40, 'y'));
    list.Insert(50, Long(40, 'z'), 2);
    EXPECT_EQ(cPool_Debug::UsedCount, used + 103) << "one buffer for each string added";
    for (int k : {0, 49, 49, 49, 80}) list.RemoveAt(k);
    EXPECT_EQ(cPool_Debug::UsedCount, used + 98);
    std::vector<const char*> now;
    for (const cStr& s : list) now.push_back(s.ToChar());
    buffers.erase(buffers.begin() + 81);  // list[80] once y, z, z and buffers[49] had gone
    buffers.erase(buffers.begin() + 49);
    EXPECT_EQ(now, buffers);
}

// Every slot of a freed block is destroyed: strings above the count too.
TEST(List, FreeDestroysEverySlot) {
    WarmAllocators();
    int containers = cList_Debug::ContainersCount, poolUsed = cPool_Debug::UsedCount;
    {
        cList<cStr> list;
        for (int i = 0; i < 30; i++) list.Add(Long(i * 5, 'x'));
        list.SetCount(2);
        EXPECT_STREQ(list.GetPtr()[20], Long(100, 'x')) << "slots above the count stay alive";
        cList<cStr> other;
        other = list;
        other.Insert(1, list[1], 20);
        other.RemoveAt(0, 5);
    }
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
    EXPECT_EQ(cPool_Debug::UsedCount, poolUsed);
}

TEST(List, SortAgreesWithStdSort) {
    std::mt19937 rng(3);
    for (int round = 0; round < 200; round++) {
        cList<int> list;
        std::vector<int> reference;
        for (int i = 0, n = rng() % 300; i < n; i++) {
            reference.push_back(int(rng() % 100) - 50);  // plenty of duplicates
            list.Add(reference.back());
        }
        list.Sort(Ascending());
        std::sort(reference.begin(), reference.end());
        ASSERT_EQ(Values(list), reference);
    }
}

// Sizes past what the heap can give come back as null rather than ending the
// process under the sanitizers, so the refused growth above can be seen.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }
