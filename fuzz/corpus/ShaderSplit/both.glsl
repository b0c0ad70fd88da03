// Vertex shader
uniform mat4 g_WorldViewProjectionMatrix;
void main() { gl_Position = vec4(0); }
// Fragment shader
void main() { gl_FragColor = vec4(1); }
