// The vertex stage of the 3D shaders with one colour per vertex: positions
// through one matrix to clip space, the colour passed on as v_Color. A
// shader's vertex section defines WORLD_VIEW_PROJECTION as the name of the
// matrix uniform it takes, then includes this.

in vec3 Pos;
in vec4 Color;
uniform mat4 WORLD_VIEW_PROJECTION;
out vec4 v_Color;

void main() {
    gl_Position = WORLD_VIEW_PROJECTION * vec4(Pos, 1.0);
    v_Color = Color;
}
