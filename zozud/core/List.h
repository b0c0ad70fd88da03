// cList: the framework's one growable array. A single pointer to a heap block
// (count, capacity, slots); null is the empty list. Every slot of a block is a
// constructed element, and the old block is released only after new elements
// are written, so adding an element of the same list is safe. Elements move
// (rather than copy) when they shift or go to a new block, except into a block
// whose old one the caller keeps to read from.
//
// Growing can fail (the heap is out of memory, or the size does not fit an
// int count or the address space): the list is then left exactly as it was
// and the operation says so by its result (-1 from the Adds, false from the
// others; EnsureCapacity and Resize leave Capacity() unchanged).
#pragma once

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>

namespace zozud {

struct cList_Debug {
    static int ContainersCount;      // blocks allocated and not yet freed, by every list
    static int CtorContainersCount;  // lists constructed (diagnostic only)
    // Lists live on every thread; the counters are bumped atomically (relaxed)
    // so that they stay exact without a lock.
    static void Bump(int& counter, int by) { __atomic_fetch_add(&counter, by, __ATOMIC_RELAXED); }
};

// Per-type construction, destruction, copy and move of slots. Plain types
// are zero-filled and copied as blocks; class types slot by slot.
template <class T>
struct cList_Container {
    static constexpr bool Plain = std::is_trivially_default_constructible<T>::value &&
                                  std::is_trivially_copyable<T>::value;

    static void Construct(T* slots, int n) {
        if constexpr (Plain)
            memset(static_cast<void*>(slots), 0, sizeof(T) * (size_t)n);
        else
            for (int i = 0; i < n; i++) new (slots + i) T();
    }
    // Memory for a header of offset bytes followed by n constructed slots;
    // released with free; null when the heap has none. Plain slots come
    // zeroed from calloc, which need not clear memory that is fresh from the
    // system (large lists then touch only the pages they fill).
    static void* NewConstructed(size_t offset, int n) {
        size_t bytes = offset + sizeof(T) * (size_t)n;
        if constexpr (Plain) return calloc(1, bytes);
        void* mem = malloc(bytes);
        if (!mem) return nullptr;
        Construct(reinterpret_cast<T*>(static_cast<char*>(mem) + offset), n);
        return mem;
    }
    static void Destroy(T* slots, int n) {
        if constexpr (!std::is_trivially_destructible<T>::value)
            for (int i = 0; i < n; i++) slots[i].~T();
    }
    static void Copy(T* dst, const T* src, int n) {
        if constexpr (Plain) {
            if (n > 0) memmove(static_cast<void*>(dst), static_cast<const void*>(src), sizeof(T) * (size_t)n);
        } else {
            for (int i = 0; i < n; i++) dst[i] = src[i];
        }
    }
    // Like memmove: the ranges may overlap, the elements left behind in src
    // are valid but unspecified (an empty string for cStr).
    static void Move(T* dst, T* src, int n) {
        if constexpr (Plain) {
            Copy(dst, src, n);
        } else if (dst < src) {
            for (int i = 0; i < n; i++) dst[i] = std::move(src[i]);
        } else {
            for (int i = n - 1; i >= 0; i--) dst[i] = std::move(src[i]);
        }
    }
};

template <class T>
bool cList_DefEquals(const T* a, const T* b) { return *a == *b; }

template <class T, class C = cList_Container<T>>
class cList {
public:
    // Ordering object for Sort: true when a belongs before b.
    class CompareFunctor {
    public:
        virtual ~CompareFunctor() {}
        virtual bool operator()(const T& a, const T& b) const = 0;
    };

    cList() : m_Block(nullptr) { cList_Debug::Bump(cList_Debug::CtorContainersCount, 1); }
    cList(const cList& other) : m_Block(nullptr) { cList_Debug::Bump(cList_Debug::CtorContainersCount, 1); Copy(other); }
    cList(cList&& other) noexcept : m_Block(other.m_Block) { other.m_Block = nullptr; }
    ~cList() { Free(); }
    cList& operator=(const cList& other) { if (this != &other) Copy(other); return *this; }
    cList& operator=(cList&& other) noexcept { if (this != &other) { Free(); std::swap(m_Block, other.m_Block); } return *this; }

