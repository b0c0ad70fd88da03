// UTF-8 decoding of cStr through Bjoern Hoehrmann's table-driven automaton:
// 256 byte classes, then the transitions of states that are multiples of 12
// (0 accepts, 12 rejects). It refuses overlong forms, surrogates and code
// points above U+10FFFF.
#include "zozud/core/Str.h"

namespace zozud {

namespace {

const unsigned Accept = 0;
const unsigned Reject = 12;

const unsigned char Utf8Table[] = {
    // byte classes
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,
    0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,
    1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,
    7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,
    8,8,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,
    10,3,3,3,3,3,3,3,3,3,3,3,3,4,3,3,11,6,6,6,5,8,8,8,8,8,8,8,8,8,8,8,
    // transitions: state + class
    0,12,24,36,60,96,84,12,12,12,48,72,12,12,12,12,12,12,12,12,12,12,12,12,
    12,0,12,12,12,12,12,0,12,0,12,12,12,24,12,12,12,12,12,24,12,24,12,12,
    12,12,12,12,12,12,12,24,12,12,12,12,12,24,12,12,12,12,12,12,12,24,12,12,
    12,12,12,12,12,12,12,36,12,36,12,12,12,36,12,12,12,12,12,36,12,36,12,12,
    12,36,12,12,12,12,12,12,12,12,12,12,
};

unsigned Step(unsigned* state, unsigned* codepoint, unsigned char byte) {
    unsigned type = Utf8Table[byte];
    *codepoint = (*state != Accept) ? (byte & 0x3fu) | (*codepoint << 6) : (0xffu >> type) & byte;
    *state = Utf8Table[256 + *state + type];
    return *state;
}

void AddCodePoint(cList<unsigned short>* out, unsigned cp) {
    if (cp <= 0xFFFF) {
        out->Add((unsigned short)cp);
        return;
    }
    cp -= 0x10000;
    out->Add((unsigned short)(0xD800 + (cp >> 10)));
    out->Add((unsigned short)(0xDC00 + (cp & 0x3FF)));
}

const unsigned short Replacement = 0xFFFD;

}  // namespace

// A bad sequence becomes U+FFFD and decoding goes on at the byte that broke
// it, so one stray byte costs one replacement character; the result is false.
bool cStr::DecodeUTF8(cList<unsigned short>* out) const {
    out->Clear();
    out->EnsureCapacity(length, false);  // never more units than bytes
    unsigned state = Accept, cp = 0;
    bool ok = true;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(ToChar());
    for (int i = 0; i < length; i++) {
        unsigned before = state;
        Step(&state, &cp, s[i]);
        if (state == Accept) {
            AddCodePoint(out, cp);
        } else if (state == Reject) {
            out->Add(Replacement);
            ok = false;
            state = Accept;
            if (before != Accept) i--;  // the breaking byte may start a new sequence
        }
    }
    if (state != Accept) {
        out->Add(Replacement);
        ok = false;
    }
    return ok;
}

// A bad sequence counts up to the byte that broke it (at least one byte), so
// stepping through a text by these lengths visits the same characters, and
// the same replacement characters, as DecodeUTF8.
int cStr::CalcUTF8Length(int pos) const {
    if (pos < 0 || pos >= length) return 0;
    unsigned state = Accept, cp = 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(buffer);
    for (int i = pos; i < length; i++) {
        Step(&state, &cp, s[i]);
        if (state == Accept) return i - pos + 1;
        if (state == Reject) return i > pos ? i - pos : 1;
    }
    return length - pos;
}

}  // namespace zozud
