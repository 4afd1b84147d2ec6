// A hung resident program must not hang the applications the hook lives in. Under Wine, with
// the test IME and a target application in a process of its own: the Linux process of
// ZELVO.EXE is stopped (a faithful hang) while the user types a reading, presses Down and
// clicks. Every key reaches the application while the program is still stopped, and only one
// call into it waits for an answer (the hook's "stalled" trace); the candidates come back by
// themselves once it runs again.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "linux_process.h"

namespace {

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";
// Long enough for any key, short against a freeze: the program stays stopped until every
// key below has been checked.
const DWORD KEY_TIMEOUT_MS = 3000;

std::string setupError;

class StallEnvironment : public testing::Environment {
public:
    void SetUp() override {
        StartTraceViewer();
        StartObserver();
        InstallImeForTargets(&setupError);
    }
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

class StalledResident : public testing::Test {
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
        KillResident(&resident);
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

    ScratchFolder scratch;
    Resident resident;
    Target target;
    unsigned long pid = 0;
    bool stopped = false;
};

TEST_F(StalledResident, EveryKeyReachesTheApplicationAndTheCandidatesComeBack) {
    ASSERT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not show before the freeze";
    ClearTrace();
    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_STOP));
    stopped = true;
    const uint32_t frozenBeat = Heartbeat();

    for (const Input& input : INPUTS) {
        double took = TimeUntilReport([&] {
            if (input.key == 0) {
                ClickInWindow(target.window);
            } else {
                PressKey(input.key);
            }
        }, input.report, KEY_TIMEOUT_MS);
        // Arrived while the program is still stopped: the application was not held for the
        // length of the freeze.
        EXPECT_GE(took, 0) << input.what << " did not reach the application while the program was stopped";
        printf("  %-14s reached the application after %7.1f ms\n", input.what, took);
    }
    TypeRomaji("\n");
    std::string typed = Sjis(u8"あいうえお");
    EXPECT_TRUE(WaitUntil([&] { return TargetText(target.window) == typed; }, KEY_TIMEOUT_MS))
        << "the EDIT holds " << TargetText(target.window);
    // One call into the stopped program waited; after it the hook left the program alone.
    EXPECT_EQ(TraceLinesStartingWith("stalled ").size(), 1u);
    EXPECT_TRUE(TraceLinesStartingWith("SRegComp").empty()) << "the commit was sent to a stopped program";
    EXPECT_EQ(Heartbeat(), frozenBeat);

    ASSERT_TRUE(SignalLinuxProcess(pid, LINUX_CONTINUE));
    stopped = false;
    ASSERT_TRUE(WaitUntil([&] { return Heartbeat() != frozenBeat; }, 3000)) << "no heartbeat after the freeze";
    EXPECT_TRUE(ShowsCandidatesFor("ai")) << "the candidates did not come back";
    EXPECT_EQ(TraceLinesStartingWith("stalled ").size(), 1u);
}

}  // namespace
