// Putting the chosen word on the clipboard as plain text, for the paste that follows.
#include <cstring>

#include "hook_operations.h"
#include "paste_class.h"

// Movable, zero-filled, shareable memory: the word, its NUL and nine zero bytes.
static const UINT CLIPBOARD_BLOCK_FLAGS = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE;
static_assert(CLIPBOARD_BLOCK_FLAGS == 0x2042, "clipboard block flags");

// The earlier content is discarded only once the new text is ready; on any failure the
// clipboard keeps it. Once handed to the clipboard, the block belongs to the system.
void PutOnClipboard(HWND owner, const char* word) {
    if (!OpenClipboard(owner)) {
        return;
    }
    size_t length = strlen(word);
    HGLOBAL block = GlobalAlloc(CLIPBOARD_BLOCK_FLAGS, ClipboardBlockSize(length));
    if (block == nullptr) {
        CloseClipboard();
        return;
    }
    char* text = static_cast<char*>(GlobalLock(block));
    if (text == nullptr) {
        GlobalFree(block);
        CloseClipboard();
        return;
    }
    memcpy(text, word, length + 1);
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}
