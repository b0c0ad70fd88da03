#include "zozud/render/Vertex.h"

#include "zozud/render/Render.h"

namespace zozud {

int cVertex::PositionColored::FormatID = -1;
int cVertex::PositionColoredTextured::FormatID = -1;
int cVertex::PositionColoredTextured2::FormatID = -1;
int cVertex::Particle::FormatID = -1;
int cVertex::PositionNormal::FormatID = -1;
int cVertex::PositionNormalColored::FormatID = -1;
int cVertex::PositionNormalTextured::FormatID = -1;
int cVertex::PositionOnly::FormatID = -1;
int cVertex::PositionRhw::FormatID = -1;
int cVertex::PositionTextured::FormatID = -1;
int cVertex::Bump::FormatID = -1;
int cVertex::Anim::FormatID = -1;
int cVertex::ShadowVolume::FormatID = -1;

int cVertexType::SizeOf(int type) {
    switch (type) {
    case cVertexType::Float: return 4;
    case cVertexType::Byte: return 1;
    default: return 0;
    }
}

bool cVertex::Attrib::IsValid() const {
    bool isFloat = Type == cVertexType::Float;
    switch (Usage) {
    case cVertexUsage::Generic:   return isFloat ? Count >= 1 && Count <= 4 : Type == cVertexType::Byte && Count == 4;
    case cVertexUsage::Position:  return isFloat && (Count == 3 || Count == 4);
    case cVertexUsage::Normal:
    case cVertexUsage::Tangent:
    case cVertexUsage::BiTangent: return isFloat && Count == 3;
    case cVertexUsage::TexCoord:  return isFloat && Count >= 2 && Count <= 4;
    case cVertexUsage::Indices:
    case cVertexUsage::Weights:   return isFloat && Count == 4;
    }
    return false;
}

void cVertex::Format::Add(const char* name, cVertexUsage::Enum usage, cVertexType::Enum type, int count) {
    Attrib a;
    a.Name = name;
    a.Usage = usage;
    a.Type = type;
    a.Count = count;
    Attribs.Add(a);
}

bool cVertex::Format::HasUsage(cVertexUsage::Enum usage, int* offset, int* count) const {
    int at = 0;
    for (const Attrib& a : Attribs) {
        if (a.Usage == usage) {
            if (offset) *offset = at;
            if (count) *count = a.Count;
            return true;
        }
        at += a.GetSize();
    }
    return false;
}

int cVertex::Format::GetSize() const {
    int size = 0;
    for (const Attrib& a : Attribs) size += a.GetSize();
    return size;
}

namespace {

using U = cVertexUsage;
const cVertexType::Enum F = cVertexType::Float;

void AddPos(cVertex::Format& f) { f.Add("Pos", U::Position, F, 3); }
void AddColor(cVertex::Format& f) { f.Add("Color", U::Generic, cVertexType::Byte, 4); }
void AddNormal(cVertex::Format& f) { f.Add("Normal", U::Normal, F, 3); }
void AddTexCoord(cVertex::Format& f) { f.Add("TexCoord", U::TexCoord, F, 2); }

void AddBump(cVertex::Format& f) {
    AddPos(f);
    AddNormal(f);
    AddTexCoord(f);
    f.Add("Tangent", U::Tangent, F, 3);
    f.Add("BiTangent", U::BiTangent, F, 3);
}

void AddShadowVolume(cVertex::Format& f) {
    f.Add("Pos0", U::Position, F, 3);
    f.Add("Pos1", U::Generic, F, 3);
    f.Add("Pos2", U::Generic, F, 3);
    const char* names[] = {"Indices0", "Weights0", "Indices1", "Weights1", "Indices2", "Weights2"};
    for (const char* name : names) f.Add(name, U::Generic, F, 4);
}

}  // namespace

cVertex::Format cVertex::GetLayoutFormat(int layout) {
    Format f;
    switch (layout) {
    case 0: AddPos(f); AddColor(f); break;
    case 1: AddPos(f); AddColor(f); AddTexCoord(f); break;
    case 2: AddPos(f); AddColor(f); f.Add("TexCoord0", U::TexCoord, F, 2); f.Add("TexCoord1", U::Generic, F, 2); break;
    case 3: AddPos(f); AddColor(f); AddTexCoord(f); f.Add("RightUp", U::Generic, F, 2); f.Add("Forward", U::Generic, F, 3); break;
    case 4: AddPos(f); AddNormal(f); break;
    case 5: AddPos(f); AddNormal(f); AddColor(f); break;
    case 6: AddPos(f); AddNormal(f); AddTexCoord(f); break;
    case 7: AddPos(f); break;
    case 8: f.Add("Pos", U::Position, F, 4); break;
    case 9: AddPos(f); AddTexCoord(f); break;
    case 10: AddBump(f); break;
    case 11: AddBump(f); f.Add("Indices", U::Indices, F, 4); f.Add("Weights", U::Weights, F, 4); break;
    case 12: AddShadowVolume(f); break;
    default: break;
    }
    return f;
}

void cVertex::Register() {
    int* ids[LayoutCount] = {
        &PositionColored::FormatID, &PositionColoredTextured::FormatID, &PositionColoredTextured2::FormatID,
        &Particle::FormatID, &PositionNormal::FormatID, &PositionNormalColored::FormatID,
        &PositionNormalTextured::FormatID, &PositionOnly::FormatID, &PositionRhw::FormatID,
        &PositionTextured::FormatID, &Bump::FormatID, &Anim::FormatID, &ShadowVolume::FormatID,
    };
    for (int i = 0; i < LayoutCount; i++) *ids[i] = cRender::AddVertexFormat(GetLayoutFormat(i));
}

// The structures must match their formats byte for byte.
static_assert(sizeof(cVertex::PositionColored) == 16, "layout size");
static_assert(sizeof(cVertex::PositionColoredTextured) == 24, "layout size");
static_assert(sizeof(cVertex::PositionColoredTextured2) == 32, "layout size");
static_assert(sizeof(cVertex::Particle) == 44, "layout size");
static_assert(sizeof(cVertex::PositionNormal) == 24, "layout size");
static_assert(sizeof(cVertex::PositionNormalColored) == 28, "layout size");
static_assert(sizeof(cVertex::PositionNormalTextured) == 32, "layout size");
static_assert(sizeof(cVertex::PositionOnly) == 12, "layout size");
static_assert(sizeof(cVertex::PositionRhw) == 16, "layout size");
static_assert(sizeof(cVertex::PositionTextured) == 20, "layout size");
static_assert(sizeof(cVertex::Bump) == 56, "layout size");
static_assert(sizeof(cVertex::Anim) == 88, "layout size");
static_assert(sizeof(cVertex::ShadowVolume) == 132, "layout size");

}  // namespace zozud