    // ---- Size ----
    int      Count() const { return m_Block ? m_Block->count : 0; }
    int      Capacity() const { return m_Block ? m_Block->capacity : 0; }
    bool     IsEmpty() const { return Count() == 0; }
    T*       GetPtr() { return m_Block ? Slots(m_Block) : nullptr; }
    const T* GetPtr() const { return m_Block ? Slots(m_Block) : nullptr; }
    T&       operator[](int i) { assert(i >= 0 && i < Count()); return Slots(m_Block)[i]; }
    const T& operator[](int i) const { assert(i >= 0 && i < Count()); return Slots(m_Block)[i]; }
    T&       GetLast() { return (*this)[Count() - 1]; }
    const T& GetLast() const { return (*this)[Count() - 1]; }
    T*       begin() { return GetPtr(); }
    T*       end() { return GetPtr() + Count(); }
    const T* begin() const { return GetPtr(); }
    const T* end() const { return GetPtr() + Count(); }

    // ---- Adding and removing ----
    // Growing operations: -1 or false when the list could not grow (it is
    // then unchanged).
    int  Add(const T& value);                          // appends one; its index
    int  Add(T&& value);                               // appends one by moving it in; its index
    int  Add(const T& value, int count);               // appends; index of the last, -1 without a block
    bool AddRange(const T* values, int count);         // appends copies of an array
    bool Insert(int index, const T& value, int count = 1);
    void RemoveAt(int index, int count = 1);           // later elements move down
    bool Remove(const T& value);                       // first equal element; false when absent
    int  IndexOf(const T& value) const;                // first element == value; -1 when absent
    int  IndexOf(const T& value, bool (*equals)(const T*, const T*)) const;
    bool Contains(const T& value) const { return IndexOf(value) >= 0; }
    bool SetCount(int count, const T& value);          // every element 0..count-1 becomes value
    bool SetCount(int count);                          // grows if needed, keeps the elements
    void Clear() { if (m_Block) m_Block->count = 0; }  // keeps the block and its slots

    // ---- Storage ----
    void* EnsureCapacity(int capacity, bool keepOld);  // old block when kept (free with FreeBlock)
    void* Resize(int capacity, bool keepOld);          // exact capacity; below 1 frees
    bool  Copy(const cList& other);
    void  Free();
    static void FreeBlock(void* block);                // releases a block returned by keepOld

    void Sort(const CompareFunctor& before);           // Shell sort; not stable

private:
    struct Block {
        int count;
        int capacity;
    };
    static constexpr size_t SlotOffset() {
        return (sizeof(Block) + alignof(T) - 1) / alignof(T) * alignof(T);
    }
    static T*     Slots(Block* b) { return reinterpret_cast<T*>(reinterpret_cast<char*>(b) + SlotOffset()); }
    static Block* NewBlock(int capacity);               // null when it cannot be had
    static int    GrownCapacity(int needed, int capacity);
    int           SlotIndex(const T* p) const {        // index of the slot p points at, -1 when not ours
        const T* slots = GetPtr();
        bool ours = slots && std::less_equal<const T*>()(slots, p) && std::less<const T*>()(p, slots + Capacity());
        return ours ? int(p - slots) : -1;
    }
    bool          Owns(const T* p) const { return SlotIndex(p) >= 0; }
    // A new block holding the elements, moved (copied when the caller keeps
    // the old block to read from); *old receives the old block, or null when
    // nothing had to change or the old block itself grew (plain elements).
    // False, with the list unchanged, when the block could not grow.
    bool          Grow(int needed, bool keepOld, Block** old);
    // The slot that holds what p pointed at, in the block grown to needed;
    // null when the block could not grow.
    const T*      GrowKeeping(int needed, const T* p, Block** old);
    template <class V>
    int           AddGrowing(V&& value);               // Add of one element when the block is full

