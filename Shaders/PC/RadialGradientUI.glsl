// Radial gradients of the 2D helpers: the distance of a pixel to the segment
// c_SegFrom..c_SegTo, less c_SegRadius, over c_GradRadius, raised to c_Power,
// blends c_CenterColor (0) into c_BoundColor (1). HORIZONTAL measures only the
// vertical distance (a horizontal tube). A cave corner also gives the cave
// line c_CaveFrom..c_CaveTo: pixels on its right-hand side are left out.

// Vertex shader
#define UI_POSITION
#include "UIVertex.vert"

// Fragment shader
in vec2 v_Pos;
uniform vec2 c_SegFrom;
uniform vec2 c_SegTo;
uniform vec4 c_CenterColor;
uniform vec4 c_BoundColor;
uniform float c_SegRadius;
uniform float c_GradRadius;
uniform float c_Power;
uniform vec2 c_CaveFrom;
uniform vec2 c_CaveTo;
out vec4 o_Color;

float SegmentDistance(vec2 p, vec2 a, vec2 b) {
    vec2 ab = b - a;
    float len2 = dot(ab, ab);
    float t = len2 > 0.0 ? clamp(dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return length(p - (a + ab * t));
}

void main() {
#ifdef HORIZONTAL
    float d = abs(v_Pos.y - c_SegFrom.y);
#else
    float d = SegmentDistance(v_Pos, c_SegFrom, c_SegTo);
#endif
    vec2 cave = c_CaveTo - c_CaveFrom;
    if (dot(cave, cave) > 0.0 && cave.x * (v_Pos.y - c_CaveFrom.y) - cave.y * (v_Pos.x - c_CaveFrom.x) < 0.0)
        discard;
    float t = clamp((d - c_SegRadius) / max(c_GradRadius, 1e-6), 0.0, 1.0);
    o_Color = mix(c_CenterColor, c_BoundColor, pow(t, max(c_Power, 1e-6)));
}
