// The composition block the test IME hands to the IME manager: the documented
// COMPOSITIONSTRING header (25 DWORDs of lengths and offsets) followed by its strings,
// attributes and clause tables, for an ANSI or a Unicode IME. Pure code: the IME module
// copies the bytes into the input context's composition block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Same fields, order and size as the IME manager's COMPOSITIONSTRING.
struct CompStringHeader {
    uint32_t dwSize;
    uint32_t dwCompReadAttrLen, dwCompReadAttrOffset;
    uint32_t dwCompReadClauseLen, dwCompReadClauseOffset;
    uint32_t dwCompReadStrLen, dwCompReadStrOffset;
    uint32_t dwCompAttrLen, dwCompAttrOffset;
    uint32_t dwCompClauseLen, dwCompClauseOffset;
    uint32_t dwCompStrLen, dwCompStrOffset;
    uint32_t dwCursorPos, dwDeltaStart;
    uint32_t dwResultReadClauseLen, dwResultReadClauseOffset;
    uint32_t dwResultReadStrLen, dwResultReadStrOffset;
    uint32_t dwResultClauseLen, dwResultClauseOffset;
    uint32_t dwResultStrLen, dwResultStrOffset;
    uint32_t dwPrivateSize, dwPrivateOffset;
};
static_assert(sizeof(CompStringHeader) == 25 * 4, "COMPOSITIONSTRING is 25 DWORDs");

// What the block describes. Strings are NUL-terminated Shift-JIS; lengths are in bytes,
// as an ANSI IME reports them.
struct CompStringContent {
    const char* composition;     // shown text; "" when there is no composition
    const char* reading;         // its reading
    uint8_t attribute;           // of every byte of the composition and of its reading
    const char* result;          // committed text; "" when nothing was committed
    const char* resultReading;   // its reading
};

// Builds the block: header, then each string with a NUL, its attribute bytes (one per
// byte) and a clause table of one clause ({0, length}, or none for an empty string).
// The cursor is at the end of the composition and the change starts at 0.
std::vector<uint8_t> BuildCompString(const CompStringContent& content);

// The same for a Unicode IME: NUL-terminated UTF-16 strings (WCHARs), whose lengths, clause
// positions and cursor count WCHARs, with one attribute byte per WCHAR. Offsets stay bytes.
struct WideCompStringContent {
    const char16_t* composition;
    const char16_t* reading;
    uint8_t attribute;
    const char16_t* result;
    const char16_t* resultReading;
};
std::vector<uint8_t> BuildWideCompString(const WideCompStringContent& content);
