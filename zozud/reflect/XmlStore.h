// cXmlStore: the memory of the nodes one parse makes, with their names,
// bodies and child arrays, cut from a chain of growing blocks. Nothing in it
// is freed piece by piece; it counts its live nodes and frees all its blocks
// with the last one. Only the reader fills a store, and only while no node of
// it is known elsewhere; after that only the count and the changed mark are
// written, atomically, since nodes taken out of one tree may end on different
// threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zozud {

class cXml;

class cXmlStore final {
public:
    static cXmlStore* Create();

    cXml* NewNode();  // a default node with the store's word in front of it

    // Pointer-aligned memory.
    void* Take(size_t bytes) {
        char* p = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(m_At) + Align - 1) & ~uintptr_t(Align - 1));
        if (!m_At || size_t(m_End - p) < bytes) return TakeNewBlock(bytes);
        m_At = p + bytes;
        return p;
    }

    // A copy of n characters and a zero byte.
    char* NewText(const char* from, int n) {
        char* p = m_At;
        if (!p || m_End - p < n + 1) p = static_cast<char*>(TakeNewBlock(size_t(n) + 1));
        else m_At = p + n + 1;
        memcpy(p, from, size_t(n));
        p[n] = 0;
        return p;
    }

    void AddNodes(int count) { m_Live.fetch_add(count, std::memory_order_relaxed); }
    void ReleaseNodes(int count);         // count nodes gone; the store goes with its last

    // Until a node of the store is changed (renamed, given a body, a child or
    // one child less, detached) the store holds one intact tree below the node
    // it was read into, and its nodes own nothing: freeing that tree is
    // freeing the store, without visiting a node.
    void Touch() { m_Changed.store(true, std::memory_order_relaxed); }
    bool Intact() const { return !m_Changed.load(std::memory_order_relaxed); }
    void Drop() { delete this; }          // every node of an intact tree at once

    static cXmlStore* Of(const cXml* node) { return reinterpret_cast<cXmlStore* const*>(node)[-1]; }

    // The word in front of every node made with new; a heap node has null there.
    static const size_t HeaderSize = sizeof(void*);
    static const size_t HeapHeader = 16;  // what cXml::operator new adds; keeps heap nodes aligned as ::operator new does

private:
    static const size_t Align = sizeof(void*);
    struct Block {
        Block* next;
        void*  pad;  // keeps what follows 16-byte aligned
    };

    cXmlStore() {}
    ~cXmlStore();
    void* TakeNewBlock(size_t bytes);

    Block*           m_Blocks = nullptr;
    char*            m_At = nullptr;
    char*            m_End = nullptr;
    size_t           m_NextSize = 16384;
    std::atomic<int>  m_Live{0};
    std::atomic<bool> m_Changed{false};
};

}  // namespace zozud
