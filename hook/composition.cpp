// Composition capture: the IME's composition string and its reading become a show request
// next to the caret; a result string and its reading become a register request.
#include "composition_text.h"
#include "exchange.h"
#include "hook_operations.h"
#include "request_record.h"

#include <imm.h>

static bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

void HandleComposition(const MSG* message) {
    unsigned long flags = static_cast<unsigned long>(message->lParam);
    TraceTo(TraceViewer(), "imecomp %x ", flags);
    if (CompositionCleared(flags)) {
        HideCandidates();
    }
    if (CompositionWanted(flags)) {
        ReadComposition(message->hwnd, flags);
    }
}

// Reads one kind of string into text (COMPOSITION_TEXT_SIZE bytes) with its NUL; false
// when its size does not fit (256 bytes or more, or an error), leaving text empty.
static bool ReadCompositionString(HIMC context, unsigned kind, char* text) {
    text[0] = '\0';
    LONG size = ImmGetCompositionStringA(context, kind, nullptr, 0);
    if (!ReadingSizeFits(size)) {
        return false;
    }
    LONG read = ImmGetCompositionStringA(context, kind, text, COMPOSITION_TEXT_SIZE);
    text[(read >= 0 && read < size) ? read : size] = '\0';
    return true;
}

// True when the Unicode form of the string of this kind converts back to exactly the ANSI
// bytes read: the ANSI call turns what the code page cannot hold (emoji, some kanji) into
// '?', and such a word must never be learned and pasted back.
static bool AnsiHoldsUnicode(HIMC context, unsigned kind, const char* ansi) {
    WCHAR wide[COMPOSITION_TEXT_SIZE];
    LONG bytes = ImmGetCompositionStringW(context, kind, nullptr, 0);
    if (bytes < 0 || bytes > static_cast<LONG>(sizeof wide)) {
        return false;
    }
    LONG read = bytes == 0 ? 0 : ImmGetCompositionStringW(context, kind, wide, sizeof wide);
    int count = read > 0 ? static_cast<int>(read / sizeof(WCHAR)) : 0;
    char converted[2 * COMPOSITION_TEXT_SIZE];
    BOOL usedDefault = FALSE;
    int length = count == 0 ? 0
                            : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, count, converted,
                                                  sizeof converted, nullptr, &usedDefault);
    return AnsiTextMatches(ansi, converted, length, usedDefault != FALSE);
}

// The clause and attribute information of the composition, byte by byte, for the trace
// viewer; without a viewer nothing is asked of the IME.
static void DumpCompositionInfo(HIMC context) {
    static const struct {
        unsigned kind;
        const char* heading;
    } DUMPS[] = {
        {COMPOSITION_CLAUSE, "\nclause %d "},
        {COMPOSITION_ATTR, "\nattr   %d "},
        {COMPOSITION_READING_CLAUSE, "\nrclause %d "},
        {COMPOSITION_READING_ATTR, "\nrattr   %d "},
    };
    HWND viewer = TraceViewer();
    if (viewer == nullptr) {
        return;
    }
    for (const auto& dump : DUMPS) {
        unsigned char scratch[COMPOSITION_TEXT_SIZE] = {};
        LONG size = ImmGetCompositionStringA(context, dump.kind, nullptr, 0);
        ImmGetCompositionStringA(context, dump.kind, scratch, COMPOSITION_TEXT_SIZE);
        TraceTo(viewer, dump.heading, size);
        for (LONG i = 0; i < size && i < COMPOSITION_TEXT_SIZE; ++i) {
            TraceTo(viewer, "%02x ", static_cast<unsigned>(scratch[i]));
        }
    }
}

