// The vertex stage of the 2D shaders, in pixels of the viewport (y up). A
// shader's vertex section defines what it passes on, then includes this:
//   UI_COLOR          the vertex colour, as v_Color
//   UI_TEXCOORD       the texture coordinates, as v_TexCoord
//   UI_POSITION       the position after the world matrix, as v_Pos
//   UI_PIXEL_CENTRES  vertices moved half a pixel onto the pixel centres, so
//                     that integer coordinates name pixels (lines, points)

in vec3 Pos;
uniform mat4 g_WorldMatrix;
uniform mat4 g_ScreenMatrix;
#ifdef UI_COLOR
in vec4 Color;
out vec4 v_Color;
#endif
#ifdef UI_TEXCOORD
in vec2 TexCoord;
out vec2 v_TexCoord;
#endif
#ifdef UI_POSITION
out vec2 v_Pos;
#endif

void main() {
    vec4 p = g_WorldMatrix * vec4(Pos, 1.0);
#ifdef UI_POSITION
    v_Pos = p.xy;
#endif
#ifdef UI_PIXEL_CENTRES
    p.xy += 0.5;
#endif
    gl_Position = g_ScreenMatrix * p;
#ifdef UI_COLOR
    v_Color = Color;
#endif
#ifdef UI_TEXCOORD
    v_TexCoord = TexCoord;
#endif
}
