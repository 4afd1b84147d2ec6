// Romaji input, fixed conversions and the keys of a composition for the test IME.
#include "ime_engine.h"

#include <cstring>

namespace {

// Romaji to hiragana. The kana are UTF-8 literals (u8: the same bytes whatever execution
// character set a build uses) and AppendHiragana turns them into Shift-JIS, where the
// hiragana block is one run of codes.
struct RomajiEntry {
    const char* romaji;
    const char* kana;
};

const RomajiEntry ROMAJI[] = {
    {"a", u8"あ"}, {"i", u8"い"}, {"u", u8"う"}, {"e", u8"え"}, {"o", u8"お"}, {"ka", u8"か"},
    {"ki", u8"き"}, {"ku", u8"く"}, {"ke", u8"け"}, {"ko", u8"こ"}, {"ga", u8"が"},
    {"gi", u8"ぎ"}, {"gu", u8"ぐ"}, {"ge", u8"げ"}, {"go", u8"ご"}, {"sa", u8"さ"},
    {"shi", u8"し"}, {"si", u8"し"}, {"su", u8"す"}, {"se", u8"せ"}, {"so", u8"そ"},
    {"za", u8"ざ"}, {"ji", u8"じ"}, {"zi", u8"じ"}, {"zu", u8"ず"}, {"ze", u8"ぜ"},
    {"zo", u8"ぞ"}, {"ta", u8"た"}, {"chi", u8"ち"}, {"ti", u8"ち"}, {"tsu", u8"つ"},
    {"tu", u8"つ"}, {"te", u8"て"}, {"to", u8"と"}, {"da", u8"だ"}, {"de", u8"で"},
    {"do", u8"ど"}, {"na", u8"な"}, {"ni", u8"に"}, {"nu", u8"ぬ"}, {"ne", u8"ね"},
    {"no", u8"の"}, {"ha", u8"は"}, {"hi", u8"ひ"}, {"fu", u8"ふ"}, {"hu", u8"ふ"},
    {"he", u8"へ"}, {"ho", u8"ほ"}, {"ba", u8"ば"}, {"bi", u8"び"}, {"bu", u8"ぶ"},
    {"be", u8"べ"}, {"bo", u8"ぼ"}, {"pa", u8"ぱ"}, {"pi", u8"ぴ"}, {"pu", u8"ぷ"},
    {"pe", u8"ぺ"}, {"po", u8"ぽ"}, {"ma", u8"ま"}, {"mi", u8"み"}, {"mu", u8"む"},
    {"me", u8"め"}, {"mo", u8"も"}, {"ya", u8"や"}, {"yu", u8"ゆ"}, {"yo", u8"よ"},
    {"ra", u8"ら"}, {"ri", u8"り"}, {"ru", u8"る"}, {"re", u8"れ"}, {"ro", u8"ろ"},
    {"wa", u8"わ"}, {"wo", u8"を"}, {"nn", u8"ん"},
};

// Kanji typed straight into the input, as IMEs with direct kanji entry do: the character
// stays unconverted input (attribute 0). Shift-JIS.
const RomajiEntry DIRECT_KANJI[] = {
    {"xq", "\x8a\xbf"},  // 漢
};

// Fixed conversions: reading (hiragana, UTF-8) to word (Shift-JIS).
struct ConversionEntry {
    const char* reading;
    const char* word;
};

const ConversionEntry CONVERSIONS[] = {
    {u8"あい", "\x88\xa4"},                  // 愛
    {u8"かんじ", "\x8a\xbf\x8e\x9a"},        // 漢字
    {u8"にほん", "\x93\xfa\x96\x7b"},        // 日本
    {u8"へんかん", "\x95\xcf\x8a\xb7"},      // 変換
};

// Conversions to words without a Shift-JIS form, for a Unicode IME: reading (hiragana, UTF-8)
// to word (UTF-16).
struct WideOnlyEntry {
    const char* reading;
    const char16_t* word;
};

const WideOnlyEntry WIDE_ONLY[] = {
    {u8"しか", u"\U00020B9F"},  // 𠮟, outside code page 932
};

const char SMALL_TSU[] = u8"っ";
const char SYLLABIC_N[] = u8"ん";

// Appends the Shift-JIS form of a UTF-8 hiragana string to out (room for size bytes with
// the NUL). Returns false, leaving out unchanged, when it does not fit.
bool AppendHiragana(char* out, int size, const char* utf8) {
    int length = static_cast<int>(strlen(out));
    int start = length;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; p += 3) {
        // Hiragana U+3041..U+3093 are three UTF-8 bytes: E3 81 xx or E3 82 xx.
        unsigned codePoint = ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        unsigned sjis = 0x829F + (codePoint - 0x3041);
        if (length + 2 >= size) {
            out[start] = '\0';
            return false;
        }
        out[length++] = static_cast<char>(sjis >> 8);
        out[length++] = static_cast<char>(sjis & 0xFF);
    }
    out[length] = '\0';
    return true;
}

