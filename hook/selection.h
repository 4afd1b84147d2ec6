// How a selection key moves the CandidateList selection. Indices are those of the list box:
// -1 means that no item is selected.
#pragma once

#include <cstdint>

enum SelectionMove {
    SELECTION_PAGE,  // the key is handed to the list box, which moves by a page itself
    SELECTION_DOWN,
    SELECTION_UP,
};

// The move of a selection key, from its key code K and mapped key M: a page key by M first,
// then down when K or M is Down, else up.
SelectionMove MoveOfSelectionKey(unsigned keyCode, unsigned mappedKey);

// The index to select after a down or up move from current. Returns false when the selection
// stays as it is (up with nothing selected, or no index after current). Down from no
// selection (any negative index) selects the first item; up from the first item leaves
// nothing selected.
bool NextSelection(int current, SelectionMove move, int* next);

// lParam of the key-up that follows a page key posted to the list box: bit 31 set.
std::uint32_t KeyUpLParam(std::uint32_t keyDownLParam);

// A selection key is consumed, except Ctrl plus the key in a window of class "_WwG", which
// also reaches the application.
bool ConsumesSelectionKey(bool controlDown, const char* windowClass);
