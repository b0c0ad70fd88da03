// A textured rectangle: SRC_1D (a texture one row high), SRC_2D, SRC_3D (the
// slice c_FaceIndex) or SRC_CUBE (the face c_FaceIndex, +X -X +Y -Y +Z -Z, as
// its image is stored). OVERRIDE_ALPHA draws with c_Alpha instead of the
// texture's alpha, ALPHA_CHANNEL_AS_COLOR shows the alpha channel as grey.
// The result is multiplied by the vertex colour.

// Vertex shader
#define UI_COLOR
#define UI_TEXCOORD
#include "UIVertex.vert"

// Fragment shader
in vec4 v_Color;
in vec2 v_TexCoord;
uniform float c_Alpha;
uniform int c_FaceIndex;
out vec4 o_Color;

#if defined(SRC_3D)
uniform sampler3D s_Src;
vec4 Fetch(vec2 uv) {
    float slices = float(textureSize(s_Src, 0).z);
    return texture(s_Src, vec3(uv, (float(c_FaceIndex) + 0.5) / slices));
}
#elif defined(SRC_CUBE)
uniform samplerCube s_Src;
vec4 Fetch(vec2 uv) {
    vec2 c = uv * 2.0 - 1.0;
    vec3 d;
    if (c_FaceIndex == 0) d = vec3(1.0, -c.y, -c.x);
    else if (c_FaceIndex == 1) d = vec3(-1.0, -c.y, c.x);
    else if (c_FaceIndex == 2) d = vec3(c.x, 1.0, c.y);
    else if (c_FaceIndex == 3) d = vec3(c.x, -1.0, -c.y);
    else if (c_FaceIndex == 4) d = vec3(c.x, -c.y, 1.0);
    else d = vec3(-c.x, -c.y, -1.0);
    return texture(s_Src, d);
}
#else
uniform sampler2D s_Src;
vec4 Fetch(vec2 uv) {
    return texture(s_Src, uv);
}
#endif

void main() {
    vec4 c = Fetch(v_TexCoord);
#ifdef ALPHA_CHANNEL_AS_COLOR
    c = vec4(c.aaa, 1.0);
#endif
#ifdef OVERRIDE_ALPHA
    c.a = c_Alpha;
#else
    c.a *= c_Alpha;
#endif
    o_Color = c * v_Color;
}
