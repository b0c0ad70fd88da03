// Text: glyph quads in pixels of the viewport (y up). Texture coordinates
// arrive in texels of the glyph texture and are scaled here. The glyph's
// coverage is its red channel times its alpha (white ink on black in an
// opaque texture, or white ink with coverage in alpha); it scales the alpha
// of the vertex colour.

// Vertex shader
#define UI_COLOR
#define UI_TEXCOORD
#include "UIVertex.vert"

// Fragment shader
in vec4 v_Color;
in vec2 v_TexCoord;
uniform sampler2D s_Glyphs;
out vec4 o_Color;

void main() {
    vec4 t = texture(s_Glyphs, v_TexCoord / vec2(textureSize(s_Glyphs, 0)));
    o_Color = vec4(v_Color.rgb, v_Color.a * t.r * t.a);
}
