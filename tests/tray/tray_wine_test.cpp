// The tray icon, its menu and the About box of a real ZELVO.EXE, seen from another process in
// a Wine desktop with a notification area: the icon through the shell and the mouse, the menu
// read where it lives by a probe library (tray_probe.h), the About box through its windows.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "desktop_input.h"
#include "exchange.h"
#include "tray_probe.h"
#include "window_ids.h"
#include "zelvo_driver.h"

namespace {

const DWORD UI_TIMEOUT_MS = 5000;
const POINT MENU_CURSOR = {500, 300};  // where the cursor rests when a press is posted
const char MENU_CLASS[] = "#32768";
const char DIALOG_CLASS[] = "#32770";

// ---- windows of other processes ----

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// ---- the notification area ----

NOTIFYICONDATAA IconRecord(HWND owner) {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = owner;
    record.uID = TRAY_ICON_ID;
    return record;
}

// The shell answers a change that changes nothing only for an icon it holds.
bool IconPresent(HWND owner) {
    NOTIFYICONDATAA record = IconRecord(owner);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// The text of the taskbar's tooltip while it shows, empty otherwise.
std::string ShownTip() {
    std::vector<std::string> tips = ShownTooltips();
    return tips.empty() ? "" : tips[0];
}

// ---- the menu, read by the probe inside the program ----

MenuProbeReply lastReply;

LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == MENU_PROBE_REPLY_TAG && data->cbData == sizeof lastReply) {
            memcpy(&lastReply, data->lpData, sizeof lastReply);
            return TRUE;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND ReplyWindow() {
    static HWND window = nullptr;
    if (window == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ReplyWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZelvoTestMenuReply";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    }
    return window;
}

struct SeenItem {
    UINT id;
    bool separator;
    std::string text;
    RECT rect;
    UINT state;
};

// The file name of this test program: the program of the candidates the tests show for
// their own window.
std::string OwnProgramName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    return name.substr(name.find_last_of('\\') + 1);
}

// The menu with no candidates shown yet: the learning items, the clipboard item (checked: what
// the clipboard held is given back by default), the end command and the About command, as
// the user sees them; with candidates shown for this program, the item that leaves it alone
// as well.
const size_t START_MENU_ITEMS = 8;

void ExpectTheStandardMenu(const std::vector<SeenItem>& items, bool candidatesShown = false) {
    struct Expected {
        UINT id;
        std::string text;  // empty: a separator
        bool checked;
    };
    std::vector<Expected> expected = {
        {IDM_PAUSE_LEARNING, Sjis(u8"学習を一時停止(&P)"), false},
        {IDM_OPEN_DICTIONARY, Sjis(u8"辞書ファイルを開く(&E)"), false},
        {IDM_CLEAN_UP, Sjis(u8"古い単語を整理…(&O)"), false},
        {IDM_GIVE_CLIPBOARD_BACK, Sjis(u8"クリップボードを元に戻す(&C)"), true},
        {0, "", false},
        {IDM_EXIT, Sjis(u8"常駐解除(&Z)"), false},
        {0, "", false},
        {IDM_ABOUT, Sjis(u8"Zelvoについて(&A)"), false},
    };
    if (candidatesShown) {
        expected.insert(expected.begin() + 1,
                        {IDM_EXCLUDE_PROGRAM, Sjis(u8"「") + OwnProgramName() + Sjis(u8"」では使わない(&X)"), false});
    }
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].separator, expected[i].text.empty()) << "item " << i;
        if (!expected[i].text.empty()) {
            EXPECT_EQ(items[i].id, expected[i].id) << "item " << i;
            EXPECT_EQ(items[i].text, expected[i].text) << "item " << i;
            EXPECT_EQ((items[i].state & MFS_CHECKED) != 0, expected[i].checked) << "item " << i;
        }
    }
}

std::vector<SeenItem> ReadMenu(HWND menuWindow) {
    static UINT probeMessage = RegisterWindowMessageA(MENU_PROBE_MESSAGE_NAME);
    lastReply = {};
    lastReply.count = -2;  // no answer
    SendMessageA(menuWindow, probeMessage, reinterpret_cast<WPARAM>(ReplyWindow()), 0);
    std::vector<SeenItem> items;
    for (int i = 0; i < lastReply.count; ++i) {
        const MenuProbeItem& item = lastReply.items[i];
        bool separator = (item.type & MFT_SEPARATOR) != 0;
        items.push_back({separator ? 0 : item.id, separator, separator ? "" : item.text, item.rect, item.state});
    }
    return items;
}

