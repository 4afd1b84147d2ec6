// Key handling: the selection keys move the CandidateList selection while the candidates
// are visible and are consumed; Enter commits the selected candidate; Shift+Delete removes it.
#include <cstdint>

#include "hook_operations.h"
#include "key_classify.h"
#include "selection.h"

static bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

static bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// The page keys go to the list box, which moves by a page itself.
static void PostPageKey(HWND list, unsigned key, LPARAM keyLParam) {
    std::uint32_t downLParam = static_cast<std::uint32_t>(keyLParam);
    PostMessageA(list, WM_KEYDOWN, key, static_cast<LPARAM>(downLParam));
    PostMessageA(list, WM_KEYUP, key, static_cast<LPARAM>(KeyUpLParam(downLParam)));
}

// A key whose move the resident program did not answer goes on to the application.
static void MoveSelection(MSG* message, unsigned keyCode, unsigned mappedKey) {
    if (!CandidatesVisible()) {
        return;
    }
    HWND list = CandidateList();
    LRESULT current = LB_ERR;
    if (!SendToResident(list, LB_GETCURSEL, 0, 0, &current)) {
        return;
    }
    SelectionMove move = MoveOfSelectionKey(keyCode, mappedKey);
    int next = 0;
    if (move == SELECTION_PAGE) {
        PostPageKey(list, mappedKey, message->lParam);
    } else if (NextSelection(static_cast<int>(current), move, &next) &&
               !SendToResident(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0, nullptr)) {
        return;
    }
    TraceTo(TraceViewer(), "key=%x %x ", keyCode, mappedKey);
    // The class name is needed only for the one exception: Ctrl plus the key in "_WwG".
    char className[CLASS_NAME_SIZE] = "";
    bool control = ControlDown();
    if (control) {
        ReadClassName(message->hwnd, className);
    }
    if (ConsumesSelectionKey(control, className)) {
        ConsumeMessage(message);
    }
}

// Enter in the resident program's own windows is the program's business.
static void HandleEnter(MSG* message) {
    HWND list = CandidateList();
    TraceTo(TraceViewer(), "return %x %x ", HandleToULong(message->hwnd), HandleToULong(list));
    if (list == nullptr || message->hwnd == list || message->hwnd == CandidateWindow()) {
        return;
    }
    CommitSelection(message);
}

void HandleKeyDown(MSG* message) {
    unsigned keyCode = static_cast<unsigned>(message->wParam);
    unsigned scanCode = ScanCodeOfKey(static_cast<std::uint32_t>(message->lParam));
    unsigned mappedKey = MapVirtualKeyA(scanCode, MAPVK_VSC_TO_VK);
    HookKey key = ClassifyKey(keyCode, mappedKey);
    if (IsSelectionKey(key)) {
        MoveSelection(message, keyCode, mappedKey);
    } else if (key == HOOK_KEY_ENTER) {
        HandleEnter(message);
    } else if (key == HOOK_KEY_DELETE && ShiftDown()) {
        RemoveSelectedCandidate(message);
    }
}