void ReadComposition(HWND window, unsigned long flags) {
    TraceTo(TraceViewer(), "0 ");
    if (window != nullptr) {
        hookProcess.lastCompositionWindow = window;
    } else if ((window = hookProcess.lastCompositionWindow) == nullptr) {
        return;
    }
    TraceTo(TraceViewer(), "1 ");
    HIMC context = ImmGetContext(window);
    if (context == nullptr) {
        return;
    }
    CompositionKinds kinds = ChooseCompositionKinds(flags);
    if (kinds.isResult) {
        HideCandidates();
        hookProcess.lastCompositionWindow = nullptr;
    }
    LONG size = ImmGetCompositionStringA(context, kinds.text, nullptr, 0);
    TraceTo(TraceViewer(), "2 %d ", size);
    CompositionSizeAction action = ActOnCompositionSize(size);
    if (action != COMPOSITION_READ) {
        ImmReleaseContext(window, context);
        if (action == COMPOSITION_HIDE) {
            HideCandidates();
        }
        return;
    }
    char text[COMPOSITION_TEXT_SIZE];
    char reading[COMPOSITION_TEXT_SIZE];
    // A reading that does not fit its field drops the request, like an over-long string.
    if (!ReadCompositionString(context, kinds.text, text) ||
        !ReadCompositionString(context, kinds.reading, reading)) {
        ImmReleaseContext(window, context);
        return;
    }
    bool fitsAnsi = !kinds.isResult || (AnsiHoldsUnicode(context, kinds.text, text) &&
                                        AnsiHoldsUnicode(context, kinds.reading, reading));
    DumpCompositionInfo(context);
    TraceTo(TraceViewer(), "3 ");
    ImmReleaseContext(window, context);
    if (!fitsAnsi) {
        return;  // refused quietly: the ANSI code page cannot hold the result
    }
    if (kinds.isResult) {
        TraceTo(TraceViewer(), "5 ");
        RegisterResult(text, reading);
    } else {
        TraceTo(TraceViewer(), "4 ");
        ShowCandidates(window, text, reading);
    }
}

// True when the IME marks some of the composition as converted (an attribute byte not 0).
static bool HasConvertedClause(HWND window) {
    HIMC context = ImmGetContext(window);
    if (context == nullptr) {
        return false;
    }
    unsigned char attributes[2 * COMPOSITION_TEXT_SIZE];
    LONG size = ImmGetCompositionStringA(context, COMPOSITION_ATTR, nullptr, 0);
    bool converted = false;
    if (size > 0 && size < COMPOSITION_TEXT_SIZE) {
        ImmGetCompositionStringA(context, COMPOSITION_ATTR, attributes, sizeof attributes);
        converted = !IsAllUnconvertedInput(attributes, size);
    }
    ImmReleaseContext(window, context);
    return converted;
}

// The strings travel with the request; the block's view serves only the status record.
void ShowCandidates(HWND window, const char* composition, const char* reading) {
    OpenExchangeView(EXCHANGE_FOR_SHOW);
    if (composition[0] == '\0' || reading[0] == '\0') {
        return;
    }
    TraceTo(TraceViewer(), "{%s,%s]", composition, reading);
    if (HasConvertedClause(window) || ContainsKanji(composition, IsAnsiLeadByte)) {
        HideCandidates();
        return;
    }
    // Kept before the placement is decided: a deferred placement finds them here.
    if (!KeepDeferredPair(composition, reading)) {
        return;
    }
    char className[CLASS_NAME_SIZE];
    ReadClassName(window, className);
    TraceTo(TraceViewer(), "class=%s ", className);
    if (DefersPlacement(className, CandidatesVisible())) {
        hookShared.deferredTarget = ToSharedValue(window);
        PostMessageA(window, hookProcess.moveMessage, 0, 0);
        return;
    }
    POINT point;
    FindCaretPosition(window, className, &point);
    TraceTo(TraceViewer(), "--hwnd=%x pos=%d %d ", HandleToULong(window), point.x, point.y);
    SendShowRequest(window, point, composition, reading);
}

// A word or reading with a control byte is refused here already, quietly.
void RegisterResult(const char* word, const char* reading) {
    TraceTo(TraceViewer(), "SRegComp %s %s ", word, reading);
    OpenExchangeView(EXCHANGE_FOR_REGISTER);
    if (ContainsControlByte(word) || ContainsControlByte(reading)) {
        return;
    }
    SendRequestRecord(WM_ZELVO_REGISTER, 0, nullptr, word, reading);
}
