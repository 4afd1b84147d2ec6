// Decisions on the IME's composition and result strings, made before anything is sent to
// the resident program. Byte strings of the ANSI code page.
#pragma once

#include "path_split.h"

// Kinds of composition information (values of the IME manager).
constexpr unsigned COMPOSITION_READING = 0x0001;         // GCS_COMPREADSTR
constexpr unsigned COMPOSITION_READING_ATTR = 0x0002;    // GCS_COMPREADATTR
constexpr unsigned COMPOSITION_READING_CLAUSE = 0x0004;  // GCS_COMPREADCLAUSE
constexpr unsigned COMPOSITION_STRING = 0x0008;          // GCS_COMPSTR
constexpr unsigned COMPOSITION_ATTR = 0x0010;            // GCS_COMPATTR
constexpr unsigned COMPOSITION_CLAUSE = 0x0020;          // GCS_COMPCLAUSE
constexpr unsigned COMPOSITION_CURSOR = 0x0080;          // GCS_CURSORPOS
constexpr unsigned RESULT_READING = 0x0200;              // GCS_RESULTREADSTR
constexpr unsigned RESULT_STRING = 0x0800;               // GCS_RESULTSTR

// The flags of a refresh after a left-button release: composition string and its reading.
constexpr unsigned REFRESH_FLAGS = COMPOSITION_STRING | COMPOSITION_READING;

// Room for a string read from the IME: at most 255 bytes and the NUL.
constexpr long COMPOSITION_TEXT_SIZE = 256;

// What a WM_IME_COMPOSITION asks for, from its lParam.
bool CompositionCleared(unsigned long flags);  // lParam 0: hide the candidates
bool CompositionWanted(unsigned long flags);   // a string or a reading changed: read them

// The pair of kinds to read for the flags: the result string and its reading when the
// flags hold a result, else the composition string and its reading.
struct CompositionKinds {
    unsigned text;
    unsigned reading;
    bool isResult;
};
CompositionKinds ChooseCompositionKinds(unsigned long flags);

// What to do with the size the IME reports for the main string.
enum CompositionSizeAction {
    COMPOSITION_IGNORE,  // 256 bytes or more, or an error (negative): send nothing
    COMPOSITION_HIDE,    // empty: hide the candidates
    COMPOSITION_READ,    // read it
};
CompositionSizeAction ActOnCompositionSize(long size);

// True when a reading of this size fits its field (0 to 255 bytes). A reading that does not
// fit, or an error size, drops the whole request rather than cut the reading.
bool ReadingSizeFits(long size);

// The ANSI test of a result: true when the bytes read with the ANSI call (ansi, with its
// NUL) are exactly the Unicode form converted to the ANSI code page (converted, length bytes,
// no NUL needed) and no default character had to stand in for one the code page lacks.
bool AnsiTextMatches(const char* ansi, const char* converted, long length, bool usedDefault);

// The unconverted-input test: true when none of the first size attribute bytes is set
// (0 marks unconverted input). A size of 0 or below, or of 256 or more, passes.
bool IsAllUnconvertedInput(const unsigned char* attributes, long size);

// The character test: true when text holds a double-byte character whose lead byte is 0x88
// or more (the kanji rows of Shift-JIS). Single-byte characters never count; the scan stops
// at the NUL, also where a trail byte was due.
bool ContainsKanji(const char* text, LeadBytePredicate isLeadByte = IsCp932LeadByte);

// A new composition waits for the move message (the window retrieves it from its own queue)
// unless the window is of class "_WwG" or the candidates are already visible.
bool DefersPlacement(const char* windowClass, bool candidatesVisible);
