// The enumerations of the render front end and its device: depth, blend and
// cull state, topologies, sampler filters and address modes. Values are the
// codes that cross the device interface.
#pragma once

namespace zozud {

struct cDepthFunc {
    enum Enum { Never = 0, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
};

struct cBlendFactor {
    enum Enum { Zero = 0, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha, DstAlpha, InvDstAlpha,
                DstColor, InvDstColor };
};

struct cBlendMode {
    enum Enum { Add = 0, Subtract, ReverseSubtract, Min, Max };
};

struct cCullMode {
    enum Enum { None = 0, Back, Front };  // 0: no culling
};

struct cTopology {
    enum Enum { Points = 0, Lines = 1, LineStrip = 2, Triangles = 3, TriangleStrip = 4 };
};

struct cFilter {
    enum Enum { Nearest = 0, Linear, Bilinear, Trilinear, BilinearAniso, TrilinearAniso, Count };
    static const char* ToString(Enum value);  // the caller passes a valid value
};

struct cAddressMode {
    enum Enum { Wrap = 0, Clamp, Mirror, Count };
    static const char* ToString(Enum value);  // the caller passes a valid value
};

}  // namespace zozud