// Appends the full-width form of a lower-case letter (ａ is 82 81).
bool AppendFullWidthLetter(char* out, int size, char letter) {
    int length = static_cast<int>(strlen(out));
    if (length + 2 >= size) return false;
    out[length] = '\x82';
    out[length + 1] = static_cast<char>(0x81 + (letter - 'a'));
    out[length + 2] = '\0';
    return true;
}

bool AppendBytes(char* out, int size, const char* text) {
    size_t length = strlen(out);
    size_t extra = strlen(text);
    if (length + extra >= static_cast<size_t>(size)) return false;
    memcpy(out + length, text, extra + 1);
    return true;
}

template <size_t N>
const RomajiEntry* FindEntry(const RomajiEntry (&table)[N], const char* letters) {
    for (const RomajiEntry& entry : table)
        if (strcmp(entry.romaji, letters) == 0) return &entry;
    return nullptr;
}

template <size_t N>
bool IsPrefixIn(const RomajiEntry (&table)[N], const char* letters) {
    size_t length = strlen(letters);
    for (const RomajiEntry& entry : table)
        if (strncmp(entry.romaji, letters, length) == 0) return true;
    return false;
}

const RomajiEntry* FindRomaji(const char* letters) { return FindEntry(ROMAJI, letters); }

bool IsRomajiPrefix(const char* letters) {
    return IsPrefixIn(ROMAJI, letters) || IsPrefixIn(DIRECT_KANJI, letters);
}

bool IsVowel(char c) { return strchr("aiueo", c) != nullptr; }

void DropFirstPending(ImeComposition* comp) {
    memmove(comp->pending, comp->pending + 1, strlen(comp->pending));
}

// Turns as many pending letters as possible into kana: a full match becomes its kana; a
// letter that can no longer start one becomes ん (an n before a consonant), っ (a doubled
// consonant) or stays as a full-width letter.
void ResolvePending(ImeComposition* comp) {
    while (comp->pending[0] != '\0') {
        if (const RomajiEntry* entry = FindRomaji(comp->pending)) {
            AppendHiragana(comp->kana, IME_TEXT_SIZE, entry->kana);
            comp->pending[0] = '\0';
            return;
        }
        if (const RomajiEntry* entry = FindEntry(DIRECT_KANJI, comp->pending)) {
            AppendBytes(comp->kana, IME_TEXT_SIZE, entry->kana);
            comp->pending[0] = '\0';
            return;
        }
        if (IsRomajiPrefix(comp->pending)) return;
        char first = comp->pending[0];
        char second = comp->pending[1];
        if (first == 'n' && second != 'y' && !IsVowel(second))
            AppendHiragana(comp->kana, IME_TEXT_SIZE, SYLLABIC_N);
        else if (first == second && !IsVowel(first))
            AppendHiragana(comp->kana, IME_TEXT_SIZE, SMALL_TSU);
        else
            AppendFullWidthLetter(comp->kana, IME_TEXT_SIZE, first);
        DropFirstPending(comp);
    }
}

// The letters still pending when the composition is converted or committed: a final n is
// ん, any other letter stays as its full-width form.
void FlushPending(ImeComposition* comp) {
    for (const char* p = comp->pending; *p; ++p) {
        if (*p == 'n' && p[1] == '\0')
            AppendHiragana(comp->kana, IME_TEXT_SIZE, SYLLABIC_N);
        else
            AppendFullWidthLetter(comp->kana, IME_TEXT_SIZE, *p);
    }
    comp->pending[0] = '\0';
}

