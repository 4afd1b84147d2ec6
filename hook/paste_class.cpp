#include "paste_class.h"

#include "class_name.h"

static const char* const PASTE_CLASSES[] = {"EDIT", "RichEdit20A", "PimWclasschild32", "RichEdit20W",
                                             "RICHEDIT50W"};

const PasteKeyEvent PASTE_KEY_EVENTS[PASTE_KEY_EVENT_COUNT] = {
    {0x11, 0},  // Ctrl down
    {0x56, 0},  // V down
    {0x56, 2},  // V up
    {0x11, 2},  // Ctrl up
};

bool IsPasteClassName(const char* windowClass) {
    for (const char* pasteClass : PASTE_CLASSES) {
        if (EqualsIgnoringAsciiCase(windowClass, pasteClass)) {
            return true;
        }
    }
    return false;
}

size_t ClipboardBlockSize(size_t wordLength) {
    return wordLength + 10;
}
