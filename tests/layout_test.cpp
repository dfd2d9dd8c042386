// The layout checks of layout_test.c, compiled as C++.
#include "layout_test.c"
