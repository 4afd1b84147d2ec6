// The dictionary in the user's hands, with a real ZELVO.EXE: a full dictionary tells the user
// once and the tray's clean-up (after asking) makes room for learning again; the dictionary
// file edited by another program while Zelvo runs is loaded again, with the words learned
// meanwhile in front, also when it could not be read at first; Zelvo's own saves load
// nothing; the tray's item opens the file in the editor for text files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop_input.h"
#include "exchange.h"
#include "window_ids.h"
#include "zelvo_driver.h"

namespace {

const DWORD UI_TIMEOUT_MS = 10000;
const DWORD SAVE_TIMEOUT_MS = 30000;

std::string Line(const char* word, const char* reading) {
    return Sjis(word) + "\t" + Sjis(reading) + "\r\n";
}

std::string NumberedLine(int i) {
    char line[64];
    snprintf(line, sizeof line, "%s%05d\t%s%05d\r\n", Sjis(u8"語").c_str(), i, Sjis(u8"ご").c_str(), i);
    return line;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

uint32_t Heartbeat() {
    ExchangeStatus* status = new ExchangeStatus;
    uint32_t beat = ReadExchangeStatus(status) ? status->heartbeat : 0;
    delete status;
    return beat;
}

class DictionaryControlsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ForgetLearningChoices();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        path = scratch.dir + "ZELVO.TXT";
    }
    void TearDown() override {
        if (heldOpen != INVALID_HANDLE_VALUE) {
            CloseHandle(heldOpen);
        }
        for (HWND box : MessageBoxes(processId)) {
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        }
        if (target != nullptr) {
            DestroyWindow(target);
        }
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }

    void Start(const std::string& dictionary) {
        ASSERT_TRUE(WriteFileBytes(path, dictionary));
        ClearTrace();
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_TRUE(WaitUntilResidentRuns());
        processId = resident.process.dwProcessId;
        target = CreateTargetWindow(300, 300);
    }

    void Learn(const char* word, const char* reading) {
        SendRegisterRequest(resident.window, Sjis(word), Sjis(reading));
    }

    // The words the list shows for a reading typed in the test's window.
    std::vector<std::string> Lookup(const std::string& reading) {
        SendShowRequest(resident.window, "", reading, 100, 100, target);
        return ListLines(resident.list);
    }
    std::vector<std::string> Lookup(const char* reading) { return Lookup(Sjis(reading)); }