// ---- the program ----

struct Pair {
    const char* word;
    const char* reading;
};

std::string Line(const Pair& pair) {
    return Sjis(pair.word) + "\t" + Sjis(pair.reading);
}

const Pair KNOWN = {u8"海", u8"うみ"};
const Pair NEW_WORD = {u8"漢字", u8"かんじ"};

class TrayTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ForgetLearningChoices();
        Start("ZELVO.EXE");
    }

    void Start(const char* programName) {
        ASSERT_TRUE(MakeScratchFolder(&scratch, programName));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Line(KNOWN) + "\r\n"));
        dictionaryFile = scratch.programPath.substr(0, scratch.programPath.rfind('.')) + ".TXT";
        if (dictionaryFile != scratch.dir + "ZELVO.TXT") {
            ASSERT_TRUE(WriteFileBytes(dictionaryFile, Line(KNOWN) + "\r\n"));
        }
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_NE(OpenExchangeBlock(), nullptr);
        processId = resident.process.dwProcessId;
        ASSERT_NO_FATAL_FAILURE(InstallMenuProbe());
        target = CreateTargetWindow(300, 300);
    }

    static HHOOK HookThread(const char* procedure, DWORD threadId) {
        HMODULE probe = LoadLibraryA(TRAY_PROBE_LIBRARY);
        FARPROC address = probe != nullptr ? GetProcAddress(probe, procedure) : nullptr;
        if (address == nullptr) {
            return nullptr;
        }
        HOOKPROC hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(address));
        return SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, threadId);
    }

    void InstallMenuProbe() {
        probeHook = HookThread(MENU_PROBE_HOOK, GetWindowThreadProcessId(resident.window, nullptr));
        ASSERT_NE(probeHook, nullptr);
    }

    void TearDown() override {
        for (int i = 0; i < 3 && Running() && !MenuWindows().empty(); ++i) {
            PressKey(VK_ESCAPE);
            WaitUntil([&] { return MenuWindows().empty(); }, UI_TIMEOUT_MS);
        }
        if (probeHook != nullptr) {
            UnhookWindowsHookEx(probeHook);
        }
        DestroyWindow(target);
        if (Running()) {
            DWORD exitCode = 99;
            bool ended = EndResident(&resident, &exitCode);
            EXPECT_TRUE(ended);
            EXPECT_EQ(exitCode, 0u);
            if (!ended) {
                KillResident(&resident);
            }
        }
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
        ForgetLearningChoices();
    }

    bool Running() const { return resident.process.hProcess != nullptr; }

    std::vector<HWND> MenuWindows() const { return VisibleWindows(MENU_CLASS, processId); }
    std::vector<HWND> AboutBoxes() const { return VisibleWindows(DIALOG_CLASS, processId); }

    // A press on the icon as the shell reports it, with the cursor resting at MENU_CURSOR.
    void PostTrayEvent(LPARAM mouseMessage, WPARAM iconId = TRAY_ICON_ID) {
        MoveMouse(MENU_CURSOR);
        // Under Wine a pointer event of the X server from before the move can still arrive
        // and put the cursor back for a moment: wait until it stays where it was sent.
        int steady = 0;
        ASSERT_TRUE(WaitUntil([&] {
            POINT at = {};
            GetCursorPos(&at);
            steady = (at.x == MENU_CURSOR.x && at.y == MENU_CURSOR.y) ? steady + 1 : 0;
            return steady >= 5;
        }, UI_TIMEOUT_MS));
        PostMessageA(resident.window, WM_ZELVO_TRAY, iconId, mouseMessage);
    }

    HWND WaitForMenu() {
        HWND menu = nullptr;
        WaitUntil([&] {
            std::vector<HWND> menus = MenuWindows();
            menu = menus.empty() ? nullptr : menus[0];
            return menu != nullptr;
        }, UI_TIMEOUT_MS);
        return menu;
    }

    HWND WaitForAboutBox() {
        HWND box = nullptr;
        WaitUntil([&] {
            std::vector<HWND> boxes = AboutBoxes();
            box = boxes.empty() ? nullptr : boxes[0];
            return box != nullptr;
        }, UI_TIMEOUT_MS);
        return box;
    }

    bool WaitForNoMenu() {
        return WaitUntil([&] { return MenuWindows().empty(); }, UI_TIMEOUT_MS);
    }

    bool WaitForNoAboutBox() {
        return WaitUntil([&] { return AboutBoxes().empty(); }, UI_TIMEOUT_MS);
    }

    // Every message posted to the program before this one has been handled once the list
    // shows the known word: a posted show request queues behind them.
    bool PostedMessagesHandled() {
        SendShowRequest(resident.window, "", Sjis(u8"ぬ"), 100, 100, target);  // empties the list
        if (!ListLines(resident.list).empty()) {
            return false;
        }
        unsigned char* block = OpenExchangeBlock();
        std::string reading = Sjis(KNOWN.reading);
        memcpy(block + EXCHANGE_SECOND_OFFSET, reading.c_str(), reading.size() + 1);
        PostMessageA(resident.window, WM_ZELVO_SHOW, PackShowPosition(100, 100), reinterpret_cast<LPARAM>(target));
        return WaitUntil([&] { return !ListLines(resident.list).empty(); }, UI_TIMEOUT_MS);
    }

    // Opens the menu and clicks the item of the command id.
    HWND OpenMenuAndChoose(UINT id) {
        PostTrayEvent(WM_RBUTTONDOWN);
        HWND menu = WaitForMenu();
        if (menu == nullptr) {
            return nullptr;
        }
        for (const SeenItem& item : ReadMenu(menu)) {
            if (!item.separator && item.id == id) {
                Click(Center(item.rect));
                return menu;
            }
        }
        return nullptr;
    }

    HWND OpenAboutBox() {
        if (OpenMenuAndChoose(IDM_ABOUT) == nullptr || !WaitForNoMenu()) {
            return nullptr;
        }
        return WaitForAboutBox();
    }

    ScratchFolder scratch;
    Resident resident;
    DWORD processId = 0;
    HHOOK probeHook = nullptr;
    HWND target = nullptr;
    std::string dictionaryFile;
};

