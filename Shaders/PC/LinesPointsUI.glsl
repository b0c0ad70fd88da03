// Lines and points of the 2D helpers, in pixels of the viewport (y up).
// Integer coordinates name pixels: the vertices move to the pixel centres so
// that a line from (0, 0) to (0, 9) lights the pixels 0 to 8 of column 0.

// Vertex shader
in vec3 Pos;
in vec4 Color;
uniform mat4 g_WorldMatrix;
uniform mat4 g_ScreenMatrix;
out vec4 v_Color;

void main() {
    vec4 p = g_WorldMatrix * vec4(Pos, 1.0);
    gl_Position = g_ScreenMatrix * vec4(p.xy + 0.5, p.z, p.w);
    v_Color = Color;
}

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
