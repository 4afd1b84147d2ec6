// Filling and checking the records that carry a request's strings (RequestRecord), and the
// rule on the bytes a word or a reading may hold. No Windows headers: the hook fills the
// records, the resident program checks every record it receives before it acts on it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "exchange.h"

// Fills record with a request of kind (WM_ZELVO_SHOW, WM_ZELVO_REGISTER, WM_ZELVO_REMOVE), the packed
// position, the target window and the two strings, each with its NUL. Refused (false) when a
// string does not fit its field.
bool FillRequestRecord(RequestRecord* record, uint32_t kind, uint32_t position, uint32_t target,
                       const char* first, const char* second);

// The kind of a record as WM_COPYDATA delivered it (its tag, byte count and data), after it
// has been copied into *record: WM_ZELVO_SHOW, WM_ZELVO_REGISTER or WM_ZELVO_REMOVE. 0 when it
// is refused: an
// unknown tag, a byte count other than sizeof(RequestRecord), no data, an unknown kind, or a
// string field without its NUL.
uint32_t CheckRequestRecord(uint64_t tag, uint64_t size, const void* data, RequestRecord* record);

// True when text holds a byte below 0x20 (TAB, CR, LF and the other control bytes): a word or
// a reading with one is never registered; in the dictionary file it would split its line.
bool ContainsControlByte(const char* text);
