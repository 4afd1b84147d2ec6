// A hung or crashed resident program must not hang the applications the hook lives in, nor
// leave a hook behind that works twice. Under Wine, with the test IME and a target
// application in a process of its own:
// - the Linux process of ZELVO.EXE is stopped (a faithful hang) while the user types a
//   reading, presses Down and clicks. Every key reaches the application while the program is
//   still stopped, and only one call into it waits for an answer (the hook's "stalled"
//   trace); the candidates come back by themselves once it runs again;
// - ZELVO.EXE is killed (its hook stays installed under Wine) and started again: one IME
//   conversion is handled and registered once;
// - the program's window thread alone is held, while the thread that installed its hook runs
//   on: the same as a stop for the applications, and the program ends normally afterwards,
//   its hook removed; inside the About box's modal loop every request is answered;
// - a committed word leaves the clipboard to the application, so that emptying it never waits
//   on the stopped program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "hold_probe.h"
#include "linux_host.h"
#include "shared_section.h"
#include "window_ids.h"

namespace {

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";
// Long enough for any key, short against a freeze: the program stays stopped until every
// key below has been checked.
const DWORD KEY_TIMEOUT_MS = 3000;

std::string setupError;

class StallEnvironment : public testing::Environment {
public:
    void SetUp() override { PrepareTargetSession(&setupError); }
    void TearDown() override { RemoveImeForTargets(); }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new StallEnvironment);

struct Input {
    const char* what;
    WORD key;           // 0: a left click in the target
    const char* report; // what the target reports once it has the input
};

// While composing, the IME takes the letters and Down: the application sees VK_PROCESSKEY.
const Input INPUTS[] = {
    {"reading key u", 'U', "down e5"},
    {"reading key e", 'E', "down e5"},
    {"down", VK_DOWN, "down e5"},
    {"left click", 0, "mouse 202"},
    {"reading key o", 'O', "down e5"},
};

class ResidentFault : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ("", setupError);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_TRUE(StartTarget(scratch, "edit", &target));
        pid = FindLinuxProcess(scratch.programPath);
        ASSERT_NE(pid, 0u) << "no Linux process for " << scratch.programPath;
    }

    void TearDown() override {
        if (stopped) {
            SignalLinuxProcess(pid, LINUX_CONTINUE);
        }
        EndTarget(&target);
        EndOrKillResident(&resident);  // a killed program's hook would stay for the next test
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }

    bool Visible() { return IsWindowVisible(resident.window) != FALSE; }

    bool ShowsCandidatesFor(const char* keys) {
        TypeRomaji(keys);
        return WaitForTargetInput() && WaitUntil([&] { return Visible() && !ListLines(resident.list).empty(); }, 3000);
    }

    uint32_t Heartbeat() {
        ExchangeStatus status = {};
        return ReadExchangeStatus(&status) ? status.heartbeat : 0;
    }

    // The inputs of a reading after "ai", then Enter, while the program cannot answer: each
    // reaches the application while the program still does not answer (it was not held for
    // the length of the freeze), and only one call into the program waited for it; after it
    // the hook left the program alone.
    void ExpectEveryInputReachesTheApplication(const char* how) {
        for (const Input& input : INPUTS) {
            double took = TimeUntilReport([&] {
                if (input.key == 0) {
                    ClickInWindow(target.window);
                } else {
                    PressKey(input.key);
                }
            }, input.report, KEY_TIMEOUT_MS);
            EXPECT_GE(took, 0) << input.what << " did not reach the application while the program was " << how;
            printf("  %-14s reached the application after %7.1f ms\n", input.what, took);
        }
        TypeRomaji("\n");
        std::string typed = Sjis(u8"あいうえお");
        EXPECT_TRUE(WaitUntil([&] { return WindowText(target.window) == typed; }, KEY_TIMEOUT_MS))
            << "the EDIT holds " << WindowText(target.window);
        EXPECT_EQ(TraceLinesStartingWith("stalled ").size(), 1u);
        EXPECT_TRUE(TraceLinesStartingWith("SRegComp").empty()) << "the commit was sent to a program " << how;
    }

    ScratchFolder scratch;
    Resident resident;
    Target target;
    unsigned long pid = 0;
    bool stopped = false;
};

