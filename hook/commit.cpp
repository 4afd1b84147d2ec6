// Committing the selected candidate into the target window: the word goes on the clipboard,
// the IME's composition is cancelled, the word is pasted, the candidates are hidden and the
// word is registered, as if the IME had produced it.
#include "candidate_line.h"
#include "hook_operations.h"

#include <imm.h>

// Reads line index of the CandidateList as ANSI text into line (CANDIDATE_LINE_BUFFER_SIZE
// bytes). The list belongs to another process: the wide messages give its exact text there
// (the ANSI LB_GETTEXT across processes is not reliable), and the length is asked first,
// since LB_GETTEXT copies a whole line whatever the buffer. A line that does not fit is
// refused.
bool ReadCandidateLine(HWND list, int index, char* line) {
    LRESULT length = LB_ERR;
    if (!SendWideToResident(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, &length) ||
        !CandidateLineFits(static_cast<long>(length))) {
        return false;
    }
    // Room beyond the announced length: the line would have to grow past it between the
    // two requests, which only another show request could do.
    WCHAR wide[4 * CANDIDATE_LINE_BUFFER_SIZE];
    LRESULT copied = LB_ERR;
    if (!SendWideToResident(list, LB_GETTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(wide), &copied) ||
        copied < 0 || copied > length) {
        return false;
    }
    wide[copied] = L'\0';
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(copied) + 1, line,
                                    static_cast<int>(CANDIDATE_LINE_BUFFER_SIZE), nullptr,
                                    nullptr);
    return bytes > 0;
}

void CommitSelection(MSG* message) {
    HWND window = message->hwnd;
    HWND list = CandidateList();
    TraceTo(TraceViewer(), "kakutei %x %x ", HandleToULong(window), HandleToULong(list));
    if (!CandidatesVisible()) {
        return;
    }
    TraceTo(TraceViewer(), "k1 ");
    LRESULT selected = LB_ERR;
    if (!SendToResident(list, LB_GETCURSEL, 0, 0, &selected) || selected < 0) {
        return;  // nothing selected (or no answer): the IME commits its own conversion
    }
    int index = static_cast<int>(selected);
    TraceTo(TraceViewer(), "k2 %d ", index);
    char line[CANDIDATE_LINE_BUFFER_SIZE];
    const char* word = nullptr;
    const char* reading = nullptr;
    if (!ReadCandidateLine(list, index, line) || !SplitCandidateLine(line, &word, &reading)) {
        return;
    }
    HIMC context = ImmGetContext(window);
    if (context == nullptr) {
        TraceTo(TraceViewer(), "----\n error imc0");
        return;
    }
    // The word is on the clipboard before the composition is dropped: when the clipboard
    // cannot take it, nothing is pasted and the Enter goes on to the IME, which commits its
    // own conversion. The target owns the clipboard: a later EmptyClipboard anywhere then asks
    // its own thread, never the resident program.
    if (!PutOnClipboard(window, word)) {
        ImmReleaseContext(window, context);
        return;
    }
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);  // no result
    ImmReleaseContext(window, context);
    PasteIntoTarget(window);
    NotifyClipboardTool(window);
    HideCandidates();
    ConsumeMessage(message);
    RegisterResult(word, reading);
}
