// cList: the growth rule, the deferred release of the old block, slot
// lifetime, the block counter, and the Shell sort against std::sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

using namespace zozud;

namespace {

template <class T>
std::vector<T> Values(const cList<T>& list) {
    return std::vector<T>(list.begin(), list.end());
}

// The string allocators keep lists of their own, made on first use: make
// them before counting blocks.
void WarmAllocators() {
    cList<cStr> strings;
    for (int n = 0; n < 300; n += 7) strings.Add(cStr(std::string(n, 'w').c_str()));
}

struct Ascending : cList<int>::CompareFunctor {
    bool operator()(const int& a, const int& b) const override { return a < b; }
};

struct ByLengthThenText : cList<cStr>::CompareFunctor {
    bool operator()(const cStr& a, const cStr& b) const override {
        if (a.Length() != b.Length()) return a.Length() < b.Length();
        return cStr::Compare(a, b) < 0;
    }
};

}  // namespace

TEST(List, CapacityGrowsByHalfPlusWhatIsNeeded) {
    cList<int> list;
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.GetPtr(), nullptr);
    std::vector<int> capacities;
    for (int i = 0; i < 120; i++) {
        int index = list.Add(i * 3);
        ASSERT_EQ(index, i);
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{8, 13, 20, 31, 47, 71, 107, 161}));
    for (int i = 0; i < 120; i++) ASSERT_EQ(list[i], i * 3);

    cList<int> many;
    many.Add(1, 20);  // more than 8 at once: exactly what is needed
    EXPECT_EQ(many.Capacity(), 20);
    EXPECT_EQ(many.Count(), 20);
}

TEST(List, AddingNothingToAnEmptyListAllocatesNothing) {
    int containers = cList_Debug::ContainersCount;
    cList<int> list;
    EXPECT_EQ(list.Add(5, 0), -1);
    EXPECT_EQ(list.Capacity(), 0);
    list.SetCount(0, 1);
    list.AddRange(nullptr, 3);
    list.Copy(cList<int>());
    list.EnsureCapacity(0, false);
    list.Resize(0, false);
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
    list.Add(1);
    EXPECT_EQ(list.Add(9, 0), 0) << "with a block: the index of the last element";
    EXPECT_EQ(cList_Debug::ContainersCount, containers + 1);
    list.Free();
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
}

TEST(List, SetCountAssignsEveryElementAndKeepsTheSlotsAbove) {
    cList<int> list;
    for (int i = 0; i < 5; i++) list.Add(10 + i);
    list.SetCount(3, 7);
    EXPECT_EQ(Values(list), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(list.GetPtr()[3], 13) << "slots above the count keep their values";
    EXPECT_EQ(list.GetPtr()[4], 14);
    list.SetCount(5);
    EXPECT_EQ(Values(list), (std::vector<int>{7, 7, 7, 13, 14}));
    list.SetCount(10, 2);
    EXPECT_EQ(list.Capacity(), 14);
    EXPECT_EQ(Values(list), std::vector<int>(10, 2));

    // Slots are constructed elements: strings above the count keep their text.
    cList<cStr> names;
    names.Add(cStr("kept"));
    names.Add(cStr("also kept"));
    names.SetCount(0);
    EXPECT_STREQ(names.GetPtr()[1].ToChar(), "also kept");
    EXPECT_STREQ(names.GetPtr()[7].ToChar(), "") << "never used: a default string";
}

TEST(List, EnsureCapacityAndResize) {
    cList<int> list;
    list.Add(1);
    EXPECT_EQ(list.EnsureCapacity(5, false), nullptr);
    EXPECT_EQ(list.Capacity(), 8);
    EXPECT_EQ(list.EnsureCapacity(9, false), nullptr);
    EXPECT_EQ(list.Capacity(), 13);
    EXPECT_EQ(list[0], 1);

    for (int i = 2; i <= 6; i++) list.Add(i);
    list.Resize(4, false);
    EXPECT_EQ(list.Capacity(), 4);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4})) << "the count is clamped";
    list.Resize(30, false);
    EXPECT_EQ(list.Capacity(), 30) << "no growth factor";
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4}));
    int containers = cList_Debug::ContainersCount;
    EXPECT_EQ(list.Resize(30, true), nullptr) << "the same capacity does nothing";
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
    list.Resize(0, false);
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.GetPtr(), nullptr);
    EXPECT_EQ(cList_Debug::ContainersCount, containers - 1);
}

