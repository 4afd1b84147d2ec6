// The whole system under Wine: a real ZELVO.EXE with a seeded dictionary, the test IME, and
// a target application in a process of its own, driven by real key events. Each scenario
// is a table of steps; after each step the harness checks what the user and the
// application see: the candidates, their selection and place, whether the key reached the
// application, and the application's text. After the resident program has ended, the
// dictionary file shows what was registered.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "e2e_protocol.h"
#include "install_ime.h"

namespace {

// LIST_DOUBLE_CLICK: a double click in the CandidateList, which makes the resident program
// post "Zelvo_kakuteiMSG" to the target. TYPE_AT_ONCE: the keys all in the target's input
// queue before it takes the first. SHIFT_KEY: the key with Shift held.
enum Action { TYPE, TYPE_AT_ONCE, KEY, CONTROL_KEY, SHIFT_KEY, MOUSE, LIST_DOUBLE_CLICK };
enum Shown { SHOWN_ANY, SHOWN, HIDDEN };
enum Reach { REACH_ANY, REACHED, CONSUMED };
constexpr int ANY_SELECTION = -2;

struct Step {
    const char* what;
    Action action;
    const char* keys;     // TYPE: romaji, ' ' Space, '\n' Enter, '\b' Backspace
    UINT code;            // KEY, CONTROL_KEY: virtual key; MOUSE: the message posted
    Shown shown;
    int selection;        // the CandidateList selection afterwards, or ANY_SELECTION
    Reach reach;          // KEY, CONTROL_KEY, MOUSE: whether the application got it
    const char* text;     // the application's text afterwards (UTF-8), or null
    bool atCaret;         // the CandidateWindow's corner is next to the caret
    const char* trace;    // a trace line beginning like this came during the step, or null
    const char* lines = nullptr;  // the CandidateList's lines afterwards (UTF-8, "|" between), or null
};

enum Notice { NOTICE_ANY, NOTIFIED, NOT_NOTIFIED };

struct Scenario {
    const char* name;
    const char* kind;        // the target window: edit, richedit, richeditw, paster, wwg
    const char* dictionary;  // the seeded dictionary file (UTF-8 here, Shift-JIS on disk)
    std::vector<Step> steps;
    Notice toolNotice;       // the "Marnet" window's notification by the end
    const char* firstLine;   // the dictionary file's first line after exit, or null
    bool unicodeIme = false;               // the test IME is a Unicode IME in the target
    const char* absentReading = nullptr;   // no line of the file after exit has this reading
    const char* fileAfter = nullptr;       // the whole dictionary file after exit (UTF-8), or null
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

// The caret rule of each kind of window: where the candidates' corner goes, relative to the
// caret rectangle (x from its left, y from its top or its bottom). The hook sees a
// composition before the application has drawn it, so the caret it finds may still be the
// one from before the step: x lies between the caret's left before and after the step.
struct CaretRule {
    const char* kind;
    int dx;
    bool fromBottom;
    int dy;
};
const CaretRule CARET_RULES[] = {
    {"edit", 20, true, 25},       // the GUI thread's caret (Wine's EDIT sets no composition window)
    {"richedit", 20, true, 25},   // the GUI thread's caret
    {"richeditw", 20, true, 25},  // the GUI thread's caret
    {"paster", 20, true, 25},     // the GUI thread's caret
    {"wwg", 20, true, 25},        // the GUI thread's caret
};

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";

// A reading with a kanji in it: without the kanji rule, a composition あい漢 would list it.
const char KANJI_DICTIONARY[] = u8"愛情\tあいじょう\r\n愛漢字\tあい漢字\r\n";

// Lines longer than the hook takes: a word of 600 bytes (the line does not fit the line
// buffer) and a word of 300 bytes (the line fits, the word does not fit its field).
std::string OverlongDictionary() {
    return std::string(600, 'x') + u8"\tあいう\r\n" + std::string(300, 'y') + u8"\tあいえ\r\n" +
           u8"愛\tあい\r\n";
}

const Step TYPE_AI = {"type a reading", TYPE, "ai", 0, SHOWN, -1, REACH_ANY, nullptr, true,
                      nullptr};

Step Key(const char* what, UINT key, int selection, Reach reach = CONSUMED) {
    return {what, KEY, "", key, SHOWN, selection, reach, nullptr, false, nullptr};
}

Step Enter(const char* text, Reach reach = CONSUMED) {
    return {"enter", KEY, "", VK_RETURN, HIDDEN, ANY_SELECTION, reach, text, false, nullptr};
}

Step Mouse(const char* what, UINT message, Shown shown = HIDDEN) {
    return {what, MOUSE, "", message, shown, ANY_SELECTION, REACHED, nullptr, false, nullptr};
}

Step ShiftDelete(const char* what, int selection, Reach reach, const char* lines) {
    return {what, SHIFT_KEY, "", VK_DELETE, SHOWN, selection, reach, nullptr, false, nullptr, lines};
}

Step Type(const char* what, const char* keys, Shown shown, const char* text = nullptr) {
    return {what, TYPE, keys, 0, shown, ANY_SELECTION, REACH_ANY, text, false, nullptr};
}

// Enter and the keys typed right after it, faster than the application takes them.
Step TypeAhead(const char* what, const char* keys, const char* text) {
    return {what, TYPE_AT_ONCE, keys, 0, HIDDEN, ANY_SELECTION, REACH_ANY, text, false, nullptr};
}

// Keys typed right after Enter reach the application after the word, in their order: digits
// and Shift+1; then a reading that the IME composes and commits itself with the Enter that
// follows, and one more digit.
std::vector<Step> TypedAheadSteps() {
    return {TYPE_AI,
            Key("down", VK_DOWN, 0),
            TypeAhead("enter, then digits and a shifted one", "\n1!2", u8"愛情1!2"),
            TYPE_AI,
            Key("down", VK_DOWN, 0),
            TypeAhead("enter, then a reading, its enter and a digit", "\nai\n3", u8"愛情1!2愛情あい3")};
}

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        {"EditCommitsTheSelectedWord", "edit", DICTIONARY,
         {{"type a reading: placement deferred to the move message", TYPE, "ai", 0, SHOWN, -1,
           REACH_ANY, nullptr, true, "--pos="},
          Key("down selects the first", VK_DOWN, 0),
          Key("down", VK_DOWN, 1),
          Key("up", VK_UP, 0),
          {"control+down outside _WwG is consumed", CONTROL_KEY, "", VK_DOWN, SHOWN, 1, CONSUMED,
           nullptr, false, nullptr},
          Enter(u8"相手")},
         NOTIFIED, u8"相手\tあいて"},
        {"DoubleClickInTheListCommitsInTheTarget", "edit", DICTIONARY,
         {TYPE_AI,
          Key("down", VK_DOWN, 0),
          Key("down", VK_DOWN, 1),
          {"double click in the list", LIST_DOUBLE_CLICK, "", 0, HIDDEN, ANY_SELECTION,
           REACH_ANY, u8"相手", false, "kakutei "}},
         NOTIFIED, u8"相手\tあいて"},
        {"PageKeysMoveByAPage", "edit", DICTIONARY,
         {TYPE_AI,
          Key("down", VK_DOWN, 0),
          Key("page down", VK_NEXT, 2),
          Key("page up", VK_PRIOR, 0),
          Enter(u8"愛情"),
          {"page down without a composition reaches the application", KEY, "", VK_NEXT,
           HIDDEN, ANY_SELECTION, REACHED, nullptr, false, nullptr}},
         NOTIFIED, u8"愛情\tあいじょう"},
        {"UpWithoutSelectionIsConsumedAndUpOnTheFirstClears", "edit", DICTIONARY,
         {TYPE_AI,
          Key("up with nothing selected", VK_UP, -1),
          Key("down", VK_DOWN, 0),
          Key("up on the first", VK_UP, -1),
          Enter(u8"あい", REACHED)},
         NOT_NOTIFIED, u8"あい\tあい"},
        {"ImeConversionRegistersTheWord", "edit", DICTIONARY,
         {TYPE_AI,
          Type("space converts: the converted clause hides the candidates", " ", HIDDEN),
          Type("enter commits the conversion", "\n", HIDDEN, u8"愛")},
         NOT_NOTIFIED, u8"愛\tあい"},
        {"KanjiInTheCompositionHidesTheList", "edit", KANJI_DICTIONARY,
         {TYPE_AI,
          Type("a kanji typed into the input (still unconverted) hides the candidates", "xq", HIDDEN),
          Type("escape cancels", "\x1b", HIDDEN, "")},
         NOT_NOTIFIED, u8"愛情\tあいじょう"},
        {"RichEditCommitsByPasteMessage", "richedit", DICTIONARY,
         {TYPE_AI, Key("down", VK_DOWN, 0), Enter(u8"愛情")},
         NOTIFIED, u8"愛情\tあいじょう"},
        {"OwnWindowPastesOnControlV", "paster", DICTIONARY,
         {TYPE_AI, Key("down", VK_DOWN, 0), Key("down", VK_DOWN, 1), Enter(u8"相手")},
         NOT_NOTIFIED, u8"相手\tあいて"},
        {"WordWindowPlacesAtOnceAndSharesControlDown", "wwg", DICTIONARY,
         {{"type a reading: placed at once", TYPE, "ai", 0, SHOWN, -1, REACH_ANY, nullptr, true,
           "--hwnd="},
          Key("down", VK_DOWN, 0),
          {"control+down also reaches the application", CONTROL_KEY, "", VK_DOWN, SHOWN, 1,
           REACHED, nullptr, false, nullptr},
          Enter(u8"相手")},
         NOT_NOTIFIED, u8"相手\tあいて"},
        // A window of the tests' own class: an EDIT pastes on a middle click under Wine.
        {"MouseHidesTheCandidates", "paster", DICTIONARY,
         {TYPE_AI,
          {"left button release shows them again at the caret", MOUSE, "", WM_LBUTTONUP, SHOWN,
           ANY_SELECTION, REACHED, nullptr, true, "--hwnd="},
          Mouse("right button", WM_RBUTTONDOWN),
          Type("backspace shows them again", "\b", SHOWN),
          Mouse("middle button", WM_MBUTTONDOWN),
          Type("type again", "i", SHOWN),
          Mouse("wheel", WM_MOUSEWHEEL),
          Type("escape cancels", "\x1b", HIDDEN, "")},
         NOT_NOTIFIED, u8"愛情\tあいじょう"},
        // A Unicode IME converts しか to 𠮟, which code page 932 cannot hold: the ANSI result
        // reads "?", and the word is not learned. An ordinary word in the same IME is.
        {"UnicodeResultOutsideTheCodePageIsNotLearned", "edit", DICTIONARY,
         {Type("type a reading without candidates", "shika", HIDDEN),
          Type("space converts to a character outside the code page", " ", HIDDEN),
          Type("enter commits it", "\n", HIDDEN),
          Type("an ordinary word in the same IME", "ai \n", HIDDEN)},
         NOT_NOTIFIED, u8"愛\tあい", true, u8"しか"},
        // The selected word leaves the dictionary and the list at once; the others keep
        // their order, in the list and in the file.
        {"ShiftDeleteRemovesTheSelectedWord", "edit", DICTIONARY,
         {TYPE_AI,
          Key("down", VK_DOWN, 0),
          Key("down to the second", VK_DOWN, 1),
          ShiftDelete("shift+delete removes it; the next word takes its place", 1, CONSUMED,
                      u8"愛情\tあいじょう|愛\tあい"),
          ShiftDelete("and the last one: the one above takes its place", 0, CONSUMED, u8"愛情\tあいじょう"),
          Type("escape cancels", "\x1b", HIDDEN, "")},
         NOT_NOTIFIED, nullptr, false, nullptr, u8"愛情\tあいじょう\r\n"},
        {"ShiftDeleteWithNothingSelectedReachesTheIme", "edit", DICTIONARY,
         {TYPE_AI,
          ShiftDelete("shift+delete with nothing selected", -1, REACHED,
                      u8"愛情\tあいじょう|相手\tあいて|愛\tあい"),
          Key("down", VK_DOWN, 0),
          Key("up: nothing selected again", VK_UP, -1),
          ShiftDelete("again with nothing selected", -1, REACHED, u8"愛情\tあいじょう|相手\tあいて|愛\tあい"),
          Type("escape cancels", "\x1b", HIDDEN, "")},
         NOT_NOTIFIED, nullptr, false, nullptr, u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n"},
        {"EditGetsKeysTypedAheadAfterTheWord", "edit", DICTIONARY, TypedAheadSteps(), NOTIFIED,
         u8"あい\tあい"},
        {"UnicodeRichEditGetsKeysTypedAheadAfterTheWord", "richeditw", DICTIONARY, TypedAheadSteps(),
         NOTIFIED, u8"あい\tあい"},
        {"ControlVWindowGetsKeysTypedAheadAfterTheWord", "paster", DICTIONARY, TypedAheadSteps(),
         NOT_NOTIFIED, u8"あい\tあい"},
        {"OverlongLinesAreNotCommitted", "edit", nullptr,
         {TYPE_AI,
          Key("down to a line longer than the buffer", VK_DOWN, 0),
          Enter(u8"あい", REACHED),
          TYPE_AI,
          Key("down", VK_DOWN, 0),
          Key("down to a word longer than its field", VK_DOWN, 1),
          Enter(u8"あいあい", REACHED)},
         NOT_NOTIFIED, u8"あい\tあい"},
    };
    return scenarios;
}

std::string setupError;

class EndToEndEnvironment : public testing::Environment {
public:
    void SetUp() override {
        StartTraceViewer();  // before any resident program looks for it
        StartObserver();
        StartClipboardTool();
        InstallImeForTargets(&setupError);
    }
    void TearDown() override { RemoveImeForTargets(); }
};

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new EndToEndEnvironment);

