// The CandidateWindow's class, creation and procedure. The procedure only dispatches: each
// message has one small handler here or in the request files beside this one.
#include "candidate_window.h"

#include "exchange.h"
#include "resident_state.h"
#include "startup.h"
#include "window_ids.h"
#include "about_dialog.h"
#include "clipboard_choice.h"
#include "dictionary.h"
#include "learning_choices.h"
#include "tray.h"
#include "tray_menu.h"
#include "word_removal.h"

static const DWORD CANDIDATE_EX_STYLE = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;  // 0x88
static const DWORD CANDIDATE_STYLE = WS_SYSMENU | WS_THICKFRAME;           // hidden at first
static const DWORD CANDIDATE_LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                                          LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT |
                                          LBS_WANTKEYBOARDINPUT;
static_assert(CANDIDATE_EX_STYLE == 0x88, "tool window, topmost");
static_assert(CANDIDATE_STYLE == 0x000C0000, "system menu and sizing border");
static_assert(CANDIDATE_LIST_STYLE == 0x50A00581, "list style");
static_assert(IDC_CANDIDATE_LIST == CANDIDATE_LIST_ID, "the hook finds the list by this id");

static const UINT FOCUS_CHECK_INTERVAL_MS = 500;
static const int READING_TAB_STOP = 80;  // dialog units from the list's left edge

bool RegisterCandidateClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = CandidateWindowProc;
    windowClass.hInstance = residentState.instance;
    windowClass.hIcon = LoadIconA(residentState.instance, MAKEINTRESOURCEA(IDI_MAIN));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = CANDIDATE_CLASS_NAME;
    return RegisterClassA(&windowClass) != 0;
}

bool CreateCandidateWindow() {
    residentState.mainWindow =
        CreateWindowExA(CANDIDATE_EX_STYLE, CANDIDATE_CLASS_NAME, "", CANDIDATE_STYLE, 0, 50, 300,
                        200, nullptr, nullptr, residentState.instance, nullptr);
    return residentState.mainWindow != nullptr;
}

void HideCandidateWindow() {
    ShowWindow(residentState.mainWindow, SW_HIDE);
}

static void OnCreate(HWND window) {
    HWND list = CreateWindowExA(0, "listbox", "", CANDIDATE_LIST_STYLE, 0, 0, 200, 100, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CANDIDATE_LIST)),
                                residentState.instance, nullptr);
    residentState.listBox = list;
    int tabStops[] = {0, READING_TAB_STOP};
    SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabStops));
    SetTimer(window, FOCUS_TIMER_ID, FOCUS_CHECK_INTERVAL_MS, nullptr);
}

static LRESULT OnDestroy() {
    RemoveTrayIcon();
    PostQuitMessage(0);
    return 0;
}

static void OnSize(LPARAM lParam) {
    int width = static_cast<short>(LOWORD(lParam));
    int height = static_cast<short>(HIWORD(lParam));
    MoveWindow(residentState.listBox, 0, 0, width, height, TRUE);
}

static void OnSetFocus() {
    SetFocus(residentState.listBox);
}

// Log-off or shutdown: the system ends the process after this, so only the save runs.
static LRESULT OnEndSession(WPARAM sessionEnding) {
    if (sessionEnding != 0) {
        SaveDictionaryAtSessionEnd();
    }
    return 0;
}

static void OnShowWindow(WPARAM showing) {
    if (showing == 0) {
        residentState.targetWindow = nullptr;
        residentState.targetThread = 0;
        residentState.movedByUser = false;
    }
}

static void OnListKey(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case VK_RETURN:
        RequestCommit();
        break;
    case VK_ESCAPE:
        HideCandidateWindow();
        break;
    case VK_DELETE:
        if (GetKeyState(VK_SHIFT) < 0) {
            RemoveSelectedLine();
        }
        break;
    default:
        break;
    }
}

static LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_CANDIDATE_LIST:
        if (HIWORD(wParam) == LBN_DBLCLK) {
            RequestCommit();
            return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
        }
        return 0;
    case IDM_EXIT:
        EndResidence();
        return 0;
    case IDM_ABOUT:
        ShowAboutBox();
        return 0;
    case IDM_PAUSE_LEARNING:
        ToggleLearningPause();
        return 0;
    case IDM_EXCLUDE_PROGRAM:
        ExcludeLastProgram();
        return 0;
    case IDM_OPEN_DICTIONARY:
        OpenDictionaryFile();
        return 0;
    case IDM_CLEAN_UP:
        CleanUpOldWords();
        return 0;
    case IDM_GIVE_CLIPBOARD_BACK:
        ToggleClipboardChoice();
        return 0;
    default:
        if (LOWORD(wParam) >= IDM_INCLUDE_FIRST && LOWORD(wParam) <= IDM_INCLUDE_LAST) {
            IncludeProgram(LOWORD(wParam) - IDM_INCLUDE_FIRST);
        }
        return 0;
    }
}

// The close box and SC_CLOSE only hide: the program stays resident.
static LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

static LRESULT OnTimer(WPARAM timer) {
    switch (timer) {
    case FOCUS_TIMER_ID:
        CountHeartbeat();
        RunForegroundCheck();
        TendHostProgram();
        break;
    case SAVE_PAUSE_TIMER_ID:
    case SAVE_DEADLINE_TIMER_ID:
        RunSaveTimer();
        break;
    case FILE_WATCH_TIMER_ID:
        RunFileWatch();
        break;
    default:
        break;
    }
    return 0;
}

static void OnEnterSizeMove() {
    residentState.movedByUser = true;
}

// Each request handled tells the hook, through the heartbeat, that the program answers.
static LRESULT OnHideRequest() {
    HideCandidateWindow();
    CountHeartbeat();
    return 0;
}

static LRESULT OnRegisterRequest() {
    HandleRegisterRequest();
    CountHeartbeat();
    return 0;
}

static LRESULT OnSaveEnded() {
    TakeBackgroundSaveResult();
    return 0;
}

static LRESULT OnShowRequest(WPARAM wParam, LPARAM lParam) {
    HandleShowRequest(wParam, lParam);
    CountHeartbeat();
    return 0;
}

static LRESULT OnCopyData(LPARAM lParam) {
    BOOL handled = HandleRequestRecord(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    CountHeartbeat();
    return handled;
}

static LRESULT OnTrayEvent(WPARAM wParam, LPARAM lParam) {
    ShowTrayMenu(wParam, lParam);
    return 0;
}

// The shell was restarted: the icon has to be added again.
static void OnTaskbarCreated(HWND window) {
    residentState.trayIconAdded = false;
    AddTrayIcon(window);
}

static bool IsTaskbarCreated(UINT message) {
    return message != 0 && message == residentState.taskbarCreatedMsg;
}

LRESULT CALLBACK CandidateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_DESTROY:
        return OnDestroy();
    case WM_SIZE:
        OnSize(lParam);
        break;
    case WM_SETFOCUS:
        OnSetFocus();
        break;
    case WM_ENDSESSION:
        return OnEndSession(wParam);
    case WM_SHOWWINDOW:
        OnShowWindow(wParam);
        break;
    case WM_VKEYTOITEM:
        OnListKey(wParam);
        break;
    case WM_COPYDATA:
        return OnCopyData(lParam);
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam, lParam);
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_ENTERSIZEMOVE:
        OnEnterSizeMove();
        break;
    case WM_ZELVO_TRAY:
        return OnTrayEvent(wParam, lParam);
    case WM_ZELVO_HIDE:
        return OnHideRequest();
    case WM_ZELVO_REGISTER:
        return OnRegisterRequest();
    case WM_ZELVO_SHOW:
        return OnShowRequest(wParam, lParam);
    case WM_ZELVO_SAVE_ENDED:
        return OnSaveEnded();
    default:
        if (IsTaskbarCreated(message)) {
            OnTaskbarCreated(window);
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
