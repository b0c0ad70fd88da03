// Icons: the texture times the vertex colour; disabled icons are grey and
// half transparent, hot icons a little brighter; c_Alpha fades the whole icon.

// Vertex shader
#define UI_COLOR
#define UI_TEXCOORD
#include "UIVertex.vert"

// Fragment shader
in vec4 v_Color;
in vec2 v_TexCoord;
uniform sampler2D s_Decal;
uniform float c_Disabled;
uniform float c_Hot;
uniform float c_Alpha;
out vec4 o_Color;

void main() {
    vec4 c = texture(s_Decal, v_TexCoord) * v_Color;
    if (c_Disabled > 0.5) {
        c.rgb = vec3(dot(c.rgb, vec3(0.299, 0.587, 0.114)));
        c.a *= 0.5;
    }
    if (c_Hot > 0.5) c.rgb = min(c.rgb * 1.2 + 0.05, 1.0);
    o_Color = vec4(c.rgb, c.a * c_Alpha);
}
