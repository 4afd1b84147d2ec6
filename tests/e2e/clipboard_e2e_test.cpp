// What a commit leaves on the clipboard, under Wine with real keys, the test IME and a target
// application in a process of its own:
// - what the clipboard held (text with a character outside the ANSI code page, HTML, a picture
//   and a file list) is there again after the word was pasted, by the paste message (EDIT, a
//   Unicode rich edit) and by Ctrl+V; the word alone stays, with the marks that keep it out of
//   clipboard history, when the tray item is off (through the setting and a restart, or the
//   menu's command);
// - content that the application itself put on the clipboard after its paste stays;
// - a clipboard held open by another program, or owned by a program that does not answer:
//   nothing is pasted, the IME commits its own conversion, and no text is lost;
// - an owner that renders on request renders its text for the commit and gets it back.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "e2e_protocol.h"
#include "linux_host.h"
#include "resource_ids.h"

namespace {

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";
const char GIVE_BACK_SETTING[] = "GiveClipboardBack";
const DWORD KEY_TIMEOUT_MS = 3000;

// ---- the user's clipboard ----

const wchar_t USER_TEXT[] = L"元のテキスト \U0001F4CB";  // the clipboard emoji: no Shift-JIS form
const char USER_HTML[] = "Version:0.9\r\n<b>bold</b>";
const wchar_t* const USER_FILES[] = {L"C:\\users\\one.txt", L"C:\\users\\two.txt"};

std::string UserDib() {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = 16;  // two rows of 6 bytes, each padded to 8
    std::string dib(reinterpret_cast<const char*>(&header), sizeof header);
    const unsigned char pixels[16] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0,
                                      0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0, 0};
    return dib + std::string(reinterpret_cast<const char*>(pixels), sizeof pixels);
}

std::string FileList() {
    DROPFILES drop = {};
    drop.pFiles = sizeof drop;
    drop.fWide = TRUE;
    std::wstring names;
    for (const wchar_t* file : USER_FILES) {
        names += file;
        names += L'\0';
    }
    names += L'\0';
    return std::string(reinterpret_cast<const char*>(&drop), sizeof drop) +
           std::string(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
}

HGLOBAL Block(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* to = block != nullptr ? GlobalLock(block) : nullptr) {
        memcpy(to, bytes, size);
        GlobalUnlock(block);
    }
    return block;
}

UINT HtmlFormat() {
    return RegisterClipboardFormatA("HTML Format");
}

bool OpenClipboardOf(HWND owner) {
    return WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, KEY_TIMEOUT_MS);
}

bool PutUserContent(HWND owner) {
    if (!OpenClipboardOf(owner)) {
        return false;
    }
    EmptyClipboard();
    std::string dib = UserDib();
    std::string files = FileList();
    bool set = SetClipboardData(CF_UNICODETEXT, Block(USER_TEXT, sizeof USER_TEXT)) != nullptr &&
               SetClipboardData(HtmlFormat(), Block(USER_HTML, sizeof USER_HTML)) != nullptr &&
               SetClipboardData(CF_DIB, Block(dib.data(), dib.size())) != nullptr &&
               SetClipboardData(CF_HDROP, Block(files.data(), files.size())) != nullptr;
    CloseClipboard();
    return set;
}

struct Content {
    std::vector<UINT> formats;
    std::wstring text;               // CF_UNICODETEXT
    std::string ansiText;            // CF_TEXT
    std::string html;
    std::string dib;
    std::vector<std::wstring> files;
    std::vector<std::string> marks;  // the word's marks present, each with DWORD 0
    HWND owner = nullptr;
};