TEST_F(ResidentFault, StoppedEveryKeyReachesTheApplicationAndTheCandidatesComeBack) {
    ASSERT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not show before the freeze";
    ClearTrace();
    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_STOP));
    stopped = true;
    const uint32_t frozenBeat = Heartbeat();

    ExpectEveryInputReachesTheApplication("stopped");
    EXPECT_EQ(Heartbeat(), frozenBeat);

    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_CONTINUE));
    stopped = false;
    ASSERT_TRUE(WaitUntil([&] { return Heartbeat() != frozenBeat; }, 3000)) << "no heartbeat after the freeze";
    EXPECT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not come back";
    EXPECT_EQ(TraceLinesStartingWith("stalled ").size(), 1u);
}

// The program's window thread held (it retrieves nothing, answers nothing) by a hook of the
// test, while its other threads, the one that installed the hook among them, run on: the same
// for the applications as a stopped program, and once it is let go the program answers again
// and ends with its hook removed.
TEST_F(ResidentFault, HeldWindowThreadEveryKeyReachesTheApplication) {
    ASSERT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not show before the hold";
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, HOLD_PROBE_RELEASE);
    HMODULE probe = LoadLibraryA((TestProgramFolder() + HOLD_PROBE_LIBRARY).c_str());
    ASSERT_NE(probe, nullptr);
    HOOKPROC hold = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, HOLD_PROBE_HOOK)));
    ASSERT_NE(hold, nullptr);
    HHOOK holding = SetWindowsHookExA(WH_GETMESSAGE, hold, probe, GetWindowThreadProcessId(resident.window, nullptr));
    ASSERT_NE(holding, nullptr);
    const UINT holdMessage = RegisterWindowMessageA(HOLD_PROBE_MESSAGE);
    ASSERT_TRUE(WaitUntil([&] {
        PostMessageA(resident.window, holdMessage, 0, 0);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(resident.window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &answer) == 0;
    }, START_TIMEOUT_MS)) << "the window thread was not held";
    ClearTrace();
    const uint32_t heldBeat = Heartbeat();

    ExpectEveryInputReachesTheApplication("held");
    EXPECT_EQ(Heartbeat(), heldBeat) << "the window thread was let go too early";

    SetEvent(release);
    ASSERT_TRUE(WaitUntil([&] { return Heartbeat() != heldBeat; }, 3000)) << "no heartbeat after the hold";
    EXPECT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not come back";
    UnhookWindowsHookEx(holding);
    const HookSharedState* shared = FindSharedState(HookLibraryOf(scratch));
    ASSERT_NE(shared, nullptr);
    EndTarget(&target);
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(shared->hookHandle, 0u) << "the hook was not removed at the end";
    CloseHandle(release);
}

// Inside the About box's modal loop the program answers every request: the candidates come
// and a commit works in the application.
TEST_F(ResidentFault, AboutBoxOpenTheCandidatesStillCome) {
    PostMessageA(resident.window, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    // Up and in front first; then the user turns back to the application.
    ASSERT_TRUE(WaitUntil([&] {
        about = FindWindowOfProcess("#32770", resident.process.dwProcessId);
        return about != nullptr && IsWindowVisible(about) && GetForegroundWindow() == about;
    }, START_TIMEOUT_MS));
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(target.window);
        return GetForegroundWindow() == target.window;
    }, START_TIMEOUT_MS));
    EXPECT_TRUE(ShowsCandidatesFor("ai"));
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForTargetInput());
    std::string word = Sjis(u8"愛情");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(target.window) == word; }, KEY_TIMEOUT_MS))
        << "the EDIT holds " << WindowText(target.window);
    EXPECT_TRUE(IsWindow(about)) << "the About box closed by itself";
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, START_TIMEOUT_MS));
}

DWORD WINAPI EmptyTheClipboard(void*) {
    if (!OpenClipboard(nullptr)) {
        return 1;
    }
    EmptyClipboard();  // tells the owner that its content is gone, and waits for it
    CloseClipboard();
    return 0;
}

