// ConvFunction: the dictionary library's dispatcher, and the list box side of a lookup.
#include "conv_function.h"

#include "dict_file.h"
#include "dict_table.h"

// Fills the list box with the candidate lines for query, most recent first. The lines go in
// with repainting held back, so a long list costs one paint at the end, not one per line.
static int DictLookup(HWND listBox, const char* query) {
    static int indices[DICT_CAPACITY];
    int count = DictFindCandidates(query, indices);
    if (count == 0) {
        // An empty list needs no reset; a miss while the user types costs next to nothing.
        if (SendMessageA(listBox, LB_GETCOUNT, 0, 0) != 0) {
            SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        }
        return 0;
    }
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    // Room for every line at once instead of growing the list line by line.
    SendMessageA(listBox, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 32);
    char line[CANDIDATE_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        FormatCandidateLine(indices[i], line);
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
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