std::string Bytes(UINT format) {
    HANDLE data = GetClipboardData(format);
    const char* bytes = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes == nullptr) {
        return "";
    }
    std::string copy(bytes, GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

std::string UpToNul(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

const char* const MARK_FORMATS[] = {"ExcludeClipboardContentFromMonitorProcessing", "CanIncludeInClipboardHistory",
                                    "CanUploadToCloudClipboard"};

bool ReadContent(Content* content) {
    if (!OpenClipboardOf(nullptr)) {
        return false;
    }
    content->owner = GetClipboardOwner();
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        content->formats.push_back(format);
    }
    std::string wide = Bytes(CF_UNICODETEXT);
    content->text = wide.size() >= 2 ? std::wstring(reinterpret_cast<const wchar_t*>(wide.data())).c_str() : L"";
    content->ansiText = UpToNul(Bytes(CF_TEXT));
    content->html = UpToNul(Bytes(HtmlFormat()));
    content->dib = Bytes(CF_DIB);
    if (HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            DragQueryFileW(drop, i, name, MAX_PATH);
            content->files.push_back(name);
        }
    }
    for (const char* mark : MARK_FORMATS) {
        std::string value = Bytes(RegisterClipboardFormatA(mark));
        if (value.size() >= sizeof(DWORD) && value.compare(0, sizeof(DWORD), std::string(sizeof(DWORD), '\0')) == 0) {
            content->marks.push_back(mark);
        }
    }
    CloseClipboard();
    return true;
}

bool Has(const Content& content, UINT format) {
    for (UINT listed : content.formats) {
        if (listed == format) {
            return true;
        }
    }
    return false;
}

void ExpectUserContent(const Content& content) {
    EXPECT_TRUE(content.text == USER_TEXT) << "the text came back changed or not at all";
    EXPECT_EQ(content.html, USER_HTML);
    std::string dib = UserDib();
    EXPECT_EQ(content.dib.substr(0, dib.size()), dib);
    ASSERT_EQ(content.files.size(), 2u);
    EXPECT_TRUE(content.files[0] == USER_FILES[0] && content.files[1] == USER_FILES[1]);
    EXPECT_TRUE(content.marks.empty()) << "the word's marks stayed";
}

// ---- the commit ----

std::string setupError;

class ClipboardEnvironment : public testing::Environment {
public:
    void SetUp() override {
        StartTraceViewer();
        StartObserver();
        InstallImeForTargets(&setupError);
    }
    void TearDown() override {
        RemoveImeForTargets();
        ForgetSettingValue(GIVE_BACK_SETTING);
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ClipboardEnvironment);

class ClipboardCommit : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ("", setupError);
        ForgetSettingValue(GIVE_BACK_SETTING);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)));
    }

    void TearDown() override {
        if (ownerStopped) {
            SignalLinuxProcess(FindLinuxProcess(ProgramFolder() + "clipboard_owner.exe"), LINUX_CONTINUE);
        }
        EndTarget(&owner);
        EndTarget(&target);
        EndOrKillResident(&resident);
        RemoveScratchFolder(scratch);
        ForgetSettingValue(GIVE_BACK_SETTING);
    }

    static std::string ProgramFolder() {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path, length);
        return folder.substr(0, folder.find_last_of('\\') + 1);
    }

    void Start(const char* kind) {
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_TRUE(StartTarget(scratch, kind, &target));
    }

    bool Visible() { return IsWindowVisible(resident.window) != FALSE; }

    // Types a reading until the candidates show, selects the first (愛情) and presses Enter:
    // true once the target has taken the keys.
    bool CommitFirstCandidate() {
        TypeRomaji("ai");
        if (!WaitForTargetInput() || !WaitUntil([&] { return Visible(); }, KEY_TIMEOUT_MS)) {
            return false;
        }
        PressKey(VK_DOWN);
        if (!WaitForTargetInput() || !WaitUntil([&] {
                return SendMessageW(resident.list, LB_GETCURSEL, 0, 0) == 0;
            }, KEY_TIMEOUT_MS)) {
            return false;
        }
        PressKey(VK_RETURN);
        return WaitForTargetInput();
    }

    bool TextBecomes(const char* utf8) {
        std::string expected = Sjis(utf8);
        return WaitUntil([&] { return WindowText(target.window) == expected; }, KEY_TIMEOUT_MS);
    }

    std::string FirstLineAfterExit() {
        EndTarget(&target);
        DWORD exitCode = 1;
        EXPECT_TRUE(EndResident(&resident, &exitCode));
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(scratch.dir + "ZELVO.TXT", &bytes));
        return bytes.substr(0, bytes.find("\r\n"));
    }

    ScratchFolder scratch;
    Resident resident;
    Target target;
    Target owner;
    bool ownerStopped = false;
};