// The committed word goes on the clipboard with the application as its owner: another
// program that empties the clipboard later never waits on a hung resident program.
TEST_F(ResidentFault, ACommitLeavesTheClipboardToTheApplication) {
    ASSERT_TRUE(ShowsCandidatesFor("ai"));
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForTargetInput());
    std::string word = Sjis(u8"愛情");
    ASSERT_TRUE(WaitUntil([&] { return WindowText(target.window) == word; }, KEY_TIMEOUT_MS));
    EXPECT_EQ(GetClipboardOwner(), target.window);

    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_STOP));
    stopped = true;
    HANDLE emptying = CreateThread(nullptr, 0, EmptyTheClipboard, nullptr, 0, nullptr);
    ASSERT_NE(emptying, nullptr);
    bool done = WaitUntil([&] { return WaitForSingleObject(emptying, 0) == WAIT_OBJECT_0; }, KEY_TIMEOUT_MS);
    EXPECT_TRUE(done) << "emptying the clipboard waits on the stopped program";
    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_CONTINUE));
    stopped = false;
    WaitForSingleObject(emptying, EXIT_TIMEOUT_MS);
    DWORD code = 99;
    GetExitCodeThread(emptying, &code);
    CloseHandle(emptying);
    EXPECT_EQ(code, 0u);
}


// Whether the restarted program still finds the killed one's hook handle in the shared state.
// When every process had let go of the library, its shared state starts afresh and the handle
// is lost; the test stands in for that by clearing it.
struct Restart {
    const char* what;
    bool handleLost;
};

class KilledResident : public ResidentFault, public testing::WithParamInterface<Restart> {};

TEST_P(KilledResident, StartedAgainTheHookWorksOncePerMessage) {
    // The hook state as this process sees it: the library came here through the hook.
    const HookSharedState* shared = FindSharedState(HookLibraryOf(scratch));
    ASSERT_NE(shared, nullptr);
    const ULONG firstHook = shared->hookHandle;
    ASSERT_NE(firstHook, 0u);
    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_KILL));
    ASSERT_EQ(WaitForSingleObject(resident.process.hProcess, EXIT_TIMEOUT_MS), WAIT_OBJECT_0);
    CloseHandle(resident.process.hThread);
    CloseHandle(resident.process.hProcess);
    resident = Resident();
    if (GetParam().handleLost) {
        const_cast<HookSharedState*>(shared)->hookHandle = 0;  // the section is shared and writable
    }

    // The same program again: its library is already here, so its start is complete once its
    // own hook is installed.
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    ASSERT_TRUE(WaitUntil([&] { return shared->hookHandle != 0 && shared->hookHandle != firstHook; },
                          START_TIMEOUT_MS));
    pid = FindLinuxProcess(scratch.programPath);
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(target.window);
        return GetForegroundWindow() == target.window;
    }, START_TIMEOUT_MS));

    ClearTrace();
    TypeRomaji("ai \n");
    ASSERT_TRUE(WaitForTargetInput());
    std::string love = Sjis(u8"愛");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(target.window) == love; }, KEY_TIMEOUT_MS));
    // The result's composition message: handled once by the hook, registered once.
    EXPECT_EQ(TraceLinesStartingWith("imecomp 1e00 ").size(), 1u);
    EXPECT_EQ(TraceLinesStartingWith("SRegComp ").size(), 1u);
    EXPECT_EQ(TraceLinesStartingWith("RegComp ").size(), 1u);
    std::string file;
    ASSERT_TRUE(EndAndReadDictionary(scratch, &target, &resident, &file));
    EXPECT_EQ(file.substr(0, file.find("\r\n")), love + "\t" + Sjis(u8"あい"));
}

INSTANTIATE_TEST_SUITE_P(Restarts, KilledResident,
                         testing::Values(Restart{"HandleKnown", false}, Restart{"HandleLost", true}),
                         [](const testing::TestParamInfo<Restart>& info) { return std::string(info.param.what); });

}  // namespace
