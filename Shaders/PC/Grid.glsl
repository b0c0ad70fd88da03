// The ground grid: lines in the grid's plane through the matrix the helper
// gives, one colour per vertex.

// Vertex shader
in vec3 Pos;
in vec4 Color;
uniform mat4 c_WorldViewProjectionMatrix;
out vec4 v_Color;

void main() {
    gl_Position = c_WorldViewProjectionMatrix * vec4(Pos, 1.0);
    v_Color = Color;
}

// Fragment shader
in vec4 v_Color;
out vec4 o_Color;

void main() {
    o_Color = v_Color;
}
