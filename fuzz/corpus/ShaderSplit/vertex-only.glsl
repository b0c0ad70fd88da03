// Vertex shader only
void main() {}