    std::string End() {
        DWORD exitCode = 99;
        EXPECT_TRUE(EndResident(&resident, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(path, &bytes));
        return bytes;
    }

    // Waits until the trace holds a line that begins with prefix (count of them).
    static bool WaitForTrace(const std::string& prefix, size_t count = 1, DWORD timeoutMs = UI_TIMEOUT_MS) {
        return WaitUntil([&] { return TraceLinesStartingWith(prefix).size() >= count; }, timeoutMs);
    }

    // Waits until the program's timer has ticked some times: the file watch ran meanwhile.
    static bool WaitForTicks(uint32_t ticks) {
        uint32_t from = Heartbeat();
        return WaitUntil([&] { return Heartbeat() - from >= ticks; }, UI_TIMEOUT_MS);
    }

    ScratchFolder scratch;
    std::string path;
    Resident resident;
    DWORD processId = 0;
    HWND target = nullptr;
    HANDLE heldOpen = INVALID_HANDLE_VALUE;
};

// ---- a full dictionary ----

TEST_F(DictionaryControlsTest, AFullDictionaryIsToldOnceAndTheCleanUpMakesRoomAfterAsking) {
    ASSERT_NO_FATAL_FAILURE(Start(NumberedDictionary(10000)));
    Learn(u8"新語", u8"しんご");
    ASSERT_TRUE(WaitForTrace("notice: dictionary full"));
    EXPECT_TRUE(WaitUntil([] {
        for (const std::string& tip : ShownTooltips()) {
            if (Contains(tip, Sjis(u8"古い単語を整理…"))) {
                return true;
            }
        }
        return false;
    }, UI_TIMEOUT_MS)) << "no balloon names the clean-up";
    Learn(u8"別語", u8"べつご");
    Learn(u8"新語", u8"しんご");
    ASSERT_TRUE(Lookup(u8"しんご").empty()) << "a word the full dictionary cannot hold";
    EXPECT_EQ(TraceLinesStartingWith("notice: dictionary full").size(), 1u) << "told once only";

    // Asked first: Cancel removes nothing.
    PostMessageA(resident.window, WM_COMMAND, IDM_CLEAN_UP, 0);
    HWND box = WaitForMessageBox(processId, UI_TIMEOUT_MS);
    ASSERT_NE(box, nullptr);
    std::string question = DialogText(box);
    EXPECT_TRUE(Contains(question, Sjis(u8"しばらく使っていない 1000 語を辞書から削除します"))) << question;
    EXPECT_TRUE(Contains(question, Sjis(u8"10000 語 → 9000 語"))) << question;
    AnswerMessageBox(box, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return MessageBoxes(processId).empty(); }, UI_TIMEOUT_MS));
    EXPECT_EQ(Lookup(Sjis(u8"ご09999")).size(), 1u);

    PostMessageA(resident.window, WM_COMMAND, IDM_CLEAN_UP, 0);
    box = WaitForMessageBox(processId, UI_TIMEOUT_MS);
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDOK);
    ASSERT_TRUE(WaitForTrace("cleaned up 1000"));
    EXPECT_TRUE(Lookup(Sjis(u8"ご09999")).empty());
    EXPECT_TRUE(Lookup(Sjis(u8"ご09000")).empty());
    EXPECT_EQ(Lookup(Sjis(u8"ご08999")).size(), 1u);
    // Learning goes on.
    Learn(u8"新語", u8"しんご");
    EXPECT_EQ(Lookup(u8"しんご"), std::vector<std::string>({Sjis(u8"新語\tしんご")}));

    std::string saved = End();
    std::string expected = Line(u8"新語", u8"しんご");
    for (int i = 0; i < 9000; ++i) {
        expected += NumberedLine(i);
    }
    EXPECT_TRUE(saved == expected) << "the file holds the new word and the 9,000 most recent, in order";
}

// ---- the file edited by another program ----

TEST_F(DictionaryControlsTest, AnOutsideEditIsLoadedAgainWithTheLearnedWordsInFront) {
    ASSERT_NO_FATAL_FAILURE(
        Start(Line(u8"海", u8"うみ") + Line(u8"山", u8"やま") + Line(u8"川", u8"かわ")));
    // Learned while the user edits the file: added 空, deleted 山.
    Learn(u8"漢字", u8"かんじ");
    ASSERT_TRUE(WriteFileBytes(path, Line(u8"海", u8"うみ") + Line(u8"空", u8"そら") + Line(u8"川", u8"かわ")));
    ASSERT_TRUE(WaitForTrace("dictionary reloaded 2")) << "not loaded again with the learned word";
    EXPECT_EQ(Lookup(u8"そら"), std::vector<std::string>({Sjis(u8"空\tそら")}));
    EXPECT_TRUE(Lookup(u8"やま").empty());
    EXPECT_EQ(Lookup(u8"かんじ"), std::vector<std::string>({Sjis(u8"漢字\tかんじ")}));
    // Learned afterwards.
    Learn(u8"幹事", u8"かんじ");
    EXPECT_EQ(End(), Line(u8"幹事", u8"かんじ") + Line(u8"漢字", u8"かんじ") + Line(u8"海", u8"うみ") +
                         Line(u8"空", u8"そら") + Line(u8"川", u8"かわ"));
    EXPECT_EQ(FolderNames(scratch.dir),
              std::vector<std::string>({"ZELVO.EXE", "ZELVO.TXT", "ZELVO.bak", "ZELVOD.DLL", "ZELVOS.DLL"}));
}

