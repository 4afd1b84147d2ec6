// The test IME under the real IME manager: real key events into a top-level EDIT, the IME
// messages seen by a WH_GETMESSAGE hook (posted) and by the window (posted or sent), the
// strings read back with ImmGetCompositionStringA at each message, and the EDIT's text.
#include <windows.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "install_ime.h"

namespace {

// The same program started with TARGET_SWITCH is a target application of its own: a
// top-level EDIT with a Unicode message loop, until it is closed.
const char TARGET_SWITCH[] = "--ime-target";

int RunTarget() {
    HWND window = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  150, 300, 400, 120, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;
    SetForegroundWindow(window);
    SetFocus(window);
    MSG msg;
    while (IsWindow(window) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE || (msg.hwnd == window && msg.message == WM_APP)) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// Runs before the tests: a target never gets to them.
const int targetExit = strstr(GetCommandLineA(), TARGET_SWITCH) ? ExitProcess(RunTarget()), 0 : 0;

constexpr DWORD WAIT_LIMIT_MS = 5000;
constexpr UINT BARRIER_KEY = VK_F24;  // a key nobody uses: its key-up closes each step

// One IME message as the hook or the window saw it, with the IME's strings at that moment
// (hex bytes, as read through the ANSI calls).
struct SeenMessage {
    UINT message;
    LPARAM lParam;
    std::string comp, read, attr, result, resultRead;
};

std::vector<SeenMessage> hookLog;  // removed from the queue: posted messages
std::vector<SeenMessage> sentLog;  // sent to the EDIT (SendMessage, not through the queue)
std::vector<WPARAM> keyDowns;     // wParam of each WM_KEYDOWN taken from the queue
std::vector<WPARAM> keyUps;       // ... and of each WM_KEYUP
bool barrierSeen;
HWND edit;
HHOOK hook;
HHOOK sendHook;
std::string setupError;

std::string Hex(const std::string& bytes) {
    std::string out;
    char text[4];
    for (unsigned char c : bytes) {
        snprintf(text, sizeof(text), out.empty() ? "%02X" : " %02X", c);
        out += text;
    }
    return out;
}

std::string CompositionPart(HIMC himc, DWORD kind) {
    LONG size = ImmGetCompositionStringA(himc, kind, nullptr, 0);
    if (size <= 0) return "";
    std::string bytes(static_cast<size_t>(size), '\0');
    size = ImmGetCompositionStringA(himc, kind, &bytes[0], static_cast<DWORD>(size));
    bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return Hex(bytes);
}

bool IsImeMessage(UINT message) {
    return message == WM_IME_STARTCOMPOSITION || message == WM_IME_COMPOSITION ||
           message == WM_IME_ENDCOMPOSITION;
}

SeenMessage Snapshot(HWND window, UINT message, LPARAM lParam) {
    SeenMessage seen = {message, lParam, "", "", "", "", ""};
    HIMC himc = ImmGetContext(window);
    if (!himc) return seen;
    seen.comp = CompositionPart(himc, GCS_COMPSTR);
    seen.read = CompositionPart(himc, GCS_COMPREADSTR);
    seen.attr = CompositionPart(himc, GCS_COMPATTR);
    seen.result = CompositionPart(himc, GCS_RESULTSTR);
    seen.resultRead = CompositionPart(himc, GCS_RESULTREADSTR);
    ImmReleaseContext(window, himc);
    return seen;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE) {
        if (IsImeMessage(msg->message))
            hookLog.push_back(Snapshot(msg->hwnd, msg->message, msg->lParam));
        if (msg->message == WM_KEYDOWN) keyDowns.push_back(msg->wParam);
        if (msg->message == WM_KEYUP) keyUps.push_back(msg->wParam);
        if (msg->message == WM_KEYUP && msg->wParam == BARRIER_KEY) barrierSeen = true;
    }
    return CallNextHookEx(hook, code, removal, lParam);
}

LRESULT CALLBACK CallWndProcHook(int code, WPARAM, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == edit && IsImeMessage(call->message))
        sentLog.push_back(Snapshot(call->hwnd, call->message, call->lParam));
    return CallNextHookEx(sendHook, code, 0, lParam);
}