UINT KeyOfStep(const Step& step) {
    return step.action == MOUSE ? 0 : step.code;
}

// Whether the application got the step's key-down (as itself, or as VK_PROCESSKEY while
// the IME takes keys) or its mouse message, among the reports from start up to the barrier.
bool ReachedApplication(const Step& step, size_t start) {
    char down[32], processed[32], mouse[32];
    snprintf(down, sizeof down, "down %x", KeyOfStep(step));
    snprintf(processed, sizeof processed, "down %x", VK_PROCESSKEY);
    snprintf(mouse, sizeof mouse, "mouse %x", step.code);
    const std::vector<std::string>& reports = Reports();
    for (size_t i = start; i < reports.size() && reports[i] != "up 10"; ++i) {
        if (step.action == MOUSE ? reports[i] == mouse
                                 : (reports[i] == down || reports[i] == processed)) {
            return true;
        }
    }
    return false;
}

// What the target reported from start on, for a failure message.
std::string ReportsSince(size_t start) {
    std::string seen;
    for (size_t i = start; i < Reports().size(); ++i) {
        seen += "[" + Reports()[i] + "]";
    }
    return seen;
}

void Act(const Step& step, HWND target, HWND list) {
    switch (step.action) {
    case LIST_DOUBLE_CLICK:
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        break;
    case TYPE:
        TypeRomaji(step.keys);
        break;
    case TYPE_AT_ONCE:
        TypeAtOnce(step.keys);
        break;
    case KEY:
        PressKey(static_cast<WORD>(step.code));
        break;
    case CONTROL_KEY:
        PressKey(static_cast<WORD>(step.code), true);
        break;
    case SHIFT_KEY: {
        // The key's own Shift release is reported before the barrier's: waited for here.
        size_t from = Reports().size();
        PressKey(static_cast<WORD>(step.code), false, true);
        WaitUntil([&] {
            for (size_t i = from; i < Reports().size(); ++i) {
                if (Reports()[i] == "up 10") {
                    return true;
                }
            }
            return false;
        }, 5000);
        break;
    }
    case MOUSE:
        PostMessageA(target, step.code, step.code == WM_MOUSEWHEEL ? WHEEL_DELTA << 16 : 0,
                     MAKELPARAM(30, 30));
        break;
    }
}

