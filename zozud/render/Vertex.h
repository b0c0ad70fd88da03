// cVertex: vertex attributes, vertex formats and the framework's named vertex
// layouts. Each layout is a plain structure whose fields follow its format
// field after field, so arrays of them go to the renderer as raw memory;
// Register gives every layout its renderer format id (-1 until then).
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

struct cVertexType {
    enum Enum { Float = 0, Byte = 1 };
    static int SizeOf(int type);  // 4, 1, or 0 for anything else
};

struct cVertexUsage {
    enum Enum { Generic = 0, Position, Normal, TexCoord, Tangent, BiTangent, Indices, Weights };
};

class cVertex {
public:
    // One field of a vertex.
    struct Attrib {
        cStr                Name;
        cVertexUsage::Enum  Usage = cVertexUsage::Generic;
        cVertexType::Enum   Type = cVertexType::Float;
        int                 Count = 0;

        bool IsValid() const;  // the usage accepts this type and count
        int  GetSize() const { return Count * cVertexType::SizeOf(Type); }
    };

    // The fields of a vertex in memory order.
    struct Format {
        cList<Attrib> Attribs;

        void Add(const char* name, cVertexUsage::Enum usage, cVertexType::Enum type, int count);
        // The first attribute of a usage: its byte offset and count (each out may be null).
        bool HasUsage(cVertexUsage::Enum usage, int* offset = nullptr, int* count = nullptr) const;
        int  GetSize() const;  // bytes of one vertex
    };

    // ---- Named layouts ----
    struct PositionColored          { cVec3 Pos; unsigned Color; static int FormatID; };
    struct PositionColoredTextured  { cVec3 Pos; unsigned Color; cVec2 TexCoord; static int FormatID; };
    struct PositionColoredTextured2 { cVec3 Pos; unsigned Color; cVec2 TexCoord0, TexCoord1; static int FormatID; };
    struct Particle                 { cVec3 Pos; unsigned Color; cVec2 TexCoord, RightUp; cVec3 Forward; static int FormatID; };
    struct PositionNormal           { cVec3 Pos, Normal; static int FormatID; };
    struct PositionNormalColored    { cVec3 Pos, Normal; unsigned Color; static int FormatID; };
    struct PositionNormalTextured   { cVec3 Pos, Normal; cVec2 TexCoord; static int FormatID; };
    struct PositionOnly             { cVec3 Pos; static int FormatID; };
    struct PositionRhw              { cVec4 Pos; static int FormatID; };
    struct PositionTextured         { cVec3 Pos; cVec2 TexCoord; static int FormatID; };
    struct Bump                     { cVec3 Pos, Normal; cVec2 TexCoord; cVec3 Tangent, BiTangent; static int FormatID; };
    struct Anim                     { cVec3 Pos, Normal; cVec2 TexCoord; cVec3 Tangent, BiTangent; cVec4 Indices, Weights; static int FormatID; };
    struct ShadowVolume             { cVec3 Pos0, Pos1, Pos2; cVec4 Indices0, Weights0, Indices1, Weights1, Indices2, Weights2; static int FormatID; };

    // The format of each named layout, by the order above (0..12).
    static const int LayoutCount = 13;
    static Format    GetLayoutFormat(int layout);  // empty outside 0..12

    // Registers every layout with the renderer and stores the ids it returns.
    static void Register();
};

}  // namespace zozud
