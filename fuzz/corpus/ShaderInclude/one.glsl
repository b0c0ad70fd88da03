// Vertex shader
#define UI_COLOR
#include "UIVertex.vert"
void main() {}