const CaretRule& RuleOf(const char* kind) {
    for (const CaretRule& rule : CARET_RULES) {
        if (strcmp(rule.kind, kind) == 0) {
            return rule;
        }
    }
    return CARET_RULES[0];
}

class EndToEnd : public testing::TestWithParam<Scenario> {
protected:
    void SetUp() override {
        ASSERT_EQ("", setupError);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        const Scenario& scenario = GetParam();
        std::string dictionary =
            scenario.dictionary != nullptr ? Sjis(scenario.dictionary) : Sjis(OverlongDictionary().c_str());
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", dictionary));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        std::string error;
        ASSERT_TRUE(SetTestImeUnicode(scenario.unicodeIme, &error)) << error;
        ASSERT_TRUE(StartTarget(scratch, scenario.kind, &target));
        ForgetClipboardToolNotice();
    }

    void TearDown() override {
        EndTarget(&target);
        KillResident(&resident);
        RemoveScratchFolder(scratch);
    }

    bool Visible() { return IsWindowVisible(resident.window) != FALSE; }
    int Selection() { return static_cast<int>(SendMessageW(resident.list, LB_GETCURSEL, 0, 0)); }

    // The caret sources the hook asked, for a failure message.
    static std::string CaretTraces() {
        std::string found;
        for (const char* prefix : {"getcompwin", "getcandwin", "getgui", "getcaretpos", "--"}) {
            for (const std::string& line : TraceLinesStartingWith(prefix)) {
                found += "[" + line + "]";
            }
        }
        return found;
    }

