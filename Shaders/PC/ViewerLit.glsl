// The model viewer's surfaces: world-space normals lit by one directional
// light and a sky/ground ambient, both faces (files disagree on winding).
// DIFFUSE_MAP multiplies a diffuse texture in; NORMAL_MAP bends the normal by
// a tangent-space normal map. Without the maps the texture coordinates and
// the tangent frame are not passed on: fewer values for the rasteriser to
// interpolate over every pixel.

// Vertex shader
in vec3 Pos;
in vec3 Normal;
in vec2 TexCoord;
in vec3 Tangent;
in vec3 BiTangent;
uniform mat4 g_WorldViewProjectionMatrix;
uniform mat4 g_WorldMatrix;
uniform vec3 g_ViewerPos;
out vec3 v_Normal;
#ifdef NORMAL_MAP
out vec3 v_Tangent;
out vec3 v_BiTangent;
#endif
#if defined(DIFFUSE_MAP) || defined(NORMAL_MAP)
out vec2 v_TexCoord;
#endif
out vec3 v_ToEye;

void main() {
    gl_Position = g_WorldViewProjectionMatrix * vec4(Pos, 1.0);
    mat3 world = mat3(g_WorldMatrix);
    v_Normal = world * Normal;
#ifdef NORMAL_MAP
    v_Tangent = world * Tangent;
    v_BiTangent = world * BiTangent;
#endif
#if defined(DIFFUSE_MAP) || defined(NORMAL_MAP)
    v_TexCoord = TexCoord;
#endif
    v_ToEye = g_ViewerPos - (g_WorldMatrix * vec4(Pos, 1.0)).xyz;
}

// Fragment shader
in vec3 v_Normal;
#ifdef NORMAL_MAP
in vec3 v_Tangent;
in vec3 v_BiTangent;
#endif
#if defined(DIFFUSE_MAP) || defined(NORMAL_MAP)
in vec2 v_TexCoord;
#endif
in vec3 v_ToEye;
uniform vec3 c_LightDir;   // towards the light
out vec4 o_Color;
#ifdef DIFFUSE_MAP
uniform sampler2D s_Diffuse;
#endif
#ifdef NORMAL_MAP
uniform sampler2D s_Normal;
#endif

void main() {
    vec3 n = normalize(v_Normal);
    if (dot(n, v_ToEye) < 0.0) n = -n;  // the back face lit as its own front
#ifdef NORMAL_MAP
    vec3 t = texture(s_Normal, v_TexCoord).xyz * 2.0 - 1.0;
    n = normalize(normalize(v_Tangent) * t.x + normalize(v_BiTangent) * t.y + n * t.z);
#endif
    vec3 albedo = vec3(0.78, 0.74, 0.68);
#ifdef DIFFUSE_MAP
    albedo = texture(s_Diffuse, v_TexCoord).rgb;
#endif
    vec3 l = normalize(c_LightDir);
    float diffuse = max(dot(n, l), 0.0);
    vec3 h = normalize(l + normalize(v_ToEye));
    float specular = pow(max(dot(n, h), 0.0), 32.0) * 0.25;
    vec3 ambient = mix(vec3(0.16, 0.15, 0.14), vec3(0.3, 0.33, 0.38), n.y * 0.5 + 0.5);
    o_Color = vec4(albedo * (ambient + diffuse * vec3(0.85)) + specular, 1.0);
}
