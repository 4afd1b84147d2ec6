// Which key a WM_KEYDOWN stands for. While an IME processes keys the key code K is
// VK_PROCESSKEY and only the key mapped from the scan code (M) tells the real key.
#pragma once

#include <cstdint>

constexpr unsigned KEY_RETURN = 0x0D;       // VK_RETURN
constexpr unsigned KEY_CONTROL = 0x11;      // VK_CONTROL
constexpr unsigned KEY_PAGE_UP = 0x21;      // VK_PRIOR
constexpr unsigned KEY_PAGE_DOWN = 0x22;    // VK_NEXT
constexpr unsigned KEY_UP = 0x26;           // VK_UP
constexpr unsigned KEY_DOWN = 0x28;         // VK_DOWN
constexpr unsigned KEY_DELETE = 0x2E;       // VK_DELETE
constexpr unsigned KEY_IME_PROCESS = 0xE5;  // VK_PROCESSKEY

enum HookKey {
    HOOK_KEY_OTHER,      // left to the application
    HOOK_KEY_DOWN,
    HOOK_KEY_UP,
    HOOK_KEY_PAGE_DOWN,  // only while the IME processes keys
    HOOK_KEY_PAGE_UP,    // only while the IME processes keys
    HOOK_KEY_ENTER,
    HOOK_KEY_DELETE,     // by K, or by M while the IME processes keys: with Shift, removes the word
};

// Bits 16 to 23 of a key message's lParam.
unsigned ScanCodeOfKey(std::uint32_t keyLParam);

// True when the key code says that the IME is processing the key.
bool IsImeProcessing(unsigned keyCode);

// The key of a key-down, from its key code K and the key M mapped from its scan code.
HookKey ClassifyKey(unsigned keyCode, unsigned mappedKey);

// True for the keys that move the CandidateList selection.
bool IsSelectionKey(HookKey key);