struct GiveBackCase {
    const char* name;
    const char* kind;
    bool settingOff;  // the tray item turned off before the program started
};

class ClipboardAfterCommit : public ClipboardCommit, public testing::WithParamInterface<GiveBackCase> {};

TEST_P(ClipboardAfterCommit, HoldsWhatItHeldOrTheMarkedWord) {
    const GiveBackCase& c = GetParam();
    if (c.settingOff) {
        ASSERT_TRUE(WriteSettingValue(GIVE_BACK_SETTING, 0));
    }
    ASSERT_NO_FATAL_FAILURE(Start(c.kind));
    ASSERT_TRUE(PutUserContent(StartObserver()));
    ASSERT_TRUE(CommitFirstCandidate());
    EXPECT_TRUE(TextBecomes(u8"愛情")) << WindowText(target.window);
    Content content;
    ASSERT_TRUE(ReadContent(&content));
    EXPECT_EQ(content.owner, target.window) << "the target owns the clipboard, never the resident program";
    if (!c.settingOff) {
        ExpectUserContent(content);
        EXPECT_FALSE(TraceLinesStartingWith("clipboard given back ").empty());
        return;
    }
    EXPECT_EQ(content.ansiText, Sjis(u8"愛情"));
    EXPECT_EQ(content.marks.size(), 3u) << "each mark with a DWORD 0";
    EXPECT_FALSE(Has(content, CF_HDROP));
    EXPECT_FALSE(Has(content, CF_DIB));
    EXPECT_FALSE(Has(content, HtmlFormat()));
}

INSTANTIATE_TEST_SUITE_P(Targets, ClipboardAfterCommit,
                         testing::Values(GiveBackCase{"EditGivesBack", "edit", false},
                                         GiveBackCase{"UnicodeRichEditGivesBack", "richeditw", false},
                                         GiveBackCase{"ControlVGivesBack", "paster", false},
                                         GiveBackCase{"EditKeepsTheWord", "edit", true},
                                         GiveBackCase{"ControlVKeepsTheWord", "paster", true}),
                         [](const testing::TestParamInfo<GiveBackCase>& info) { return std::string(info.param.name); });

// The menu's command turns the giving back over at once, for the next commit.
TEST_F(ClipboardCommit, TheMenuCommandTurnsTheGivingBackOver) {
    ASSERT_NO_FATAL_FAILURE(Start("paster"));
    const struct {
        const char* what;
        bool givenBack;
        const char* text;
    } commits[] = {
        {"turned off", false, u8"愛情"},
        {"turned on again", true, u8"愛情愛情"},
    };
    for (const auto& commit : commits) {
        SCOPED_TRACE(commit.what);
        SendMessageA(resident.window, WM_COMMAND, IDM_GIVE_CLIPBOARD_BACK, 0);  // the tray menu's command
        EXPECT_EQ(ReadSettingValue(GIVE_BACK_SETTING), commit.givenBack ? 1 : 0);
        ASSERT_TRUE(PutUserContent(StartObserver()));
        ASSERT_TRUE(CommitFirstCandidate());
        EXPECT_TRUE(TextBecomes(commit.text)) << WindowText(target.window);
        Content content;
        ASSERT_TRUE(ReadContent(&content));
        if (commit.givenBack) {
            ExpectUserContent(content);
        } else {
            EXPECT_EQ(content.ansiText, Sjis(u8"愛情"));
            EXPECT_FALSE(Has(content, CF_HDROP));
        }
    }
}

// The application put something of its own on the clipboard after its paste: that stays.
TEST_F(ClipboardCommit, ContentTheApplicationPutThereAfterItsPasteStays) {
    ASSERT_NO_FATAL_FAILURE(Start("copier"));
    ASSERT_TRUE(PutUserContent(StartObserver()));
    ASSERT_TRUE(CommitFirstCandidate());
    EXPECT_TRUE(TextBecomes(u8"愛情"));
    Content content;
    ASSERT_TRUE(ReadContent(&content));
    EXPECT_TRUE(content.text == L"copied by the application");
    EXPECT_FALSE(Has(content, CF_HDROP));
    EXPECT_FALSE(TraceLinesStartingWith("clipboard changed ").empty());
}