// ---- the icon ----

TEST_F(TrayTest, IconIsAddedAtStartWithItsTip) {
    EXPECT_TRUE(IconPresent(resident.window));
    // The shell holds it already: a second add for the same window and id is refused.
    NOTIFYICONDATAA record = IconRecord(resident.window);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &record));
    // Resting the mouse on the icon shows its tip.
    MoveMouse(FirstIconCenter());
    std::string tip;
    EXPECT_TRUE(WaitUntil([&] { return !(tip = ShownTip()).empty(); }, UI_TIMEOUT_MS));
    EXPECT_EQ(tip, "Zelvo");
    // Moving over the icon reported mouse moves to the program: they open nothing.
    ASSERT_TRUE(PostedMessagesHandled());
    EXPECT_TRUE(MenuWindows().empty());
}

// ---- what the shell reports over the icon ----

struct TrayEventCase {
    const char* what;
    LPARAM mouseMessage;
    bool opensMenu;
};

const TrayEventCase TRAY_EVENT_CASES[] = {
    {"left press", WM_LBUTTONDOWN, true},
    {"right press", WM_RBUTTONDOWN, true},
    {"left release", WM_LBUTTONUP, false},
    {"right release", WM_RBUTTONUP, false},
    {"mouse move", WM_MOUSEMOVE, false},
    {"left double click", WM_LBUTTONDBLCLK, false},
    {"middle press", WM_MBUTTONDOWN, false},
    {"the message after a menu", 0, false},
};

