#include "open
