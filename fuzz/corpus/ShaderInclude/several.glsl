#include "a"
#include "b" tail
  #include "c"
#include "x-missing"
