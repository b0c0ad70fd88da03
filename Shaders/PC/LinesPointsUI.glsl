// Lines and points of the 2D helpers, in pixels of the viewport (y up).
// Integer coordinates name pixels: the vertices move to the pixel centres so
// that a line from (0, 0) to (0, 9) lights the pixels 0 to 8 of column 0.

// Vertex shader
#define UI_COLOR
#define UI_PIXEL_CENTRES
#include "UIVertex.vert"

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
