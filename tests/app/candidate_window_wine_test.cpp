// The CandidateWindow seen from the hook's side and from the user's: a real ZELVO.EXE in a
// scratch folder, driven through the ExchangeBlock and its private messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange.h"
#include "zelvo_driver.h"

namespace {

const DWORD SETTLE_TIMEOUT_MS = 3000;
// The foreground check runs every 500 ms: a switch is noticed within a second.
const DWORD FOREGROUND_TIMEOUT_MS = 1000;

struct Pair {
    const char* word;
    const char* reading;
};

// The dictionary file, most recent first (UTF-8 here, Shift-JIS on disk).
const Pair DICTIONARY[] = {
    {u8"漢字", u8"かんじ"}, {u8"感じ", u8"かんじ"}, {u8"監視", u8"かんし"}, {u8"紙", u8"かみ"}, {u8"海", u8"うみ"},
};

std::string Line(const Pair& pair) {
    return Sjis(pair.word) + "\t" + Sjis(pair.reading);
}

std::string DictionaryFile() {
    std::string text;
    for (const Pair& pair : DICTIONARY) {
        text += Line(pair) + "\r\n";
    }
    return text;
}

std::vector<std::string> Lines(std::initializer_list<int> indices) {
    std::vector<std::string> lines;
    for (int i : indices) {
        lines.push_back(Line(DICTIONARY[i]));
    }
    return lines;
}

RECT Rect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

class CandidateWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", DictionaryFile()));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_NE(OpenExchangeBlock(), nullptr);
        target = CreateTargetWindow(300, 300);
        ASSERT_TRUE(BringToFront(target));
        ClearTrace();
    }

    void TearDown() override {
        DestroyWindow(target);
        DWORD exitCode = 99;
        bool ended = EndResident(&resident, &exitCode);
        EXPECT_TRUE(ended);
        EXPECT_EQ(exitCode, 0u);
        if (!ended) {
            KillResident(&resident);
        }
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }

    static bool BringToFront(HWND window) {
        SetForegroundWindow(window);
        return WaitUntil([&] { return GetForegroundWindow() == window; }, SETTLE_TIMEOUT_MS);
    }

    void Show(const char* reading, int x = 100, int y = 100) {
        SendShowRequest(resident.window, Sjis(reading), Sjis(reading), x, y, target);
    }

    bool Visible() const { return IsWindowVisible(resident.window) != FALSE; }

    RECT WindowRect() const {
        RECT r = {};
        GetWindowRect(resident.window, &r);
        return r;
    }

    ScratchFolder scratch;
    Resident resident;
    HWND target = nullptr;
};

// ---- show requests: the lines, most recent first ----

struct ShowCase {
    const char* reading;
    std::vector<std::string> lines;  // empty: nothing matches, the window hides
};

TEST_F(CandidateWindowTest, ShowRequestListsTheMatchesMostRecentFirst) {
    const ShowCase cases[] = {
        {u8"かん", Lines({0, 1, 2})},
        {u8"かんじ", Lines({0, 1})},
        {u8"か", Lines({0, 1, 2, 3})},
        {u8"うみ", Lines({4})},
        {u8"かんじょう", {}},
        {u8"さ", {}},
    };
    for (const ShowCase& c : cases) {
        Show(u8"か");  // visible with other lines before each case
        ASSERT_TRUE(Visible());
        Show(c.reading);
        EXPECT_EQ(ListLines(resident.list), c.lines) << c.reading;
        EXPECT_EQ(Visible(), !c.lines.empty()) << c.reading;
    }
}

// ---- placement: position, size, no activation ----

struct PlacementCase {
    const char* what;
    int x;
    int y;
    RECT expected;
};