    void CheckPlacedAtCaret(const RECT& before) {
        RECT caret;
        ASSERT_TRUE(TargetCaret(target.window, &caret));
        RECT placed;
        GetWindowRect(resident.window, &placed);
        const CaretRule& rule = RuleOf(GetParam().kind);
        EXPECT_LE(before.left + rule.dx, placed.left) << CaretTraces();
        EXPECT_GE(caret.left + rule.dx, placed.left) << CaretTraces();
        EXPECT_EQ((rule.fromBottom ? caret.bottom : caret.top) + rule.dy, placed.top)
            << "caret " << caret.left << "," << caret.top << "-" << caret.right << ","
            << caret.bottom << "; traces: " << CaretTraces();
    }

    void RunStep(const Step& step) {
        size_t start = Reports().size();
        RECT caretBefore = {};
        ASSERT_TRUE(TargetCaret(target.window, &caretBefore));
        ClearTrace();
        Act(step, target.window, resident.list);
        ASSERT_TRUE(WaitForTargetInput()) << "the target did not take the keys";
        if (step.text != nullptr) {
            std::string expected = Sjis(step.text);
            WaitUntil([&] { return WindowText(target.window) == expected; }, 3000);
            EXPECT_EQ(expected, WindowText(target.window));
        }
        if (step.shown != SHOWN_ANY) {
            bool wanted = step.shown == SHOWN;
            WaitUntil([&] { return Visible() == wanted; }, 3000);
            ASSERT_EQ(wanted, Visible());
        }
        if (step.selection != ANY_SELECTION) {
            WaitUntil([&] { return Selection() == step.selection; }, 3000);
            EXPECT_EQ(step.selection, Selection());
        }
        if (step.reach != REACH_ANY) {
            EXPECT_EQ(step.reach == REACHED, ReachedApplication(step, start)) << ReportsSince(start);
        }
        if (step.atCaret) {
            CheckPlacedAtCaret(caretBefore);
        }
        if (step.trace != nullptr) {
            EXPECT_FALSE(TraceLinesStartingWith(step.trace).empty()) << step.trace;
        }
        if (step.lines != nullptr) {
            std::vector<std::string> expected;
            std::string all = step.lines;
            for (size_t at = 0; at <= all.size();) {
                size_t bar = all.find('|', at);
                bar = bar == std::string::npos ? all.size() : bar;
                expected.push_back(Sjis(all.substr(at, bar - at).c_str()));
                at = bar + 1;
            }
            WaitUntil([&] { return ListLines(resident.list) == expected; }, 3000);
            EXPECT_EQ(expected, ListLines(resident.list));
        }
    }

