// ConvFunction: the dictionary library's dispatcher, and the list box side of a lookup.
#include "conv_function.h"

#include "dict_file.h"
#include "dict_table.h"

// Fills the list box with the candidate lines for query, most recent first.
static int DictLookup(HWND listBox, const char* query) {
    // An empty list box needs no reset, and under some window systems the reset of an empty
    // list still costs a repaint: skip it, the list ends up the same.
    if (SendMessageA(listBox, LB_GETCOUNT, 0, 0) != 0) {
        SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    }
    static int indices[DICT_CAPACITY];
    int count = DictFindCandidates(query, indices);
    if (count == 0) {
        return 0;
    }
    char line[CANDIDATE_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        FormatCandidateLine(indices[i], line);
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    return count;
}

extern "C" int WINAPI ConvFunction(INT_PTR op, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d) {
    (void)c;
    (void)d;
    switch (op) {
    case CONV_INIT:
        return 1;
    case CONV_REGISTER:
        return DictRegister(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
    case CONV_LOOKUP:
        return DictLookup(reinterpret_cast<HWND>(a), reinterpret_cast<const char*>(b));
    case CONV_LOAD:
        return DictLoad(reinterpret_cast<const char*>(a));
    case CONV_SAVE:
        return DictSave(reinterpret_cast<const char*>(a));
    default:
        return 0;
    }
}