TEST_F(TrayTest, PressesOpenTheMenuAtTheCursorOtherEventsNothing) {
    bool candidatesShown = false;  // for this program, by PostedMessagesHandled
    for (const TrayEventCase& c : TRAY_EVENT_CASES) {
        SCOPED_TRACE(c.what);
        PostTrayEvent(c.mouseMessage);
        if (!c.opensMenu) {
            ASSERT_TRUE(PostedMessagesHandled());
            candidatesShown = true;
            EXPECT_TRUE(MenuWindows().empty()) << "a menu opened";
            EXPECT_TRUE(AboutBoxes().empty());
            continue;
        }
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        ExpectTheStandardMenu(ReadMenu(menu), candidatesShown);
        // Right edge at the cursor, top edge at the cursor.
        RECT r = Rect(menu);
        EXPECT_EQ(r.right, MENU_CURSOR.x);
        EXPECT_EQ(r.top, MENU_CURSOR.y);
        // Escape closes it without a command.
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForNoMenu());
        ASSERT_TRUE(PostedMessagesHandled());
        candidatesShown = true;
        EXPECT_TRUE(AboutBoxes().empty());
        EXPECT_TRUE(Running());
    }
}

struct ClickCase {
    const char* what;
    DWORD down;
    DWORD up;
};

TEST_F(TrayTest, RealPressOnTheIconOpensTheMenuBesideIt) {
    const ClickCase cases[] = {
        {"left button", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
        {"right button", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.what);
        POINT icon = FirstIconCenter();
        Click(icon, c.down, c.up);
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(ReadMenu(menu).size(), START_MENU_ITEMS);
        // Right-aligned at the cursor; the screen's bottom edge pushes it up over the taskbar.
        RECT r = Rect(menu);
        EXPECT_EQ(r.right, icon.x);
        EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForNoMenu());
    }
}

// ---- the About box ----

TEST_F(TrayTest, AboutCommandOpensOneBoxAtATime) {
    HWND box = OpenAboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), Sjis(u8"バージョン情報"));
    // A second request while it is open opens no second box, not even one still waiting to
    // be shown (a modal box appears once its loop is idle).
    PostMessageA(resident.window, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_TRUE(PostedMessagesHandled());
    std::vector<HWND> boxes = VisibleWindows(DIALOG_CLASS, processId, false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], box);
}

// The line on the dictionary names the file the program really uses, also under another name.
TEST_F(TrayTest, AboutBoxNamesTheDictionaryFile) {
    const char* const programNames[] = {"ZELVO.EXE", "ZELVO2.EXE"};
    for (const char* programName : programNames) {
        SCOPED_TRACE(programName);
        if (std::string(programName) != "ZELVO.EXE") {
            TearDown();
            scratch = {};
            resident = {};
            probeHook = nullptr;
            Start(programName);
        }
        HWND box = OpenAboutBox();
        ASSERT_NE(box, nullptr);
        HWND line = GetWindow(box, GW_CHILD);
        for (int i = 0; i < 5 && line != nullptr; ++i) {
            line = GetWindow(line, GW_HWNDNEXT);
        }
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(Text(line), Sjis(u8"辞書: ") + dictionaryFile);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForNoAboutBox());
    }
}

enum class CloseBy { OkButton, EscapeKey, CloseBox };

struct CloseCase {
    const char* what;
    CloseBy by;
};

// The point of the caption where the close box answers.
bool CloseBoxPoint(HWND box, POINT* at) {
    RECT r = Rect(box);
    for (int y = r.top + 2; y < r.top + 40; y += 2) {
        for (int x = r.right - 2; x > r.right - 60; x -= 2) {
            if (SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                *at = POINT{x - 3, y + 3};
                return SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(at->x, at->y)) == HTCLOSE;
            }
        }
    }
    return false;
}

TEST_F(TrayTest, OkEscapeAndCloseBoxCloseTheAboutBox) {
    const CloseCase cases[] = {
        {"OK button", CloseBy::OkButton},
        {"Escape", CloseBy::EscapeKey},
        {"close box", CloseBy::CloseBox},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.what);
        HWND box = OpenAboutBox();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, UI_TIMEOUT_MS));
        POINT closeBox = {};
        switch (c.by) {
        case CloseBy::OkButton:
            Click(Center(Rect(GetDlgItem(box, IDOK))));
            break;
        case CloseBy::EscapeKey:
            PressKey(VK_ESCAPE);
            break;
        case CloseBy::CloseBox:
            ASSERT_TRUE(CloseBoxPoint(box, &closeBox));
            Click(closeBox);
            break;
        }
        ASSERT_TRUE(WaitForNoAboutBox());
        EXPECT_TRUE(Running());
        // Closed for good: the next request opens a box again.
        PostMessageA(resident.window, WM_COMMAND, IDM_ABOUT, 0);
        HWND again = WaitForAboutBox();
        ASSERT_NE(again, nullptr);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForNoAboutBox());
    }
}