TEST(List, KeptOldBlocksStayReadableUntilFreed) {
    WarmAllocators();
    int containers = cList_Debug::ContainersCount;
    cList<cStr> list;
    list.Add(cStr("a string long enough for the pool"));
    const cStr* before = &list[0];
    void* old = list.EnsureCapacity(100, true);
    ASSERT_NE(old, nullptr);
    EXPECT_NE(&list[0], before);
    EXPECT_STREQ(before->ToChar(), "a string long enough for the pool") << "the old block is still alive";
    EXPECT_EQ(cList_Debug::ContainersCount, containers + 2);
    cList<cStr>::FreeBlock(old);
    EXPECT_EQ(cList_Debug::ContainersCount, containers + 1);

    before = &list[0];
    old = list.Resize(1, true);
    EXPECT_STREQ(before->ToChar(), "a string long enough for the pool");
    cList<cStr>::FreeBlock(old);
    EXPECT_STREQ(list[0].ToChar(), "a string long enough for the pool");

    EXPECT_EQ(list.EnsureCapacity(1, true), nullptr) << "nothing to grow, nothing returned";
    list.Free();
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
}

TEST(List, ElementsOfTheSameListCanBeAddedWhileItGrows) {
    cList<cStr> list;
    for (int i = 0; i < 8; i++) list.Add(cStr(std::string(30 + i, char('a' + i)).c_str()));
    ASSERT_EQ(list.Count(), list.Capacity());
    list.Add(list[2], 3);  // the block moves while the value is read
    ASSERT_EQ(list.Count(), 11);
    for (int i = 8; i < 11; i++) EXPECT_STREQ(list[i].ToChar(), std::string(32, 'c').c_str());

    cList<int> ints;
    for (int i = 0; i < 13; i++) ints.Add(i);
    ints.AddRange(ints.GetPtr() + 10, 3);  // from the block that is being replaced
    EXPECT_EQ(ints.Count(), 16);
    EXPECT_EQ(ints[13], 10);
    EXPECT_EQ(ints[15], 12);

    ints.Insert(0, ints[15], 2);  // the value sits in the range that moves
    EXPECT_EQ(ints[0], 12);
    EXPECT_EQ(ints[1], 12);
    EXPECT_EQ(ints[2], 0);
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
    EXPECT_EQ(list.IndexOf(4), -1);
    EXPECT_TRUE(list.Contains(5));
    EXPECT_TRUE(list.Remove(9));
    EXPECT_FALSE(list.Remove(42));
    list.RemoveAt(0, 2);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 9}));
    EXPECT_EQ(list.GetLast(), 9);

    cList<int> copy(list);
    copy.Add(11);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 9}));
    EXPECT_EQ(copy.Capacity(), 8);
    list = copy;
    EXPECT_EQ(Values(list), (std::vector<int>{5, 9, 11}));
    cList<int> moved(std::move(copy));
    EXPECT_EQ(copy.Capacity(), 0);
    EXPECT_EQ(Values(moved), (std::vector<int>{5, 9, 11}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 8) << "Clear keeps the block";

    cList<cStr> words;
    words.Add(cStr("b"));
    words.Add(cStr("a"));
    EXPECT_EQ(words.IndexOf(cStr("a")), 1);
    auto sameLength = [](const cStr* x, const cStr* y) { return x->Length() == y->Length(); };
    EXPECT_EQ(words.IndexOf(cStr("z"), sameLength), 0);
}

TEST(List, SortAgreesWithStdSort) {
    std::mt19937 rng(3);
    Ascending ascending;
    for (int round = 0; round < 200; round++) {
        int n = rng() % 300;
        cList<int> list;
        std::vector<int> reference;
        for (int i = 0; i < n; i++) {
            int v = int(rng() % 100) - 50;  // plenty of duplicates
            list.Add(v);
            reference.push_back(v);
        }
        list.Sort(ascending);
        std::sort(reference.begin(), reference.end());
        ASSERT_EQ(Values(list), reference);
    }

    cList<cStr> words;
    std::vector<std::string> reference;
    for (int i = 0; i < 500; i++) {
        std::string w(1 + rng() % 25, 'a');
        for (char& c : w) c = char('a' + rng() % 3);
        words.Add(cStr(w.c_str()));
        reference.push_back(w);
    }
    words.Sort(ByLengthThenText());
    std::sort(reference.begin(), reference.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (int i = 0; i < 500; i++) ASSERT_STREQ(words[i].ToChar(), reference[i].c_str());

    cList<int> empty;
    empty.Sort(ascending);
    EXPECT_EQ(empty.Capacity(), 0);
}

TEST(List, FreeDestroysEverySlot) {
    WarmAllocators();
    int containers = cList_Debug::ContainersCount;
    {
        cList<cStr> list;
        for (int i = 0; i < 30; i++) list.Add(cStr(std::string(i * 5, 'x').c_str()));
        list.SetCount(2);  // the strings above stay alive until the block goes
        cList<cStr> other;
        other = list;
        EXPECT_EQ(other.Count(), 2);
    }
    EXPECT_EQ(cList_Debug::ContainersCount, containers);
}