void Reset(ImeComposition* comp) { memset(comp, 0, sizeof(*comp)); }

ImeChange TypeLetter(ImeComposition* comp, char letter) {
    if (comp->converted) return IME_NO_CHANGE;
    size_t pending = strlen(comp->pending);
    // Room for the kana the pending letters may still become (each at most two bytes).
    if (strlen(comp->kana) + 2 * (pending + 2) >= IME_TEXT_SIZE) return IME_NO_CHANGE;
    comp->pending[pending] = letter;
    comp->pending[pending + 1] = '\0';
    ResolvePending(comp);
    return IME_UPDATED;
}

// A word without a Shift-JIS form keeps the reading as its Shift-JIS text: only the Unicode
// form of the composition shows the word.
ImeChange Convert(ImeComposition* comp, bool unicode) {
    if (comp->converted) return IME_NO_CHANGE;
    FlushPending(comp);
    comp->wideOnly = unicode ? ImeWideOnlyConversionOf(comp->kana) : 0;
    const char* word = comp->wideOnly ? nullptr : ImeConversionOf(comp->kana);
    comp->conversion[0] = '\0';
    AppendBytes(comp->conversion, IME_TEXT_SIZE, word ? word : comp->kana);
    comp->converted = 1;
    return IME_UPDATED;
}

ImeChange Backspace(ImeComposition* comp) {
    if (comp->converted) {
        comp->converted = 0;
        comp->wideOnly = 0;
        comp->conversion[0] = '\0';
        return IME_UPDATED;
    }
    size_t pending = strlen(comp->pending);
    size_t kana = strlen(comp->kana);
    if (pending > 0)
        comp->pending[pending - 1] = '\0';
    else if (kana >= 2)
        comp->kana[kana - 2] = '\0';
    if (comp->pending[0] == '\0' && comp->kana[0] == '\0') {
        Reset(comp);
        return IME_CANCELLED;
    }
    return IME_UPDATED;
}

void Commit(ImeComposition* comp, ImeOutcome* outcome) {
    FlushPending(comp);
    outcome->result[0] = '\0';
    outcome->resultReading[0] = '\0';
    AppendBytes(outcome->result, IME_TEXT_SIZE, comp->converted ? comp->conversion : comp->kana);
    AppendBytes(outcome->resultReading, IME_TEXT_SIZE, comp->kana);
    outcome->wideResult = comp->converted ? comp->wideOnly : 0;
    outcome->change = IME_COMMITTED;
    Reset(comp);
}

// The last DBCS character of a Shift-JIS text of two-byte characters, as wParam wants it.
uint32_t LastCharacter(const char* text) {
    size_t length = strlen(text);
    if (length < 2) return 0;
    return (static_cast<uint8_t>(text[length - 2]) << 8) | static_cast<uint8_t>(text[length - 1]);
}

}  // namespace

ImeKeyKind ClassifyKey(unsigned vk) {
    if (vk >= 'A' && vk <= 'Z') return IME_KEY_LETTER;
    switch (vk) {
    case IME_VK_SPACE: return IME_KEY_SPACE;
    case IME_VK_RETURN: return IME_KEY_ENTER;
    case IME_VK_ESCAPE: return IME_KEY_ESCAPE;
    case IME_VK_BACK: return IME_KEY_BACKSPACE;
    case 0x10: case 0x11: case 0x12:      // VK_SHIFT, VK_CONTROL, VK_MENU
    case 0xA0: case 0xA1: case 0xA2:      // VK_LSHIFT, VK_RSHIFT, VK_LCONTROL
    case 0xA3: case 0xA4: case 0xA5:      // VK_RCONTROL, VK_LMENU, VK_RMENU
        return IME_KEY_MODIFIER;
    default: return IME_KEY_OTHER;
    }
}

bool ImeWantsKey(const ImeComposition* comp, unsigned vk, bool ctrlOrAltDown) {
    ImeKeyKind kind = ClassifyKey(vk);
    if (kind == IME_KEY_MODIFIER) return false;
    if (comp->active) return true;
    return kind == IME_KEY_LETTER && !ctrlOrAltDown;
}

