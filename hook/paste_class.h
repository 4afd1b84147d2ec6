// Which target windows paste on a WM_PASTE message (and then notify the clipboard tool);
// every other window gets a synthetic Ctrl+V.
#pragma once

#include <cstddef>

// True when windowClass is "EDIT", "RichEdit20A", "PimWclasschild32", "RichEdit20W" or
// "RICHEDIT50W" (the Unicode rich edit controls), ignoring the case of ASCII letters.
bool IsPasteClassName(const char* windowClass);

// Bytes of the clipboard block for a word of wordLength bytes: the word, its NUL and nine
// zero bytes.
size_t ClipboardBlockSize(size_t wordLength);

// The synthetic Ctrl+V, in the order it is sent.
struct PasteKeyEvent {
    unsigned char key;  // virtual key
    unsigned flags;     // 0 for a press, 2 (KEYEVENTF_KEYUP) for a release
};
constexpr int PASTE_KEY_EVENT_COUNT = 4;
extern const PasteKeyEvent PASTE_KEY_EVENTS[PASTE_KEY_EVENT_COUNT];
