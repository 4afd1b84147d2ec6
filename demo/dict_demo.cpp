#include <cstdio>
#include "conv_function.h"
int main() { return ConvFunction(CONV_INIT, -1, -1, -1, -1) == 1 ? 0 : 1; }
