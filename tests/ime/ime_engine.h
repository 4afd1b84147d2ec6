// The test IME's composition engine: romaji to kana, a few fixed conversions and the keys
// that drive a composition. Pure code, no Windows headers: the IME module (ime_module.cpp)
// keeps one ImeComposition per input context and turns each outcome into IME messages.
// All text is Shift-JIS (code page 932), every character of a composition is two bytes.
#pragma once

#include <cstdint>

constexpr int IME_TEXT_SIZE = 128;    // any composition text, with its NUL
constexpr int IME_PENDING_SIZE = 8;   // romaji letters waiting for a kana, with the NUL

// One input context's composition. All bytes zero is the idle state, so the IME manager's
// zero-filled private block is a valid composition from the start.
struct ImeComposition {
    int32_t active;                    // a composition is open
    int32_t converted;                 // Space converted it: the text is the conversion
    int32_t wideOnly;                  // the conversion is a word without a Shift-JIS form:
                                       // its number for ImeWideOnlyWord, 0 for none
    char kana[IME_TEXT_SIZE];          // the reading typed so far, Shift-JIS
    char pending[IME_PENDING_SIZE];    // lower-case romaji not yet forming a kana
    char conversion[IME_TEXT_SIZE];    // the converted text while converted is set
};

// Virtual-key codes the engine knows (the values of the Windows headers).
constexpr unsigned IME_VK_BACK = 0x08;
constexpr unsigned IME_VK_RETURN = 0x0D;
constexpr unsigned IME_VK_ESCAPE = 0x1B;
constexpr unsigned IME_VK_SPACE = 0x20;

enum ImeKeyKind {
    IME_KEY_LETTER,     // 'A' .. 'Z'
    IME_KEY_SPACE,      // converts
    IME_KEY_ENTER,      // commits
    IME_KEY_ESCAPE,     // cancels
    IME_KEY_BACKSPACE,  // deletes the last letter or kana, or undoes the conversion
    IME_KEY_MODIFIER,   // Shift, Ctrl, Alt and their sides: never taken
    IME_KEY_OTHER,      // taken without effect while composing, passed on otherwise
};

ImeKeyKind ClassifyKey(unsigned vk);

// Whether the IME takes the key-down vk: every key but the modifiers while a composition is
// open; only a letter without Ctrl or Alt to open one.
bool ImeWantsKey(const ImeComposition* comp, unsigned vk, bool ctrlOrAltDown);

enum ImeChange {
    IME_NO_CHANGE,   // the key changed nothing visible
    IME_UPDATED,     // the composition text, reading or attributes changed
    IME_COMMITTED,   // result and resultReading hold the committed text; composition closed
    IME_CANCELLED,   // the composition was dropped without a result
};

struct ImeOutcome {
    bool started;                       // this key opened the composition
    ImeChange change;
    char result[IME_TEXT_SIZE];         // IME_COMMITTED only
    char resultReading[IME_TEXT_SIZE];  // IME_COMMITTED only
    int32_t wideResult;                 // IME_COMMITTED: the result is this ImeWideOnlyWord
};

// Applies one key-down (a key ImeWantsKey took) to the composition. A Unicode IME (unicode
// set) also converts to the words that have no Shift-JIS form (ImeWideOnlyWord).
ImeOutcome ImeApplyKey(ImeComposition* comp, unsigned vk, bool unicode = false);

// Drops an open composition (the IME manager's cancel request). Returns whether one was open.
bool ImeCancel(ImeComposition* comp);

// The text shown in the application: the conversion, or the kana followed by the pending
// letters as full-width letters. out holds IME_TEXT_SIZE bytes.
void ImeCompositionText(const ImeComposition* comp, char* out);

// The reading of the composition: the kana followed by the pending letters (full-width).
void ImeReadingText(const ImeComposition* comp, char* out);

// Attribute of every byte of the composition text: 0 for input, 1 for the converted target.
uint8_t ImeAttribute(const ImeComposition* comp);

// Looks up the fixed conversion of a Shift-JIS reading; null when there is none.
const char* ImeConversionOf(const char* reading);

// The conversions only a Unicode IME gives: words that Shift-JIS cannot hold, such as 𠮟
// (U+20B9F) for しか. The number of the word for a Shift-JIS reading, 0 when there is none;
// the word itself, UTF-16 with its NUL, for a number, null for 0 or an unknown one.
int32_t ImeWideOnlyConversionOf(const char* reading);
const char16_t* ImeWideOnlyWord(int32_t number);

// Message numbers and composition flags of the IME manager, for the message list.
constexpr uint32_t IME_MSG_STARTCOMPOSITION = 0x010D;
constexpr uint32_t IME_MSG_ENDCOMPOSITION = 0x010E;
constexpr uint32_t IME_MSG_COMPOSITION = 0x010F;
// GCS_COMPREADSTR | COMPREADATTR | COMPREADCLAUSE | COMPSTR | COMPATTR | COMPCLAUSE |
// CURSORPOS | DELTASTART: everything about the composition changed.
constexpr uint32_t IME_FLAGS_COMPOSING = 0x01BF;
// GCS_RESULTREADSTR | RESULTREADCLAUSE | RESULTSTR | RESULTCLAUSE.
constexpr uint32_t IME_FLAGS_RESULT = 0x1E00;

struct ImeMessage {
    uint32_t message;
    uint32_t wParam;   // the DBCS character of the latest change (lead byte high), or 0
    uint32_t lParam;
};

constexpr int IME_MAX_MESSAGES = 3;

// The messages that report an outcome to the application, in order; returns how many.
// comp is the composition after the key.
int ImeMessagesFor(const ImeOutcome& outcome, const ImeComposition* comp,
                   ImeMessage out[IME_MAX_MESSAGES]);

// The messages of a cancel request (ImeCancel returned true): composition cleared, ended.
int ImeCancelMessages(ImeMessage out[IME_MAX_MESSAGES]);
