// 3D lines and solids of the helpers: positions in world space through the
// world, view and projection matrices, one colour per vertex.

// Vertex shader
#define WORLD_VIEW_PROJECTION g_WorldViewProjectionMatrix
#include "ColoredVertex.vert"

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
