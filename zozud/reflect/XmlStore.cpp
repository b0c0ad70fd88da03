// The block store of parsed nodes, and the allocation of nodes made with new
// (a heap node carries a null store word in front, see XmlStore.h).
#include "zozud/reflect/XmlStore.h"

#include <new>

#include "zozud/reflect/Xml.h"

namespace zozud {

// ---- Store ----

namespace {

const size_t MaxBlockSize = 1 << 20;
const size_t HeapHeader = cXmlStore::HeapHeader;

}  // namespace

cXmlStore* cXmlStore::Create() { return new cXmlStore; }

cXmlStore::~cXmlStore() {
    while (m_Blocks) {
        Block* next = m_Blocks->next;
        ::operator delete(m_Blocks);
        m_Blocks = next;
    }
}

// A large request gets a block of its own, so the current block goes on
// being used; otherwise a new block, each twice the last up to 1 MiB.
void* cXmlStore::TakeNewBlock(size_t bytes) {
    bool alone = bytes > m_NextSize / 4;
    size_t size = sizeof(Block) + (alone ? bytes : m_NextSize);
    Block* block = static_cast<Block*>(::operator new(size));
    block->next = m_Blocks;
    m_Blocks = block;
    char* p = reinterpret_cast<char*>(block + 1);
    if (!alone) {
        m_At = p + bytes;
        m_End = reinterpret_cast<char*>(block) + size;
        if (m_NextSize < MaxBlockSize) m_NextSize *= 2;
    }
    return p;
}

cXml* cXmlStore::NewNode() {
    char* p = static_cast<char*>(Take(HeaderSize + sizeof(cXml)));
    *reinterpret_cast<cXmlStore**>(p) = this;
    cXml* node = ::new (p + HeaderSize) cXml;
    node->m_Flags = cXml::InStore;
    return node;
}

void cXmlStore::ReleaseNodes(int count) {
    if (m_Live.fetch_sub(count, std::memory_order_acq_rel) == count) delete this;
}

// ---- Nodes made with new ----

void* cXml::operator new(size_t size) {
    char* p = static_cast<char*>(::operator new(size + HeapHeader));
    *reinterpret_cast<cXmlStore**>(p + HeapHeader - cXmlStore::HeaderSize) = nullptr;
    return p + HeapHeader;
}

void cXml::operator delete(void* p) {
    if (!p) return;
    if (cXmlStore* store = cXmlStore::Of(static_cast<cXml*>(p)))
        store->ReleaseNodes(1);
    else
        ::operator delete(static_cast<char*>(p) - HeapHeader);
}

}  // namespace zozud
