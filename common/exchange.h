// What crosses between the resident program and the hook library running in other
// processes: the shared block with its two strings and the resident program's status
// record, the request records that carry their strings with them, and the window messages.
#pragma once

#include <cstddef>
#include <cstdint>

// The ExchangeBlock: a named block of shared memory backed by the paging file.
constexpr const char* EXCHANGE_BLOCK_NAME = "zelvoservermappingfile";
constexpr size_t EXCHANGE_BLOCK_SIZE = 0x10000;
constexpr size_t EXCHANGE_FIRST_OFFSET = 0;     // word, or composition string
constexpr size_t EXCHANGE_SECOND_OFFSET = 256;  // reading
constexpr size_t EXCHANGE_FIELD_SIZE = 256;     // each field: at most 255 bytes and the NUL
constexpr unsigned char EXCHANGE_FRESH_MARK = 100;  // byte 0 right after creation ("d")

// The resident program's status record, in the block after the two strings. 32-bit fields
// only, the same layout in both widths. Fields are only ever added at its end: size says how
// many bytes of it the resident program fills, so a reader knows which fields it may read.
constexpr size_t EXCHANGE_STATUS_OFFSET = 512;

// The programs the user keeps Zelvo out of, as published by the resident program. Names are
// program file names, upper-cased (CharUpperBuffW), UTF-16, each with its NUL, one after the
// other. The generation is odd while the resident program rewrites the names and counts up
// by two with every change: a reader that sees the same even generation before and after
// reading the names has read one whole list. 0 until the first list is published.
constexpr int EXCLUSION_MAX_NAMES = 32;
constexpr int EXCLUSION_NAME_CHARS = 256;  // a name of at most 255 characters and its NUL
constexpr int EXCLUSION_TEXT_CHARS = EXCLUSION_MAX_NAMES * EXCLUSION_NAME_CHARS;
struct ExclusionList {
    uint32_t generation;
    uint32_t count;                         // names in text
    uint16_t text[EXCLUSION_TEXT_CHARS];
};
static_assert(sizeof(ExclusionList) == 8 + 2 * EXCLUSION_TEXT_CHARS, "the same layout in both widths");

struct ExchangeStatus {
    uint32_t size;       // sizeof(ExchangeStatus) of the resident program that fills it
    uint32_t heartbeat;  // counted on every 500 ms and after each request handled
    // 1: a committed word stays on the clipboard; 0: what the clipboard held before the commit
    // is given back once the word is pasted (the user's choice in the tray menu).
    uint32_t keepWordOnClipboard;
    ExclusionList exclusions;
};
static_assert(sizeof(ExchangeStatus) % 4 == 0, "32-bit fields, no padding");
static_assert(offsetof(ExchangeStatus, heartbeat) == 4, "field order");
static_assert(offsetof(ExchangeStatus, keepWordOnClipboard) == 8, "field order");
static_assert(offsetof(ExchangeStatus, exclusions) == 12, "field order");
static_assert(EXCHANGE_STATUS_OFFSET >= 2 * EXCHANGE_FIELD_SIZE, "after the two strings");
static_assert(EXCHANGE_STATUS_OFFSET % 4 == 0, "32-bit fields stay aligned");
static_assert(EXCHANGE_STATUS_OFFSET + sizeof(ExchangeStatus) <= EXCHANGE_BLOCK_SIZE, "inside the block");

// Private messages to the CandidateWindow (fixed numbers).
constexpr unsigned WM_ZELVO_TRAY = 3525;      // tray icon callback: wParam icon id, lParam mouse message
constexpr unsigned WM_ZELVO_HIDE = 4524;      // hide the CandidateWindow
constexpr unsigned WM_ZELVO_REGISTER = 4525;  // block holds word and reading: remember them
constexpr unsigned WM_ZELVO_SHOW = 4526;      // block holds composition and reading; wParam position, lParam target

// A show, register or remove request that carries its own strings: WM_COPYDATA sent to the
// CandidateWindow with dwData = REQUEST_RECORD_TAG and lpData pointing to one RequestRecord.
// The system copies the record for the receiver, so a request handled late still reads its
// own strings, never those of a later request.
constexpr uint32_t REQUEST_RECORD_TAG = 0x4F564C5A;  // "ZLVO"
constexpr unsigned WM_ZELVO_REMOVE = 4527;   // only as a record's kind: remove this word from the dictionary
struct RequestRecord {
    uint32_t kind;                     // WM_ZELVO_SHOW, WM_ZELVO_REGISTER or WM_ZELVO_REMOVE
    uint32_t position;                 // show: PackShowPosition; register, remove: 0
    uint32_t target;                   // show, remove: the target window as a 32-bit value; register: 0
    char first[EXCHANGE_FIELD_SIZE];   // word, or composition string; with its NUL
    char second[EXCHANGE_FIELD_SIZE];  // reading; with its NUL
};
static_assert(sizeof(RequestRecord) == 12 + 2 * EXCHANGE_FIELD_SIZE, "the same layout in both widths");
static_assert(offsetof(RequestRecord, first) == 12, "field order");

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
