// Removing the selected candidate: Shift+Delete while the candidates are visible and one is
// selected. The hook reads the selected line as a commit does and asks the resident program
// to remove that word; the program refreshes the list without it.
#include "candidate_line.h"
#include "hook_operations.h"

void RemoveSelectedCandidate(MSG* message) {
    HWND list = CandidateList();
    // Keys in the resident program's own windows are the program's business.
    if (!CandidatesVisible() || list == nullptr || message->hwnd == list || message->hwnd == CandidateWindow()) {
        return;
    }
    LRESULT selected = LB_ERR;
    if (!SendToResident(list, LB_GETCURSEL, 0, 0, &selected) || selected < 0) {
        return;  // nothing selected: the key goes to the IME or the application
    }
    char line[CANDIDATE_LINE_BUFFER_SIZE];
    const char* word = nullptr;
    const char* reading = nullptr;
    if (!ReadCandidateLine(list, static_cast<int>(selected), line) || !SplitCandidateLine(line, &word, &reading)) {
        return;
    }
    TraceTo(TraceViewer(), "remove %d ", static_cast<int>(selected));
    // A request the resident program did not answer leaves the key to the application.
    if (SendRequestRecord(WM_ZELVO_REMOVE, 0, message->hwnd, word, reading)) {
        ConsumeMessage(message);
    }
}
