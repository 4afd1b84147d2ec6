// Where the caret of a target window is: the IME's composition window, the IME's candidate
// window, the GUI thread information, and the thread's caret, asked in this order; the
// first usable answer is shifted to where the candidates' top-left corner goes.
#include "caret_choice.h"
#include "class_name.h"
#include "hook_operations.h"

#include <imm.h>

static void SetPoint(POINT* point, CaretPoint found) {
    point->x = found.x;
    point->y = found.y;
}

// The IME's composition window, then its candidate window 0.
static bool FromImeWindows(HIMC context, POINT* point) {
    COMPOSITIONFORM composition = {};
    if (!ImmGetCompositionWindow(context, &composition)) {
        TraceTo(TraceViewer(), "getcompwin err ");
    } else {
        POINT at = composition.ptCurrentPos;
        TraceTo(TraceViewer(), "getcompwin %d %d ", at.x, at.y);
        if (AcceptsCompositionPosition(at.x, at.y)) {
            SetPoint(point, OffsetCaretPoint(CARET_FROM_COMPOSITION, at.x, at.y));
            return true;
        }
    }
    CANDIDATEFORM candidate = {};
    if (!ImmGetCandidateWindow(context, 0, &candidate)) {
        TraceTo(TraceViewer(), "getcandwin err ");
        return false;
    }
    POINT at = candidate.ptCurrentPos;
    TraceTo(TraceViewer(), "getcandwin %d %d ", at.x, at.y);
    if (AcceptsCandidatePosition(at.x, at.y)) {
        SetPoint(point, OffsetCaretPoint(CARET_FROM_CANDIDATE, at.x, at.y));
        return true;
    }
    return false;
}

static bool FromIme(HWND window, POINT* point) {
    HIMC context = ImmGetContext(window);
    if (context == nullptr) {
        TraceTo(TraceViewer(), "imc err %x %d ", HandleToULong(window), GetLastError());
        return false;
    }
    bool found = FromImeWindows(context, point);
    ImmReleaseContext(window, context);
    return found;
}

// GetGUIThreadInfo, looked up once per process; null when the system has none.
static GuiThreadInfoFunction GuiThreadInfo() {
    if (hookProcess.systemLibrary == nullptr) {
        HMODULE library = GetModuleHandleA("user32.dll");
        if (library == nullptr) {
            return nullptr;  // asked again on the next call
        }
        // Through void*: the entry is typed only once it is known to be this function.
        void* entry = reinterpret_cast<void*>(GetProcAddress(library, "GetGUIThreadInfo"));
        hookProcess.guiThreadInfo = reinterpret_cast<GuiThreadInfoFunction>(entry);
        hookProcess.systemLibrary = library;
    }
    return hookProcess.guiThreadInfo;
}

static bool FromThreadCaret(HWND window, POINT* point) {
    GuiThreadInfoFunction guiThreadInfo = GuiThreadInfo();
    if (guiThreadInfo == nullptr) {
        return false;
    }
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;  // 48 bytes in the 32-bit build
    guiThreadInfo(thread, &info);
    const RECT& caret = info.rcCaret;
    TraceTo(TraceViewer(), "getgui %x %d %d (%d %d)", info.flags, caret.left, caret.bottom,
            caret.right, caret.top);
    if (!AcceptsThreadCaret(info.flags, info.hwndCaret == window)) {
        return false;
    }
    SetPoint(point, OffsetCaretPoint(CARET_FROM_THREAD, caret.left, caret.bottom));
    return true;
}

// The last resort; when the caret position cannot be read, the client origin.
static void FromCaret(POINT* point) {
    POINT caret = {0, 0};
    bool read = GetCaretPos(&caret) != FALSE;
    TraceTo(TraceViewer(), "getcaretpos %d %d ", caret.x, caret.y);
    SetPoint(point, LastResortCaretPoint(read, caret.x, caret.y));
}

void FindCaretPosition(HWND window, const char* className, POINT* point) {
    // Windows of the class "RICHEDIT" are placed from the thread's caret only.
    if (!IsRichEditClass(className) && FromIme(window, point)) {
        return;
    }
    if (FromThreadCaret(window, point)) {
        return;
    }
    FromCaret(point);
}