    ScratchFolder scratch;
    Resident resident;
    Target target;
};

std::string FirstLine(const std::string& bytes) {
    size_t end = bytes.find("\r\n");
    return end == std::string::npos ? bytes : bytes.substr(0, end);
}

TEST_P(EndToEnd, Scenario) {
    const Scenario& scenario = GetParam();
    for (const Step& step : scenario.steps) {
        SCOPED_TRACE(step.what);
        RunStep(step);
        if (HasFatalFailure()) {
            return;
        }
    }
    if (scenario.toolNotice != NOTICE_ANY) {
        EXPECT_EQ(scenario.toolNotice == NOTIFIED, ClipboardToolNotified());
    }
    EndTarget(&target);
    DWORD exitCode = 1;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(0u, exitCode);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(scratch.dir + "ZELVO.TXT", &bytes));
    if (scenario.firstLine != nullptr) {
        EXPECT_EQ(Sjis(scenario.firstLine), FirstLine(bytes));
    }
    if (scenario.fileAfter != nullptr) {
        EXPECT_EQ(Sjis(scenario.fileAfter), bytes);
    }
    if (scenario.absentReading != nullptr) {
        std::string line = "\t" + Sjis(scenario.absentReading) + "\r\n";
        EXPECT_EQ(bytes.find(line), std::string::npos) << "learned: " << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EndToEnd, testing::ValuesIn(Scenarios()),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
