// A two-colour checker of single pixels: c_Color0 on the pixel at c_Orig and
// on every pixel an even number of steps away from it, c_Color1 between.

// Vertex shader
#define UI_POSITION
#include "UIVertex.vert"

// Fragment shader
in vec2 v_Pos;
uniform vec2 c_Orig;
uniform vec4 c_Color0;
uniform vec4 c_Color1;
out vec4 o_Color;

void main() {
    ivec2 cell = ivec2(floor(v_Pos - c_Orig));
    o_Color = ((cell.x + cell.y) & 1) == 0 ? c_Color0 : c_Color1;
}