TEST_F(TrayTest, PressOnTheIconClosesTheAboutBoxBeforeTheMenuOpens) {
    ASSERT_NE(OpenAboutBox(), nullptr);
    PostTrayEvent(WM_LBUTTONDOWN);
    ASSERT_NE(WaitForMenu(), nullptr);
    EXPECT_TRUE(AboutBoxes().empty()) << "the About box is still open under the menu";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForNoMenu());
    // The box was forgotten with it: the About command opens a new one.
    PostMessageA(resident.window, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_NE(WaitForAboutBox(), nullptr);
}

// ---- the clipboard item ----

const char GIVE_BACK_SETTING[] = "GiveClipboardBack";

// What the hooks are told: 1 while the word stays on the clipboard.
uint32_t KeepWordOnClipboard() {
    ExchangeStatus status = {};
    return ReadExchangeStatus(&status) ? status.keepWordOnClipboard : 99;
}

// The check item turns the giving back over, tells the hooks at once and is remembered across
// starts of the program.
TEST_F(TrayTest, ClipboardItemTurnsTheGivingBackOverAndIsRemembered) {
    ForgetSettingValue(GIVE_BACK_SETTING);
    struct Forget {
        ~Forget() { ForgetSettingValue(GIVE_BACK_SETTING); }
    } forget;
    const struct {
        const char* what;
        bool restartFirst;
        bool checkedBefore;
        long rememberedAfter;
        uint32_t keepAfter;
    } cases[] = {
        {"first use: checked, a click turns it off", false, true, 0, 1},
        {"off after a restart, a click turns it on again", true, false, 1, 0},
        {"on after a restart, off again", true, true, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.restartFirst) {
            TearDown();
            scratch = {};
            resident = {};
            probeHook = nullptr;
            Start("ZELVO.EXE");
        }
        EXPECT_EQ(KeepWordOnClipboard(), c.checkedBefore ? 0u : 1u);
        PostTrayEvent(WM_RBUTTONDOWN);
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        std::vector<SeenItem> items = ReadMenu(menu);
        auto item = std::find_if(items.begin(), items.end(),
                                 [](const SeenItem& seen) { return seen.id == IDM_GIVE_CLIPBOARD_BACK; });
        ASSERT_NE(item, items.end());
        EXPECT_EQ((item->state & MFS_CHECKED) != 0, c.checkedBefore);
        Click(Center(item->rect));
        ASSERT_TRUE(WaitForNoMenu());
        EXPECT_TRUE(WaitUntil([&] { return KeepWordOnClipboard() == c.keepAfter; }, UI_TIMEOUT_MS));
        EXPECT_EQ(ReadSettingValue(GIVE_BACK_SETTING), c.rememberedAfter);
        EXPECT_TRUE(Running());
    }
}

// ---- the shell restarting ----

TEST_F(TrayTest, TaskbarCreatedAddsTheIconAgain) {
    struct ShellCase {
        const char* what;
        bool removedByShell;
        ClickCase press;  // alternating buttons: two quick presses of one would be a double click
    };
    const ShellCase cases[] = {
        {"the new taskbar has no icon", true, {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}},
        {"the icon is still there", false, {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}},
    };
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (const ShellCase& c : cases) {
        SCOPED_TRACE(c.what);
        bool removed = c.removedByShell;
        if (removed) {
            NOTIFYICONDATAA record = IconRecord(resident.window);
            ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
            ASSERT_FALSE(IconPresent(resident.window));
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, UI_TIMEOUT_MS, &result);
        EXPECT_TRUE(IconPresent(resident.window));
        // The icon answers presses as before.
        Click(FirstIconCenter(), c.press.down, c.press.up);
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(ReadMenu(menu).size(), START_MENU_ITEMS);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForNoMenu());
    }
}

// ---- what Zelvo learns ----

std::string TipNow() {
    MoveMouse(FirstIconCenter());
    std::string tip;
    WaitUntil([&] { return !(tip = ShownTip()).empty(); }, UI_TIMEOUT_MS);
    MoveMouse(MENU_CURSOR);
    WaitUntil([&] { return ShownTip().empty(); }, UI_TIMEOUT_MS);
    return tip;
}

