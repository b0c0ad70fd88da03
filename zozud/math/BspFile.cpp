// cBsp in bytes: one 41-byte record per node in depth-first order (node,
// front subtree, back subtree), little-endian, no header. Loading reads the
// records back into the same shape and recomputes the planes; it accepts only
// whole trees: a record cut short, a subtree promised and missing, unknown
// flag bits or bytes after the last record all fail.
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zozud/math/Bsp.h"

namespace zozud {

namespace {

const unsigned char HasFront = 1;
const unsigned char HasBack = 2;

void WriteRecord(const cBsp::Node& n, unsigned char* out) {
    memcpy(out, n.triangle.v, 36);
    memcpy(out + 36, &n.triangle.id, 4);
    out[40] = (unsigned char)((n.front ? HasFront : 0) | (n.back ? HasBack : 0));
}

cBsp::Triangle ReadRecord(const unsigned char* in) {
    cBsp::Triangle t;
    memcpy(t.v, in, 36);
    memcpy(&t.id, in + 36, 4);
    t.CalcPlanes();
    return t;
}

}  // namespace

static_assert(sizeof(cVec3) * 3 == 36, "a record's vertices are nine packed floats");

bool cBsp::Save(cList<unsigned char>* bytes) const {
    int at = bytes->Count();
    const int64_t size = at + (int64_t)GetNodeCount() * RecordSize;
    if (size > INT_MAX || !bytes->SetCount((int)size)) return false;
    std::vector<const Node*> stack;
    if (m_Root) stack.push_back(m_Root);
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        WriteRecord(*n, bytes->GetPtr() + at);
        at += RecordSize;
        if (n->back) stack.push_back(n->back);
        if (n->front) stack.push_back(n->front);
    }
    return true;
}

bool cBsp::Load(const void* data, int size) {
    Free();
    const unsigned char* in = static_cast<const unsigned char*>(data);
    if (size < 0 || (size > 0 && !in)) return false;
    // The slots still to fill, the next one on top: front before back.
    std::vector<Node**> slots;
    if (size > 0) slots.push_back(&m_Root);
    int at = 0;
    bool ok = true;
    while (ok && !slots.empty()) {
        Node** slot = slots.back();
        slots.pop_back();
        if (size - at < RecordSize) {
            ok = false;
            break;
        }
        unsigned char flags = in[at + 40];
        Node* n = *slot = Node::New(ReadRecord(in + at));
        at += RecordSize;
        ok = (flags & ~(HasFront | HasBack)) == 0;
        if (flags & HasBack) slots.push_back(&n->back);
        if (flags & HasFront) slots.push_back(&n->front);
    }
    if (ok && at == size) return true;
    Free();
    return false;
}

}  // namespace zozud
