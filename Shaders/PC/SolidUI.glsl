// Solid and per-vertex coloured fills of the 2D helpers, in pixels of the
// viewport (y up): a rectangle from (0, 0) to (10, 10) covers pixels 0 to 9.

// Vertex shader
in vec3 Pos;
in vec4 Color;
uniform mat4 g_WorldMatrix;
uniform mat4 g_ScreenMatrix;
out vec4 v_Color;

void main() {
    gl_Position = g_ScreenMatrix * (g_WorldMatrix * vec4(Pos, 1.0));
    v_Color = Color;
}

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