ImeOutcome ImeApplyKey(ImeComposition* comp, unsigned vk, bool unicode) {
    ImeOutcome outcome = {};
    ImeKeyKind kind = ClassifyKey(vk);
    if (!comp->active) {
        if (kind != IME_KEY_LETTER) return outcome;
        Reset(comp);
        comp->active = 1;
        outcome.started = true;
    }
    switch (kind) {
    case IME_KEY_LETTER:
        outcome.change = TypeLetter(comp, static_cast<char>(vk - 'A' + 'a'));
        break;
    case IME_KEY_SPACE: outcome.change = Convert(comp, unicode); break;
    case IME_KEY_ENTER: Commit(comp, &outcome); break;
    case IME_KEY_ESCAPE:
        Reset(comp);
        outcome.change = IME_CANCELLED;
        break;
    case IME_KEY_BACKSPACE: outcome.change = Backspace(comp); break;
    default: break;
    }
    return outcome;
}

bool ImeCancel(ImeComposition* comp) {
    bool wasActive = comp->active != 0;
    Reset(comp);
    return wasActive;
}

void ImeCompositionText(const ImeComposition* comp, char* out) {
    out[0] = '\0';
    if (comp->converted) {
        AppendBytes(out, IME_TEXT_SIZE, comp->conversion);
        return;
    }
    ImeReadingText(comp, out);
}

void ImeReadingText(const ImeComposition* comp, char* out) {
    out[0] = '\0';
    AppendBytes(out, IME_TEXT_SIZE, comp->kana);
    for (const char* p = comp->pending; *p; ++p) AppendFullWidthLetter(out, IME_TEXT_SIZE, *p);
}

uint8_t ImeAttribute(const ImeComposition* comp) { return comp->converted ? 1 : 0; }

const char* ImeConversionOf(const char* reading) {
    char sjis[IME_TEXT_SIZE];
    for (const ConversionEntry& entry : CONVERSIONS) {
        sjis[0] = '\0';
        if (AppendHiragana(sjis, IME_TEXT_SIZE, entry.reading) && strcmp(sjis, reading) == 0)
            return entry.word;
    }
    return nullptr;
}

int32_t ImeWideOnlyConversionOf(const char* reading) {
    char sjis[IME_TEXT_SIZE];
    int32_t number = 0;
    for (const WideOnlyEntry& entry : WIDE_ONLY) {
        ++number;
        sjis[0] = '\0';
        if (AppendHiragana(sjis, IME_TEXT_SIZE, entry.reading) && strcmp(sjis, reading) == 0)
            return number;
    }
    return 0;
}

const char16_t* ImeWideOnlyWord(int32_t number) {
    int32_t count = static_cast<int32_t>(sizeof(WIDE_ONLY) / sizeof(WIDE_ONLY[0]));
    return number >= 1 && number <= count ? WIDE_ONLY[number - 1].word : nullptr;
}

int ImeMessagesFor(const ImeOutcome& outcome, const ImeComposition* comp,
                   ImeMessage out[IME_MAX_MESSAGES]) {
    int count = 0;
    if (outcome.started) out[count++] = {IME_MSG_STARTCOMPOSITION, 0, 0};
    switch (outcome.change) {
    case IME_UPDATED: {
        char text[IME_TEXT_SIZE];
        ImeCompositionText(comp, text);
        out[count++] = {IME_MSG_COMPOSITION, LastCharacter(text), IME_FLAGS_COMPOSING};
        break;
    }
    case IME_COMMITTED:
        out[count++] = {IME_MSG_COMPOSITION, LastCharacter(outcome.result), IME_FLAGS_RESULT};
        out[count++] = {IME_MSG_ENDCOMPOSITION, 0, 0};
        break;
    case IME_CANCELLED: count += ImeCancelMessages(out + count); break;
    case IME_NO_CHANGE: break;
    }
    return count;
}

int ImeCancelMessages(ImeMessage out[IME_MAX_MESSAGES]) {
    out[0] = {IME_MSG_COMPOSITION, 0, 0};
    out[1] = {IME_MSG_ENDCOMPOSITION, 0, 0};
    return 2;
}
