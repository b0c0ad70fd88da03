#define X 1
// PIXEL SHADER
float4 main() : COLOR { return 1; }
// vertex shader
float4 main() : POSITION { return 0; }