TEST_F(DictionaryControlsTest, OwnSavesLoadNothingAndAFileStillBeingWrittenIsLoadedOnceReadable) {
    ASSERT_NO_FATAL_FAILURE(Start(Line(u8"海", u8"うみ")));
    Learn(u8"漢字", u8"かんじ");
    ASSERT_TRUE(WaitForTrace("save done", 1, SAVE_TIMEOUT_MS));
    ASSERT_TRUE(WaitForTicks(8));  // four seconds of watching the file Zelvo saved itself
    EXPECT_TRUE(TraceLinesStartingWith("dictionary reloaded").empty()) << "its own save taken for an edit";

    // Another program writes the file and keeps it open, shared with nobody.
    heldOpen = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(heldOpen, INVALID_HANDLE_VALUE);
    std::string edited = Line(u8"漢字", u8"かんじ") + Line(u8"海", u8"うみ") + Line(u8"空", u8"そら");
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(heldOpen, edited.data(), static_cast<DWORD>(edited.size()), &written, nullptr));
    ASSERT_TRUE(SetEndOfFile(heldOpen));
    ASSERT_TRUE(WaitForTrace("dictionary reloaded 0")) << "no attempt to read it";
    EXPECT_TRUE(Lookup(u8"そら").empty());
    CloseHandle(heldOpen);
    heldOpen = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(WaitForTrace("dictionary reloaded 1")) << "not tried again once readable";
    EXPECT_EQ(Lookup(u8"そら"), std::vector<std::string>({Sjis(u8"空\tそら")}));
    // Nothing new to save: the file stays as the other program wrote it.
    EXPECT_EQ(End(), edited);
    EXPECT_EQ(TraceLinesStartingWith("save done").size(), 2u) << "a save at the end only";
}

// ---- the file in the editor ----

HWND EditorWindow() {
    for (HWND window : VisibleWindows("Notepad", 0)) {
        char title[512] = {};
        GetWindowTextA(window, title, sizeof title);
        if (Contains(title, "ZELVO")) {
            return window;
        }
    }
    return nullptr;
}

// Text files open in Notepad, as on Windows. Wine's prefix knows the text file type but maps
// no extension to it (its menu builder, which would, is off in the tests): the test maps .txt
// for its own run.
class TextFilesOpenInNotepad {
public:
    TextFilesOpenInNotepad() {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, ".txt", 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            DWORD type = 0;
            created = RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS &&
                      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("txtfile"), 8) ==
                          ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~TextFilesOpenInNotepad() {
        if (created) {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt");
        }
    }

private:
    bool created = false;
};

TEST_F(DictionaryControlsTest, TheTrayItemOpensTheSavedFileInTheEditor) {
    TextFilesOpenInNotepad association;
    ASSERT_NO_FATAL_FAILURE(Start(Line(u8"海", u8"うみ")));
    Learn(u8"漢字", u8"かんじ");
    PostMessageA(resident.window, WM_COMMAND, IDM_OPEN_DICTIONARY, 0);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (editor = EditorWindow()) != nullptr; }, UI_TIMEOUT_MS))
        << "no editor shows ZELVO.TXT: " << (TraceLinesStartingWith("dictionary opened").empty() ? "" : TraceLinesStartingWith("dictionary opened")[0]);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, &bytes));
    EXPECT_EQ(bytes, Line(u8"漢字", u8"かんじ") + Line(u8"海", u8"うみ")) << "learning saved before the editor opened";
    DWORD editorProcess = 0;
    GetWindowThreadProcessId(editor, &editorProcess);
    PostMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return EditorWindow() == nullptr; }, UI_TIMEOUT_MS));
    EXPECT_NE(editorProcess, processId);
}

}  // namespace