class TrayLearningTest : public TrayTest {
protected:
    std::vector<SeenItem> OpenMenu() {
        PostTrayEvent(WM_RBUTTONDOWN);
        HWND menu = WaitForMenu();
        return menu != nullptr ? ReadMenu(menu) : std::vector<SeenItem>();
    }
    void CloseMenu() {
        PressKey(VK_ESCAPE);
        WaitForNoMenu();
    }
    static const SeenItem* Item(const std::vector<SeenItem>& items, UINT id) {
        for (const SeenItem& item : items) {
            if (!item.separator && item.id == id) {
                return &item;
            }
        }
        return nullptr;
    }
    // The lines the list shows for a reading typed in the test's own window.
    std::vector<std::string> Lookup(const char* reading) {
        SendShowRequest(resident.window, "", Sjis(reading), 100, 100, target);
        return ListLines(resident.list);
    }
    void Restart() {
        DWORD exitCode = 99;
        if (probeHook != nullptr) {
            UnhookWindowsHookEx(probeHook);
            probeHook = nullptr;
        }
        ASSERT_TRUE(EndResident(&resident, &exitCode));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_TRUE(WaitUntilResidentRuns());
        processId = resident.process.dwProcessId;
        ASSERT_NO_FATAL_FAILURE(InstallMenuProbe());
    }
};

TEST_F(TrayLearningTest, PauseStopsLearningShowsItselfAndIsRemembered) {
    const Pair PAUSED_WORD = {u8"休止", u8"きゅうし"};
    ASSERT_NE(OpenMenuAndChoose(IDM_PAUSE_LEARNING), nullptr);
    ASSERT_TRUE(WaitForNoMenu());
    EXPECT_EQ(TipNow(), Sjis(u8"Zelvo (学習を一時停止中)"));
    std::vector<SeenItem> items = OpenMenu();
    ASSERT_NE(Item(items, IDM_PAUSE_LEARNING), nullptr);
    EXPECT_NE(Item(items, IDM_PAUSE_LEARNING)->state & MFS_CHECKED, 0u);
    CloseMenu();
    // Nothing is learned; what is known is still shown.
    SendRegisterRequest(resident.window, Sjis(PAUSED_WORD.word), Sjis(PAUSED_WORD.reading));
    EXPECT_TRUE(Lookup(PAUSED_WORD.reading).empty());
    EXPECT_EQ(Lookup(KNOWN.reading), std::vector<std::string>({Line(KNOWN)}));
    // Still paused after a restart.
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_EQ(TipNow(), Sjis(u8"Zelvo (学習を一時停止中)"));
    SendRegisterRequest(resident.window, Sjis(PAUSED_WORD.word), Sjis(PAUSED_WORD.reading));
    EXPECT_TRUE(Lookup(PAUSED_WORD.reading).empty());
    // Off again: learning goes on.
    ASSERT_NE(OpenMenuAndChoose(IDM_PAUSE_LEARNING), nullptr);
    ASSERT_TRUE(WaitForNoMenu());
    EXPECT_EQ(TipNow(), "Zelvo");
    SendRegisterRequest(resident.window, Sjis(PAUSED_WORD.word), Sjis(PAUSED_WORD.reading));
    EXPECT_EQ(Lookup(PAUSED_WORD.reading), std::vector<std::string>({Line(PAUSED_WORD)}));
    items = OpenMenu();
    ASSERT_NE(Item(items, IDM_PAUSE_LEARNING), nullptr);
    EXPECT_EQ(Item(items, IDM_PAUSE_LEARNING)->state & MFS_CHECKED, 0u);
    CloseMenu();
}

std::wstring Upper(const std::string& ansi) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH);
    CharUpperW(wide);
    return wide;
}

