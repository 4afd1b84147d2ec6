#include "selection.h"

#include <climits>

#include "class_name.h"
#include "key_classify.h"

SelectionMove MoveOfSelectionKey(unsigned keyCode, unsigned mappedKey) {
    if (mappedKey == KEY_PAGE_DOWN || mappedKey == KEY_PAGE_UP) {
        return SELECTION_PAGE;
    }
    if (keyCode == KEY_DOWN || mappedKey == KEY_DOWN) {
        return SELECTION_DOWN;
    }
    return SELECTION_UP;
}

bool NextSelection(int current, SelectionMove move, int* next) {
    if (move == SELECTION_DOWN) {
        if (current == INT_MAX) {
            return false;
        }
        *next = current < 0 ? 0 : current + 1;
        return true;
    }
    if (move == SELECTION_UP && current >= 0) {
        *next = current - 1;
        return true;
    }
    return false;
}

std::uint32_t KeyUpLParam(std::uint32_t keyDownLParam) {
    return keyDownLParam | 0x80000000u;
}

bool ConsumesSelectionKey(bool controlDown, const char* windowClass) {
    return !(controlDown && IsWordWindowClass(windowClass));
}
