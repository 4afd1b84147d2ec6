// What crosses between the resident program and the hook library running in other
// processes: the shared block that carries two strings, and the window messages.
#pragma once

#include <cstddef>

// The ExchangeBlock: a named block of shared memory backed by the paging file.
constexpr const char* EXCHANGE_BLOCK_NAME = "zelvoservermappingfile";
constexpr size_t EXCHANGE_BLOCK_SIZE = 0x10000;
constexpr size_t EXCHANGE_FIRST_OFFSET = 0;     // word, or composition string
constexpr size_t EXCHANGE_SECOND_OFFSET = 256;  // reading
constexpr size_t EXCHANGE_FIELD_SIZE = 256;     // each field: at most 255 bytes and the NUL
constexpr unsigned char EXCHANGE_FRESH_MARK = 100;  // byte 0 right after creation ("d")

// Private messages to the CandidateWindow (fixed numbers).
constexpr unsigned WM_ZELVO_TRAY = 3525;      // tray icon callback: wParam icon id, lParam mouse message
constexpr unsigned WM_ZELVO_HIDE = 4524;      // hide the CandidateWindow
constexpr unsigned WM_ZELVO_REGISTER = 4525;  // block holds word and reading: remember them
constexpr unsigned WM_ZELVO_SHOW = 4526;      // block holds composition and reading; wParam position, lParam target

// Registered messages (RegisterWindowMessageA gives every process the same number).
constexpr const char* COMMIT_MESSAGE_NAME = "Zelvo_kakuteiMSG";
constexpr const char* MOVE_MESSAGE_NAME = "Zelvo_moveMSG";
constexpr const char* DUMMY_MESSAGE_NAME = "zelvo-dummymsg";

// Class and control id of the resident program's windows.
constexpr const char* CANDIDATE_CLASS_NAME = "zelvoclass";
constexpr int CANDIDATE_LIST_ID = 105;

// The screen position of a show request: x in the low 16 bits, y in the high 16 bits.
constexpr unsigned long PackShowPosition(int x, int y) {
    return (static_cast<unsigned long>(static_cast<unsigned>(y) & 0xFFFFu) << 16) |
           (static_cast<unsigned>(x) & 0xFFFFu);
}
// Back to signed screen coordinates (monitors left of or above the primary one are negative).
constexpr int ShowPositionX(unsigned long packed) {
    return static_cast<short>(packed & 0xFFFFu);
}
constexpr int ShowPositionY(unsigned long packed) {
    return static_cast<short>((packed >> 16) & 0xFFFFu);
}