TEST_F(TrayLearningTest, TheProgramOfTheLastCandidatesCanBeLeftAloneAndTakenBack) {
    ASSERT_EQ(Lookup(KNOWN.reading).size(), 1u);  // candidates for this program's window
    std::vector<SeenItem> items = OpenMenu();
    const SeenItem* exclude = Item(items, IDM_EXCLUDE_PROGRAM);
    ASSERT_NE(exclude, nullptr);
    EXPECT_EQ(exclude->text, Sjis(u8"「") + OwnProgramName() + Sjis(u8"」では使わない(&X)"));
    Click(Center(exclude->rect));
    ASSERT_TRUE(WaitForNoMenu());
    uint32_t generation = 0;
    EXPECT_TRUE(WaitUntil([&] { return PublishedExclusions(&generation).size() == 1; }, UI_TIMEOUT_MS));
    EXPECT_EQ(PublishedExclusions(&generation), std::vector<std::wstring>({Upper(OwnProgramName())}));
    EXPECT_EQ(generation % 2, 0u);
    // Remembered: after a restart the list is published again, and the menu offers the program
    // back in its submenu, not to be left alone a second time.
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_EQ(PublishedExclusions(&generation), std::vector<std::wstring>({Upper(OwnProgramName())}));
    PostTrayEvent(WM_RBUTTONDOWN);
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    items = ReadMenu(menu);
    EXPECT_EQ(Item(items, IDM_EXCLUDE_PROGRAM), nullptr);
    const SeenItem* submenu = nullptr;
    for (const SeenItem& item : items) {
        if (item.text == Sjis(u8"使わないプログラム(&U)")) {
            submenu = &item;
        }
    }
    ASSERT_NE(submenu, nullptr);
    Click(Center(submenu->rect));
    HWND inner = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : MenuWindows()) {
            if (window != menu) {
                inner = window;
            }
        }
        return inner != nullptr;
    }, UI_TIMEOUT_MS));
    std::vector<SeenItem> programs = ReadMenu(inner);
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_EQ(programs[0].id, static_cast<UINT>(IDM_INCLUDE_FIRST));
    EXPECT_EQ(programs[0].text, OwnProgramName());
    EXPECT_NE(programs[0].state & MFS_CHECKED, 0u);
    Click(Center(programs[0].rect));
    ASSERT_TRUE(WaitForNoMenu());
    EXPECT_TRUE(WaitUntil([&] { return PublishedExclusions(&generation).empty(); }, UI_TIMEOUT_MS));
    EXPECT_GT(generation, 0u);
    EXPECT_EQ(generation % 2, 0u);
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_TRUE(PublishedExclusions(&generation).empty());
}

// ---- the end of the residence ----

enum class EndBy { MenuClick, AccessKey, CommandWithAboutBoxOpen };

struct EndCase {
    const char* what;
    EndBy by;
};

class TrayEndTest : public TrayTest, public testing::WithParamInterface<EndCase> {};

TEST_P(TrayEndTest, EndCommandRemovesTheIconAndSavesTheDictionary) {
    HWND window = resident.window;
    SendRegisterRequest(window, Sjis(NEW_WORD.word), Sjis(NEW_WORD.reading));
    switch (GetParam().by) {
    case EndBy::MenuClick:
        ASSERT_NE(OpenMenuAndChoose(IDM_EXIT), nullptr);
        break;
    case EndBy::AccessKey:
        PostTrayEvent(WM_LBUTTONDOWN);
        ASSERT_NE(WaitForMenu(), nullptr);
        PressKey('Z');
        break;
    case EndBy::CommandWithAboutBoxOpen:
        ASSERT_NE(OpenAboutBox(), nullptr);
        PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
        break;
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(WaitForResidentExit(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    // Gone from the notification area. (Wine's shell also drops the icon of a destroyed window
    // on its own, so this cannot tell the program's removal from the shell's clean-up.)
    EXPECT_FALSE(IconPresent(window));
    std::string saved;
    ASSERT_TRUE(ReadFileBytes(dictionaryFile, &saved));
    EXPECT_EQ(saved, Line(NEW_WORD) + "\r\n" + Line(KNOWN) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Ways, TrayEndTest,
                         testing::Values(EndCase{"menu click", EndBy::MenuClick},
                                         EndCase{"access key Z", EndBy::AccessKey},
                                         EndCase{"command with the About box open",
                                                 EndBy::CommandWithAboutBoxOpen}),
                         [](const testing::TestParamInfo<EndCase>& info) {
                             switch (info.param.by) {
                             case EndBy::MenuClick: return std::string("MenuClick");
                             case EndBy::AccessKey: return std::string("AccessKey");
                             default: return std::string("CommandWithAboutBoxOpen");
                             }
                         });

}  // namespace