TEST_F(CandidateWindowTest, ShowRequestPlacesTheWindowAtTheCaretWithoutActivatingIt) {
    const PlacementCase cases[] = {
        {"inside the screen", 100, 100, Rect(100, 100, 240, 160)},
        {"near the right and bottom edges", 900, 700, Rect(784, 700, 240, 68)},
        {"ending exactly at the right edge", 784, 100, Rect(784, 100, 240, 160)},
        {"one pixel left of that", 783, 100, Rect(783, 100, 240, 160)},
        {"too close to the bottom edge", 50, 740, Rect(50, 720, 240, 48)},
        {"below the bottom edge", 50, 900, Rect(50, 720, 240, 48)},
        {"left of the screen (signed x): onto its left edge", -50, 100, Rect(0, 100, 240, 160)},
        {"above the screen (signed y): onto its top edge", 100, -30, Rect(100, 0, 240, 160)},
    };
    for (const PlacementCase& c : cases) {
        SendHideRequest(resident.window);
        Show(u8"か", c.x, c.y);
        EXPECT_TRUE(Visible()) << c.what;
        EXPECT_EQ(Describe(WindowRect()), Describe(c.expected)) << c.what;
        EXPECT_EQ(GetForegroundWindow(), target) << c.what;
    }
}

TEST_F(CandidateWindowTest, WindowMovedByTheUserStaysUntilItIsHidden) {
    Show(u8"か", 100, 100);
    SendMessageA(resident.window, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(resident.window, nullptr, 400, 300, 260, 180, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(resident.window, WM_EXITSIZEMOVE, 0, 0);

    Show(u8"かん", 200, 200);
    EXPECT_EQ(ListLines(resident.list), Lines({0, 1, 2}));
    EXPECT_EQ(Describe(WindowRect()), Describe(Rect(400, 300, 260, 180)));

    SendHideRequest(resident.window);
    Show(u8"かん", 200, 200);
    EXPECT_EQ(Describe(WindowRect()), Describe(Rect(200, 200, 240, 160)));
}

// ---- hiding ----

enum HideAction { PRESS_ESCAPE, CLOSE_BOX, HIDE_REQUEST, OTHER_APP_IN_FRONT, CANDIDATES_IN_FRONT, TARGET_IN_FRONT };

struct HideCase {
    const char* what;
    HideAction action;
    bool hides;
};

TEST_F(CandidateWindowTest, HidesByEveryPathAndStaysResident) {
    const HideCase cases[] = {
        {"Escape in the list", PRESS_ESCAPE, true},
        {"the close box", CLOSE_BOX, true},
        {"a hide request", HIDE_REQUEST, true},
        {"another application in front", OTHER_APP_IN_FRONT, true},
        {"the candidate window in front", CANDIDATES_IN_FRONT, false},
        {"the target still in front", TARGET_IN_FRONT, false},
    };
    HWND other = StartOtherApplication(600, 100);
    ASSERT_NE(other, nullptr);
    for (const HideCase& c : cases) {
        ASSERT_TRUE(BringToFront(target)) << c.what;
        Show(u8"か");
        ASSERT_TRUE(Visible()) << c.what;
        switch (c.action) {
        case PRESS_ESCAPE:
            SendMessageW(resident.list, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case CLOSE_BOX:
            SendMessageA(resident.window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case HIDE_REQUEST:
            SendHideRequest(resident.window);
            break;
        case OTHER_APP_IN_FRONT:
            ASSERT_TRUE(BringToFront(other)) << c.what;
            break;
        case CANDIDATES_IN_FRONT:
            ASSERT_TRUE(BringToFront(resident.window)) << c.what;
            break;
        case TARGET_IN_FRONT:
            break;
        }
        bool hidden = WaitUntil([&] { return !Visible(); }, FOREGROUND_TIMEOUT_MS);
        EXPECT_EQ(hidden, c.hides) << c.what;
        EXPECT_TRUE(IsWindow(resident.window)) << c.what;
        SendHideRequest(resident.window);
    }
    EndOtherApplication(other);
    Show(u8"かんじ");  // still resident: the next request shows the window again
    EXPECT_TRUE(Visible());
    EXPECT_EQ(ListLines(resident.list), Lines({0, 1}));
}

// ---- removing a word inside the list ----

void PressKeys(std::initializer_list<WORD> downs) {
    std::vector<INPUT> inputs;
    for (WORD key : downs) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = downs.end(); key != downs.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The user clicked into the list: Shift+Delete there removes the selected word; Delete alone
// removes nothing.
TEST_F(CandidateWindowTest, ShiftDeleteInTheListRemovesTheSelectedWord) {
    Show(u8"かん");
    ASSERT_EQ(ListLines(resident.list), Lines({0, 1, 2}));
    SendMessageW(resident.list, LB_SETCURSEL, 1, 0);
    ASSERT_TRUE(BringToFront(resident.window));
    ASSERT_TRUE(WaitUntil([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(resident.window, nullptr), &info) &&
               info.hwndFocus == resident.list;
    }, SETTLE_TIMEOUT_MS));
    // Delete alone first: the keys are taken in order, so the list after Shift+Delete shows
    // what both did.
    PressKeys({VK_DELETE});
    PressKeys({VK_SHIFT, VK_DELETE});
    EXPECT_TRUE(WaitUntil([&] { return ListLines(resident.list) == Lines({0, 2}); }, SETTLE_TIMEOUT_MS))
        << "the list after Shift+Delete";
    EXPECT_EQ(TraceLinesStartingWith("removed").size(), 1u) << "Delete alone removed something too";
    EXPECT_EQ(SendMessageW(resident.list, LB_GETCURSEL, 0, 0), 1) << "the next word takes the place";
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    std::string saved;
    ASSERT_TRUE(ReadFileBytes(scratch.dir + "ZELVO.TXT", &saved));
    EXPECT_EQ(saved, Line(DICTIONARY[0]) + "\r\n" + Line(DICTIONARY[2]) + "\r\n" + Line(DICTIONARY[3]) + "\r\n" +
                         Line(DICTIONARY[4]) + "\r\n");
    ASSERT_TRUE(StartResident(scratch, "", &resident));  // for the tear-down
}

TEST_F(CandidateWindowTest, CandidatesHideWhenTheirTargetWindowIsGone) {
    const UINT commit = RegisterWindowMessageA(COMMIT_MESSAGE_NAME);
    // A show request for a window that no longer exists hides the candidates and leaves no
    // target behind: Enter in the list asks nobody to commit.
    HWND gone = CreateTargetWindow(500, 300);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    ASSERT_TRUE(BringToFront(target));
    Show(u8"か");
    ASSERT_TRUE(Visible());
    SendShowRequest(resident.window, Sjis(u8"か"), Sjis(u8"か"), 100, 100, gone);
    EXPECT_FALSE(Visible());
    SendShowRequest(resident.window, Sjis(u8"か"), Sjis(u8"か"), 100, 100, gone);
    EXPECT_FALSE(Visible()) << "shown for a window that is gone";
    SendMessageW(resident.list, WM_KEYDOWN, VK_RETURN, 0);
    MSG message = {};
    EXPECT_FALSE(PeekMessageA(&message, nullptr, commit, commit, PM_REMOVE));

    // The target dies while its thread stays in front: the next foreground check hides.
    HWND doomed = CreateTargetWindow(500, 300);
    ASSERT_NE(doomed, nullptr);
    ASSERT_TRUE(BringToFront(target));
    SendShowRequest(resident.window, Sjis(u8"か"), Sjis(u8"か"), 100, 100, doomed);
    ASSERT_TRUE(Visible());
    EXPECT_FALSE(WaitUntil([&] { return !Visible(); }, FOREGROUND_TIMEOUT_MS)) << "hidden while the target lived";
    DestroyWindow(doomed);
    ASSERT_EQ(GetForegroundWindow(), target);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(); }, FOREGROUND_TIMEOUT_MS));
}

// ---- commit requests ----

enum Trigger { PRESS_ENTER, DOUBLE_CLICK_LINE, PRESS_SPACE };
enum TargetMode { WITH_TARGET, WITHOUT_TARGET, HIDDEN_SINCE };

struct CommitCase {
    const char* what;
    Trigger trigger;
    TargetMode mode;
    bool posted;
};

TEST_F(CandidateWindowTest, EnterOrDoubleClickPostsOneCommitRequestToTheTarget) {
    const CommitCase cases[] = {
        {"Enter with a target", PRESS_ENTER, WITH_TARGET, true},
        {"double click with a target", DOUBLE_CLICK_LINE, WITH_TARGET, true},
        {"another key", PRESS_SPACE, WITH_TARGET, false},
        {"Enter without a target", PRESS_ENTER, WITHOUT_TARGET, false},
        {"double click without a target", DOUBLE_CLICK_LINE, WITHOUT_TARGET, false},
        {"Enter after the window was hidden", PRESS_ENTER, HIDDEN_SINCE, false},
    };
    const UINT commit = RegisterWindowMessageA(COMMIT_MESSAGE_NAME);
    for (const CommitCase& c : cases) {
        SendShowRequest(resident.window, Sjis(u8"か"), Sjis(u8"か"), 100, 100, c.mode == WITHOUT_TARGET ? nullptr : target);
        ASSERT_TRUE(Visible()) << c.what;
        if (c.mode == HIDDEN_SINCE) {
            SendHideRequest(resident.window);
        }
        switch (c.trigger) {
        case PRESS_ENTER:
            SendMessageW(resident.list, WM_KEYDOWN, VK_RETURN, 0);
            break;
        case DOUBLE_CLICK_LINE:
            SendMessageW(resident.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 5));
            SendMessageW(resident.list, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
            break;
        case PRESS_SPACE:
            SendMessageW(resident.list, WM_KEYDOWN, VK_SPACE, 0);
            break;
        }
        // The request is posted before the synchronous send returns: the queue holds it now.
        MSG message = {};
        bool found = PeekMessageA(&message, nullptr, commit, commit, PM_NOREMOVE) != FALSE;
        EXPECT_EQ(found, c.posted) << c.what;
        if (found) {
            EXPECT_EQ(message.hwnd, target) << c.what;
            EXPECT_EQ(message.wParam, 0u) << c.what;
            EXPECT_EQ(message.lParam, 0) << c.what;
            PeekMessageA(&message, nullptr, commit, commit, PM_REMOVE);
            EXPECT_FALSE(PeekMessageA(&message, nullptr, commit, commit, PM_NOREMOVE)) << c.what << ": a second one";
        }
        SendHideRequest(resident.window);
    }
}

// ---- register requests and the filter ----

struct RegisterCase {
    const char* what;
    const char* word;
    const char* reading;
    bool registered;
};

TEST_F(CandidateWindowTest, RegisterRequestsPassTheFilterOrAreDropped) {
    const RegisterCase cases[] = {
        {"one kanji", u8"亜", u8"あ", true},
        {"one hiragana", u8"あ", u8"あ", false},
        {"one katakana", u8"ア", u8"あ", false},
        {"one byte", "a", "a", false},
        {"two single-byte characters", "ab", "ab", true},
        {"two kanji", u8"茶碗", u8"ちゃわん", true},
        {"empty word", "", u8"いぬ", false},
        {"empty reading", u8"犬", "", false},
        {"a TAB in the word", u8"茶\t碗", u8"ちゃわん", false},
        {"a line feed in the reading", u8"茶碗", u8"ちゃ\nわん", false},
        {"a carriage return and line feed after the word", u8"茶碗\r\n", u8"ちゃわん", false},
    };
    for (const RegisterCase& c : cases) {
        std::string word = Sjis(c.word);
        std::string reading = Sjis(c.reading);
        ClearTrace();
        SendRegisterRequest(resident.window, word, reading);
        EXPECT_EQ(TraceLinesStartingWith("RegComp"),
                  std::vector<std::string>{"RegComp " + word + " " + reading + " "})
            << c.what;
        EXPECT_EQ(TraceLinesStartingWith("ConvReg="),
                  c.registered ? std::vector<std::string>{"ConvReg=1 "} : std::vector<std::string>{})
            << c.what;
        // What the user sees: a remembered word heads the candidates of its reading.
        SendShowRequest(resident.window, reading, reading, 100, 100, target);
        std::vector<std::string> lines = ListLines(resident.list);
        bool first = !lines.empty() && lines[0] == word + "\t" + reading;
        EXPECT_EQ(first, c.registered) << c.what;
        SendHideRequest(resident.window);
    }
}

}  // namespace