// Runs the message loop (with TranslateMessage, where the IME manager hands keys to the
// IME) until the condition holds, polling every 10 ms. The loop is a Unicode one: under
// Wine 8 an ANSI loop (PeekMessageA, DispatchMessageA) hands the EDIT each double-byte
// character of a result as two WM_CHARs that it takes as two characters (81 45 and the
// trail byte instead of the character).
template <typename Condition>
bool PumpUntil(Condition condition) {
    ULONGLONG deadline = GetTickCount64() + WAIT_LIMIT_MS;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PressKey(WORD vk) {
    INPUT input[2] = {};
    for (INPUT& in : input) {
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// ' ' Space, '\n' Enter, '\x1b' Escape, '\b' Backspace, a lower-case letter its key.
WORD KeyOf(char c) {
    switch (c) {
    case ' ': return VK_SPACE;
    case '\n': return VK_RETURN;
    case '\x1b': return VK_ESCAPE;
    case '\b': return VK_BACK;
    default: return static_cast<WORD>(c - 'a' + 'A');
    }
}

// Input is handled in order: once the barrier key's key-up is out of the queue, everything
// typed before it, and every message the IME posted for it, has been handled.
bool WaitForInputHandled() {
    barrierSeen = false;
    PressKey(BARRIER_KEY);
    return PumpUntil([] { return barrierSeen; });
}

std::string EditText() {
    char text[256] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return Hex(text);
}

void CancelByNotify() {
    HIMC himc = ImmGetContext(edit);
    ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    ImmReleaseContext(edit, himc);
}

void SetUpWindowAndIme() {
    if (!InstallTestIme(TestImeBesideProgram(), &setupError)) return;
    HKL layout = GetKeyboardLayout(0);
    char file[MAX_PATH] = {};
    ImmGetIMEFileNameA(layout, file, MAX_PATH);
    if (reinterpret_cast<ULONG_PTR>(layout) != TEST_IME_LAYOUT || lstrcmpiA(file, TEST_IME_FILE)) {
        char text[160];
        snprintf(text, sizeof(text), "layout %p has IME \"%s\"", static_cast<void*>(layout), file);
        setupError = text;
        return;
    }
    edit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 120,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!edit) {
        setupError = "no EDIT window";
        return;
    }
    SetForegroundWindow(edit);
    SetFocus(edit);
    if (!PumpUntil([] { return GetForegroundWindow() == edit && GetFocus() == edit; })) {
        setupError = "the EDIT does not become the foreground window";
        return;
    }
    hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    sendHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProcHook, nullptr, GetCurrentThreadId());
    if (!hook || !sendHook) setupError = "no message hooks";
    if (!GetModuleHandleA(TEST_IME_FILE)) setupError = "the IME module is not loaded";
}

// Installs the IME before the first window of the process exists (the IME manager picks
// the layout's IME when it makes the thread's first input context) and takes it out of
// the prefix's registry at the end, so that later programs get Wine's own IME again.
class ImeEnvironment : public testing::Environment {
public:
    void SetUp() override { SetUpWindowAndIme(); }
    void TearDown() override {
        if (sendHook) UnhookWindowsHookEx(sendHook);
        if (hook) UnhookWindowsHookEx(hook);
        if (edit) DestroyWindow(edit);
        EXPECT_TRUE(RemoveTestIme());
    }
};

testing::Environment* const imeEnvironment =
    testing::AddGlobalTestEnvironment(new ImeEnvironment);

void TypeLetters(const char* keys) {
    for (const char* p = keys; *p; ++p) PressKey(KeyOf(*p));
}

enum Action { TYPE, NOTIFY_CANCEL };

constexpr LPARAM NO_COMPOSITION_MESSAGE = -1;

struct Step {
    Action action;
    const char* keys;      // for TYPE
    bool started;          // WM_IME_STARTCOMPOSITION came in this step
    LPARAM lastFlags;      // lParam of the step's last WM_IME_COMPOSITION
    bool posted;           // ... which was posted (the hook saw it), not sent
    bool ended;            // WM_IME_ENDCOMPOSITION came in this step
    // The IME's strings at that last WM_IME_COMPOSITION, hex.
    const char* comp;
    const char* read;
    const char* attr;
    const char* result;
    const char* resultRead;
    const char* editText;  // the EDIT's text after the step, hex; null: not checked
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

// Shift-JIS: あ 82A0, い 82A2, う 82A4, か 82A9, な 82C8, じ 82B6, に 82C9, ほ 82D9,
// ん 82F1, ｋ 828B, 愛 88A4, 漢字 8ABF 8E9A, 日本 93FA 967B.
const char AI[] = "82 A0 82 A2";
const char LOVE[] = "88 A4";
const char KANJI_READING[] = "82 A9 82 F1 82 B6";
const char NIHON_READING[] = "82 C9 82 D9 82 F1";
const LPARAM COMPOSING = 0x1BF;
const LPARAM RESULT = 0x1E00;

const Scenario SCENARIOS[] = {
    {"ConvertAndCommit",
     {{TYPE, "ai", true, COMPOSING, true, false, AI, AI, "00 00 00 00", "", "", nullptr},
      {TYPE, " ", false, COMPOSING, true, false, LOVE, AI, "01 01", "", "", nullptr},
      {TYPE, "\n", false, RESULT, true, true, "", "", "", LOVE, AI, LOVE}}},
    {"CommitKanaUnconverted",
     {{TYPE, "kana", true, COMPOSING, true, false, "82 A9 82 C8", "82 A9 82 C8",
       "00 00 00 00", "", "", nullptr},
      {TYPE, "\n", false, RESULT, true, true, "", "", "", "82 A9 82 C8", "82 A9 82 C8",
       "82 A9 82 C8"}}},
    {"ConvertKanji",
     {{TYPE, "kanji", true, COMPOSING, true, false, KANJI_READING, KANJI_READING,
       "00 00 00 00 00 00", "", "", nullptr},
      {TYPE, " ", false, COMPOSING, true, false, "8A BF 8E 9A", KANJI_READING,
       "01 01 01 01", "", "", nullptr},
      {TYPE, "\n", false, RESULT, true, true, "", "", "", "8A BF 8E 9A", KANJI_READING,
       "8A BF 8E 9A"}}},
    {"BackspaceUndoesConversion",
     {{TYPE, "nihon ", true, COMPOSING, true, false, "93 FA 96 7B", NIHON_READING,
       "01 01 01 01", "", "", nullptr},
      {TYPE, "\b", false, COMPOSING, true, false, NIHON_READING, NIHON_READING,
       "00 00 00 00 00 00", "", "", nullptr},
      {TYPE, "\n", false, RESULT, true, true, "", "", "", NIHON_READING, NIHON_READING,
       NIHON_READING}}},
    {"EscapeCancels",
     {{TYPE, "ai", true, COMPOSING, true, false, AI, AI, "00 00 00 00", "", "", nullptr},
      {TYPE, "\x1b", false, 0, true, true, "", "", "", "", "", ""}}},
    {"BackspaceToEmptyCancels",
     {{TYPE, "kak", true, COMPOSING, true, false, "82 A9 82 8B", "82 A9 82 8B", "00 00 00 00",
       "", "", nullptr},
      {TYPE, "\b", false, COMPOSING, true, false, "82 A9", "82 A9", "00 00", "", "", nullptr},
      {TYPE, "\b", false, 0, true, true, "", "", "", "", "", ""}}},
    {"NotifyCancelThenTypeAgain",
     {{TYPE, "ai", true, COMPOSING, true, false, AI, AI, "00 00 00 00", "", "", nullptr},
      {NOTIFY_CANCEL, "", false, 0, false, true, "", "", "", "", "", ""},
      {TYPE, "u\n", true, RESULT, true, true, "", "", "", "82 A4", "82 A4", "82 A4"}}},
};

void PrintTo(const Scenario& scenario, std::ostream* os) { *os << scenario.name; }

std::vector<SeenMessage> Since(const std::vector<SeenMessage>& log, size_t start) {
    return std::vector<SeenMessage>(log.begin() + static_cast<std::ptrdiff_t>(start), log.end());
}

bool Contains(const std::vector<SeenMessage>& messages, UINT message) {
    for (const SeenMessage& seen : messages)
        if (seen.message == message) return true;
    return false;
}

const SeenMessage* LastComposition(const std::vector<SeenMessage>& messages) {
    for (auto it = messages.rbegin(); it != messages.rend(); ++it)
        if (it->message == WM_IME_COMPOSITION) return &*it;
    return nullptr;
}

// Each case starts with no composition and an empty EDIT.
void StartClean() {
    ASSERT_EQ("", setupError);
    CancelByNotify();
    SetWindowTextA(edit, "");
    ASSERT_TRUE(WaitForInputHandled());
    ASSERT_EQ("", EditText());
}

class TestImeEndToEnd : public testing::TestWithParam<Scenario> {
protected:
    void SetUp() override { StartClean(); }

    void RunStep(const Step& step) {
        size_t postedStart = hookLog.size();
        size_t sentStart = sentLog.size();
        if (step.action == NOTIFY_CANCEL)
            CancelByNotify();
        else
            TypeLetters(step.keys);
        ASSERT_TRUE(WaitForInputHandled()) << "the keys were not handled in time";
        std::vector<SeenMessage> posted = Since(hookLog, postedStart);
        std::vector<SeenMessage> sent = Since(sentLog, sentStart);
        const std::vector<SeenMessage>& route = step.posted ? posted : sent;

        EXPECT_TRUE((step.posted ? sent : posted).empty())
            << "IME messages came " << (step.posted ? "sent" : "posted");
        EXPECT_EQ(step.started, Contains(route, WM_IME_STARTCOMPOSITION));
        EXPECT_EQ(step.ended, Contains(route, WM_IME_ENDCOMPOSITION));
        const SeenMessage* last = LastComposition(route);
        ASSERT_NE(nullptr, last) << "no WM_IME_COMPOSITION came "
                                 << (step.posted ? "posted" : "sent");
        EXPECT_EQ(step.lastFlags, last->lParam);
        EXPECT_EQ(step.comp, last->comp);
        EXPECT_EQ(step.read, last->read);
        EXPECT_EQ(step.attr, last->attr);
        EXPECT_EQ(step.result, last->result);
        EXPECT_EQ(step.resultRead, last->resultRead);
        if (step.editText) {
            EXPECT_EQ(step.editText, EditText());
        }
    }
};

TEST_P(TestImeEndToEnd, ComposesThroughTheImeManager) {
    const Scenario& scenario = GetParam();
    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        RunStep(scenario.steps[i]);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, TestImeEndToEnd, testing::ValuesIn(SCENARIOS),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

// What an application (and a message hook) sees of a key: the keys the IME takes come as
// VK_PROCESSKEY on key-down, their key-up keeps the real code.
struct KeyCase {
    const char* name;
    const char* before;  // letters typed first
    WORD key;
    WPARAM down;         // wParam of the key's WM_KEYDOWN
};

const KeyCase KEYS[] = {
    {"LetterOpensComposition", "", 'A', VK_PROCESSKEY},
    {"DownWithoutComposition", "", VK_DOWN, VK_DOWN},
    {"EnterWithoutComposition", "", VK_RETURN, VK_RETURN},
    {"SpaceWithoutComposition", "", VK_SPACE, VK_SPACE},
    {"DownWhileComposing", "ai", VK_DOWN, VK_PROCESSKEY},
    {"PageDownWhileComposing", "ai", VK_NEXT, VK_PROCESSKEY},
    {"EnterWhileComposing", "ai", VK_RETURN, VK_PROCESSKEY},
    {"ShiftWhileComposing", "ai", VK_SHIFT, VK_SHIFT},
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class TestImeKeys : public testing::TestWithParam<KeyCase> {
protected:
    void SetUp() override { StartClean(); }
};

TEST_P(TestImeKeys, KeyDownShowsWhetherTheImeTookTheKey) {
    const KeyCase& c = GetParam();
    TypeLetters(c.before);
    ASSERT_TRUE(WaitForInputHandled());
    size_t downStart = keyDowns.size();
    size_t upStart = keyUps.size();
    PressKey(c.key);
    ASSERT_TRUE(WaitForInputHandled());
    // The key's own messages come first; the barrier key's follow.
    ASSERT_LT(downStart, keyDowns.size());
    ASSERT_LT(upStart, keyUps.size());
    EXPECT_EQ(c.down, keyDowns[downStart]);
    EXPECT_EQ(c.key, keyUps[upStart]);
}

INSTANTIATE_TEST_SUITE_P(Keys, TestImeKeys, testing::ValuesIn(KEYS),
                         [](const testing::TestParamInfo<KeyCase>& info) {
                             return std::string(info.param.name);
                         });

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible top-level window of a process, or null.
HWND WindowOfProcess(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Programs started after the installation compose with the test IME too.
TEST(TestImeInAnotherProcess, CommitsIntoItsEdit) {
    StartClean();
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = std::string("\"") + program + "\" " + TARGET_SWITCH;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    HWND target = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        target = WindowOfProcess(process.dwProcessId);
        return target && GetForegroundWindow() == target;
    })) << "the target's EDIT does not come to the foreground";
    if (target && GetForegroundWindow() == target) {
        TypeLetters("ai \n");
        std::string text;
        EXPECT_TRUE(PumpUntil([&] {
            char buffer[64] = {};
            SendMessageA(target, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
            text = Hex(buffer);
            return text == LOVE;
        })) << "the target's EDIT holds " << text;
    }
    if (target) PostMessageA(target, WM_APP, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, WAIT_LIMIT_MS));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetForegroundWindow(edit);
    SetFocus(edit);
    EXPECT_TRUE(PumpUntil([] { return GetForegroundWindow() == edit; }));
}

}  // namespace
