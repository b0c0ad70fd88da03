// Solid and per-vertex coloured fills of the 2D helpers, in pixels of the
// viewport (y up): a rectangle from (0, 0) to (10, 10) covers pixels 0 to 9.

// Vertex shader
#define UI_COLOR
#include "UIVertex.vert"

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
