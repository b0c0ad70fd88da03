// The ground grid: lines in the grid's plane through the matrix the helper
// gives, one colour per vertex.

// Vertex shader
#define WORLD_VIEW_PROJECTION c_WorldViewProjectionMatrix
#include "ColoredVertex.vert"

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
