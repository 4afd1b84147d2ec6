#include "key_classify.h"

unsigned ScanCodeOfKey(std::uint32_t keyLParam) {
    return (keyLParam >> 16) & 0xFFu;
}

bool IsImeProcessing(unsigned keyCode) {
    return keyCode == KEY_IME_PROCESS;
}

// Down and Up count by their own key code or, while the IME processes keys, by the mapped
// key; the page keys only in the second way, so that they otherwise reach the application.
HookKey ClassifyKey(unsigned keyCode, unsigned mappedKey) {
    bool ime = IsImeProcessing(keyCode);
    if (keyCode == KEY_DOWN || (ime && mappedKey == KEY_DOWN)) {
        return HOOK_KEY_DOWN;
    }
    if (keyCode == KEY_UP || (ime && mappedKey == KEY_UP)) {
        return HOOK_KEY_UP;
    }
    if (ime && mappedKey == KEY_PAGE_DOWN) {
        return HOOK_KEY_PAGE_DOWN;
    }
    if (ime && mappedKey == KEY_PAGE_UP) {
        return HOOK_KEY_PAGE_UP;
    }
    if (mappedKey == KEY_RETURN) {
        return HOOK_KEY_ENTER;
    }
    if (keyCode == KEY_DELETE || (ime && mappedKey == KEY_DELETE)) {
        return HOOK_KEY_DELETE;
    }
    return HOOK_KEY_OTHER;
}

bool IsSelectionKey(HookKey key) {
    return key == HOOK_KEY_DOWN || key == HOOK_KEY_UP || key == HOOK_KEY_PAGE_DOWN ||
           key == HOOK_KEY_PAGE_UP;
}