    Block* m_Block;
};

// ---- Implementation ----

template <class T, class C>
typename cList<T, C>::Block* cList<T, C>::NewBlock(int capacity) {
    if ((size_t)capacity > ((size_t)PTRDIFF_MAX - SlotOffset()) / sizeof(T)) return nullptr;
    Block* b = static_cast<Block*>(C::NewConstructed(SlotOffset(), capacity));
    if (!b) return nullptr;
    b->count = 0;
    b->capacity = capacity;
    cList_Debug::Bump(cList_Debug::ContainersCount, 1);
    return b;
}

template <class T, class C>
void cList<T, C>::FreeBlock(void* block) {
    if (!block) return;
    Block* b = static_cast<Block*>(block);
    C::Destroy(Slots(b), b->capacity);
    free(b);
    cList_Debug::Bump(cList_Debug::ContainersCount, -1);
}

template <class T, class C>
int cList<T, C>::GrownCapacity(int needed, int capacity) {
    long long grown = (long long)needed + capacity / 2;  // no int overflow near the top
    return grown < 8 ? 8 : grown > INT_MAX ? INT_MAX : (int)grown;
}

template <class T, class C>
bool cList<T, C>::Grow(int needed, bool keepOld, Block** old) {
    *old = nullptr;
    int capacity = Capacity();
    if (capacity >= needed) return true;
    int newCapacity = GrownCapacity(needed, capacity);
    if (newCapacity == capacity) return true;
    Block* was = m_Block;
    if constexpr (C::Plain) {
        // Plain elements may move with their block: realloc often grows it
        // in place, and never copies more than the old block.
        if (was && !keepOld) {
            if ((size_t)newCapacity > ((size_t)PTRDIFF_MAX - SlotOffset()) / sizeof(T)) return false;
            Block* b = static_cast<Block*>(realloc(was, SlotOffset() + sizeof(T) * (size_t)newCapacity));
            if (!b) return false;  // the old block is still ours, untouched
            C::Construct(Slots(b) + capacity, newCapacity - capacity);
            b->capacity = newCapacity;
            m_Block = b;
            return true;
        }
    }
    Block* b = NewBlock(newCapacity);
    if (!b) return false;
    if (was) {
        b->count = was->count;
        if (keepOld)
            C::Copy(Slots(b), Slots(was), was->count);
        else
            C::Move(Slots(b), Slots(was), was->count);
    }
    m_Block = b;
    *old = was;
    return true;
}

// An element of the list moves with the others; the new block holds it at
// the same index. Anything else stays where it is.
template <class T, class C>
const T* cList<T, C>::GrowKeeping(int needed, const T* p, Block** old) {
    int at = SlotIndex(p);
    Block* before = m_Block;
    if (!Grow(needed, false, old)) return nullptr;
    return at >= 0 && m_Block != before ? Slots(m_Block) + at : p;
}

// The fast paths of Add stay small enough to inline; growing is out of line.
template <class T, class C>
inline int cList<T, C>::Add(const T& value) {
    Block* b = m_Block;
    if (__builtin_expect(!b, 0)) return AddGrowing(value);
    int n = b->count;
    if (__builtin_expect(n >= b->capacity, 0)) return AddGrowing(value);
    Slots(b)[n] = value;
    b->count = n + 1;
    return n;
}

template <class T, class C>
inline int cList<T, C>::Add(T&& value) {
    Block* b = m_Block;
    if (__builtin_expect(!b, 0)) return AddGrowing(std::move(value));
    int n = b->count;
    if (__builtin_expect(n >= b->capacity, 0)) return AddGrowing(std::move(value));
    Slots(b)[n] = std::move(value);
    b->count = n + 1;
    return n;
}

template <class T, class C>
template <class V>
__attribute__((noinline)) int cList<T, C>::AddGrowing(V&& value) {
    int n = Count();
    Block* old;
    const T* at = n < INT_MAX ? GrowKeeping(n + 1, &value, &old) : nullptr;
    if (!at) return -1;
    Slots(m_Block)[n] = std::forward<V>(*const_cast<T*>(at));
    m_Block->count = n + 1;
    FreeBlock(old);
    return n;
}

template <class T, class C>
int cList<T, C>::Add(const T& value, int count) {
    if (count == 1) return Add(value);
    if (count <= 0) return m_Block ? m_Block->count - 1 : -1;
    int n = Count();
    Block* old;
    const T* at = count <= INT_MAX - n ? GrowKeeping(n + count, &value, &old) : nullptr;
    if (!at) return -1;
    T* slots = Slots(m_Block);
    for (int i = 0; i < count; i++) slots[n + i] = *at;
    m_Block->count = n + count;
    FreeBlock(old);
    return n + count - 1;
}

template <class T, class C>
bool cList<T, C>::AddRange(const T* values, int count) {
    if (count <= 0 || !values) return true;
    int n = Count();
    Block* old;
    values = count <= INT_MAX - n ? GrowKeeping(n + count, values, &old) : nullptr;
    if (!values) return false;
    C::Copy(Slots(m_Block) + n, values, count);
    m_Block->count = n + count;
    FreeBlock(old);
    return true;
}

template <class T, class C>
bool cList<T, C>::Insert(int index, const T& value, int count) {
    int n = Count();
    assert(index >= 0 && index <= n);
    if (count <= 0) return true;
    if (Owns(&value)) {  // the value would move under our feet: insert a copy
        T copy(value);
        return Insert(index, copy, count);
    }
    Block* old;
    if (count > INT_MAX - n || !Grow(n + count, false, &old)) return false;
    FreeBlock(old);
    T* slots = Slots(m_Block);
    C::Move(slots + index + count, slots + index, n - index);
    for (int i = 0; i < count; i++) slots[index + i] = value;
    m_Block->count = n + count;
    return true;
}

template <class T, class C>
void cList<T, C>::RemoveAt(int index, int count) {
    Block* b = m_Block;
    if (!b) return;
    int n = b->count;
    assert(index >= 0 && count >= 0 && index + count <= n);
    C::Move(Slots(b) + index, Slots(b) + index + count, n - index - count);
    b->count = n - count;
}

template <class T, class C>
bool cList<T, C>::Remove(const T& value) {
    int i = IndexOf(value);
    if (i < 0) return false;
    RemoveAt(i);
    return true;
}

// The element type's own == inline, rather than through cList_DefEquals.
template <class T, class C>
int cList<T, C>::IndexOf(const T& value) const {
    const T* slots = GetPtr();
    int i = 0, n = Count();
    for (; i + 4 <= n; i += 4) {  // four at a time: one loop test for four elements
        if (slots[i] == value) return i;
        if (slots[i + 1] == value) return i + 1;
        if (slots[i + 2] == value) return i + 2;
        if (slots[i + 3] == value) return i + 3;
    }
    for (; i < n; i++)
        if (slots[i] == value) return i;
    return -1;
}

template <class T, class C>
int cList<T, C>::IndexOf(const T& value, bool (*equals)(const T*, const T*)) const {
    const T* slots = GetPtr();
    for (int i = 0, n = Count(); i < n; i++)
        if (equals(&slots[i], &value)) return i;
    return -1;
}

template <class T, class C>
bool cList<T, C>::SetCount(int count, const T& value) {
    if (count <= 0 && !m_Block) return true;
    Block* old;
    const T* at = GrowKeeping(count, &value, &old);
    if (!at) return false;
    T* slots = Slots(m_Block);
    for (int i = 0; i < count; i++) slots[i] = *at;
    m_Block->count = count < 0 ? 0 : count;
    FreeBlock(old);
    return true;
}

template <class T, class C>
bool cList<T, C>::SetCount(int count) {
    if (count <= 0) { Clear(); return true; }
    Block* old;
    if (!Grow(count, false, &old)) return false;
    FreeBlock(old);
    m_Block->count = count;
    return true;
}

template <class T, class C>
void* cList<T, C>::EnsureCapacity(int capacity, bool keepOld) {
    Block* old;
    if (!Grow(capacity, keepOld, &old)) return nullptr;
    if (keepOld) return old;
    FreeBlock(old);
    return nullptr;
}

template <class T, class C>
void* cList<T, C>::Resize(int capacity, bool keepOld) {
    if (capacity == Capacity()) return nullptr;
    Block* b = capacity >= 1 ? NewBlock(capacity) : nullptr;
    if (capacity >= 1 && !b) return nullptr;  // the list keeps its block
    Block* old = m_Block;
    m_Block = b;
    if (b) {
        if (old) {
            int n = old->count < capacity ? old->count : capacity;
            if (keepOld)
                C::Copy(Slots(m_Block), Slots(old), n);
            else
                C::Move(Slots(m_Block), Slots(old), n);
            m_Block->count = n;
        }
    }
    if (keepOld) return old;
    FreeBlock(old);
    return nullptr;
}

template <class T, class C>
bool cList<T, C>::Copy(const cList& other) {
    if (this == &other) return true;
    int n = other.Count();
    Block* old;
    if (!Grow(n, false, &old)) return false;
    FreeBlock(old);
    if (!m_Block) return true;
    C::Copy(Slots(m_Block), other.GetPtr(), n);
    m_Block->count = n;
    return true;
}

template <class T, class C>
void cList<T, C>::Free() {
    FreeBlock(m_Block);
    m_Block = nullptr;
}

template <class T, class C>
void cList<T, C>::Sort(const CompareFunctor& before) {
    int n = Count();
    T* e = GetPtr();
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < n; i++) {
            T taken(std::move(e[i]));
            int j = i;
            for (; j >= gap && before(taken, e[j - gap]); j -= gap) e[j] = std::move(e[j - gap]);
            e[j] = std::move(taken);
        }
    }
}

}  // namespace zozud