struct Holder {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

// Another program's thread that keeps the clipboard open until it is released.
DWORD WINAPI HoldTheClipboard(void* parameter) {
    Holder* holder = static_cast<Holder*>(parameter);
    if (!OpenClipboard(nullptr)) {
        return 1;
    }
    SetEvent(holder->held);
    WaitForSingleObject(holder->release, INFINITE);
    CloseClipboard();
    return 0;
}

struct UnavailableCase {
    const char* name;
    const char* kind;
};

class ClipboardUnavailable : public ClipboardCommit, public testing::WithParamInterface<UnavailableCase> {};

// Another program has the clipboard open for the whole commit: the word cannot go there, so
// nothing is pasted and the Enter reaches the IME, which commits the reading it composed.
TEST_P(ClipboardUnavailable, HeldOpenTheImeCommitsItsOwnConversion) {
    ASSERT_NO_FATAL_FAILURE(Start(GetParam().kind));
    ASSERT_TRUE(PutUserContent(StartObserver()));
    Holder holder;
    HANDLE thread = CreateThread(nullptr, 0, HoldTheClipboard, &holder, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(holder.held, KEY_TIMEOUT_MS), WAIT_OBJECT_0);
    ClearTrace();
    bool committed = CommitFirstCandidate();
    bool imeText = TextBecomes(u8"あい");
    std::string text = WindowText(target.window);
    SetEvent(holder.release);
    WaitForSingleObject(thread, EXIT_TIMEOUT_MS);
    CloseHandle(thread);
    CloseHandle(holder.held);
    CloseHandle(holder.release);
    ASSERT_TRUE(committed);
    EXPECT_TRUE(imeText) << text;
    EXPECT_FALSE(TraceLinesStartingWith("clipboard busy ").empty());
    Content content;
    ASSERT_TRUE(ReadContent(&content));
    ExpectUserContent(content);
    EXPECT_EQ(FirstLineAfterExit(), Sjis(u8"あい\tあい")) << "the IME's own result is learned";
}

INSTANTIATE_TEST_SUITE_P(Targets, ClipboardUnavailable,
                         testing::Values(UnavailableCase{"Edit", "edit"}, UnavailableCase{"ControlV", "paster"}),
                         [](const testing::TestParamInfo<UnavailableCase>& info) { return std::string(info.param.name); });

// The clipboard's owner renders its text only when asked. A live owner renders it for the
// commit and finds it given back; a stopped one is not waited on: the commit leaves the
// clipboard alone and the IME commits its own conversion, without holding up the target.
TEST_F(ClipboardCommit, AnOwnerThatRendersLateIsAskedOnlyWhenItAnswers) {
    const struct {
        const char* what;
        bool stopped;
    } cases[] = {{"the owner answers", false}, {"the owner is stopped", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (resident.process.hProcess == nullptr) {
            ASSERT_NO_FATAL_FAILURE(Start("edit"));
        }
        SendMessageW(target.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        ASSERT_TRUE(StartClipboardOwner(&owner));
        size_t rendersBefore = 0;
        for (const std::string& report : Reports()) {
            rendersBefore += report == "rendered" ? 1 : 0;
        }
        unsigned long pid = FindLinuxProcess(ProgramFolder() + "clipboard_owner.exe");
        ASSERT_NE(pid, 0u);
        if (c.stopped) {
            ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_STOP));
            ownerStopped = true;
        }
        ASSERT_TRUE(CommitFirstCandidate()) << "the target was held up";
        EXPECT_TRUE(TextBecomes(c.stopped ? u8"あい" : u8"愛情")) << WindowText(target.window);
        if (c.stopped) {
            ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_CONTINUE));
            ownerStopped = false;
        }
        size_t renders = 0;
        for (const std::string& report : Reports()) {
            renders += report == "rendered" ? 1 : 0;
        }
        EXPECT_EQ(renders - rendersBefore, c.stopped ? 0u : 1u);
        Content content;
        ASSERT_TRUE(ReadContent(&content));
        EXPECT_TRUE(content.text == OWNER_TEXT);
        EXPECT_EQ(content.owner, c.stopped ? owner.window : target.window);
        EndTarget(&owner);
    }
}

}  // namespace
