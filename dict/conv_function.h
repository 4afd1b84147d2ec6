// The one export of the dictionary library and its operation codes.
#pragma once

#include <windows.h>

enum ConvOperation {
    CONV_INIT = 1,      // nothing; returns 1
    CONV_REGISTER = 2,  // a = word, b = reading
    CONV_LOOKUP = 3,    // a = list box, b = query reading; returns the number of candidates
    CONV_LOAD = 4,      // a = dictionary path
    CONV_SAVE = 5,      // a = dictionary path
};

#ifdef ZELVOD_BUILD
#define ZELVOD_API extern "C" __declspec(dllexport)
#else
#define ZELVOD_API extern "C" __declspec(dllimport)
#endif

// c and d are never read; callers pass -1 for every argument an operation does not read.
ZELVOD_API int WINAPI ConvFunction(INT_PTR op, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d);
