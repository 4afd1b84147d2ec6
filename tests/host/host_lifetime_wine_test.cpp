// The life of the host program ZELVO32.EXE beside a real 64-bit ZELVO.EXE under Wine: started
// with the program, ended with it (its hook removed first), started again when it is killed,
// never twice (a second ZELVO.EXE starts nothing, a second host refuses to run), and refusing a
// command line that names no running ZELVO.EXE's windows. Each case runs with the real 32-bit
// host from the i686 build (where 32-bit programs run; skipped with the reason elsewhere) and
// with a 64-bit build of the same host, whose hook library this test can also look into.
// The 32-bit ZELVO.EXE never starts a host, even with one beside it.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "both_widths.h"
#include "linux_host.h"
#include "shared_section.h"
#include "zelvo_driver.h"

namespace {

const DWORD HOST_EXIT_NORMAL = 0;
const DWORD HOST_EXIT_NOT_STARTED = 1;
const DWORD HOST_EXIT_REFUSED = 2;
const DWORD EXIT_START_FAILED = 1;

// The host programs that run in this Wine session, by process id; only those started by
// parent when it is not 0.
std::vector<DWORD> RunningHosts(DWORD parent = 0) {
    std::vector<DWORD> hosts;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return hosts;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, HOST_PROGRAM) == 0 && (parent == 0 || entry.th32ParentProcessID == parent)) {
            hosts.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return hosts;
}

#ifdef _WIN64

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // the scratch folders are plain ASCII
}

// Runs the host of the scratch folder with arguments and waits for its exit code; -1 when it
// cannot be started or does not end.
long RunHost(const ScratchFolder& scratch, const std::string& arguments) {
    std::string commandLine = "\"" + scratch.dir + HOST_PROGRAM + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, EXIT_TIMEOUT_MS)) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

std::string Hex(HWND window) {
    char text[16];
    wsprintfA(text, "%lx", HandleToULong(window));
    return text;
}

std::string Hex(DWORD value) {
    char text[16];
    wsprintfA(text, "%lx", value);
    return text;
}

// Where the host comes from: the 64-bit build's own copy (runs everywhere), or the i686 build's
// real one (only where 32-bit programs run).
struct HostBuild {
    const char* name;
    bool i686;
};

class HostLife : public testing::TestWithParam<HostBuild> {
protected:
    void SetUp() override {
        std::string folder = TestProgramFolder() + "host64\\";
        std::string whyNot;
        if (GetParam().i686 && !I686ProgramsThatRun(&folder, &whyNot)) {
            GTEST_SKIP() << "the 32-bit host is not tested: " << whyNot;
        }
        StartTraceViewer();
        ClearTrace();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(AddHostToScratch(scratch, folder));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        // The host that installed its hook. Under Wine a 32-bit host started by the 64-bit
        // program at its start can find the program's windows unknown and end refused; the
        // program then starts it again.
        ASSERT_TRUE(WaitUntil([&] {
            return !TraceLinesStartingWith("host: hook installed ").empty() &&
                   RunningHosts(resident.process.dwProcessId).size() == 1 &&
                   TraceLinesStartingWith("host ended ").size() + 1 == TraceLinesStartingWith("host started ").size();
        }, START_TIMEOUT_MS))
            << "no host installed its hook";
        host = RunningHosts(resident.process.dwProcessId)[0];
    }

    void TearDown() override {
        EndOrKillResident(&resident);
        for (DWORD left : RunningHosts()) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, left);
            if (process != nullptr) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, EXIT_TIMEOUT_MS);
                CloseHandle(process);
            }
        }
        RemoveScratchFolder(scratch);
    }

    // The shared state of the host's hook library, when it is of this test's width: the hook
    // brings it into this process once it is installed. Null for the 32-bit host.
    const HookSharedState* HostHookState() {
        if (GetParam().i686) {
            return nullptr;
        }
        std::wstring library = Wide(scratch.dir + HOST_LIBRARY);
        HWND poke = StartTraceViewer();
        WaitUntil([&] {
            PostMessageA(poke, WM_NULL, 0, 0);
            return GetModuleHandleW(library.c_str()) != nullptr;
        }, START_TIMEOUT_MS);
        return FindSharedState(GetModuleHandleW(library.c_str()));
    }

    std::string ResidentArguments() {
        return Hex(resident.process.dwProcessId) + " " + Hex(resident.window) + " " + Hex(resident.list);
    }

    ScratchFolder scratch;
    Resident resident;
    DWORD host = 0;
};

// The exit code of the process once it has ended; false when it did not end in time.
bool WaitForExit(HANDLE process, DWORD* exitCode) {
    if (!WaitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, EXIT_TIMEOUT_MS)) {
        return false;
    }
    return GetExitCodeProcess(process, exitCode) != FALSE;
}

TEST_P(HostLife, StartsWithTheResidentProgramAndEndsWithIt) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, host);
    ASSERT_NE(process, nullptr);
    const HookSharedState* shared = HostHookState();
    if (shared != nullptr) {
        EXPECT_EQ(shared->candidateWindow, HandleToULong(resident.window));
        EXPECT_EQ(shared->candidateList, HandleToULong(resident.list));
        EXPECT_NE(shared->hookHandle, 0u);
    }
    EXPECT_FALSE(TraceLinesStartingWith("host started ").empty());

    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    DWORD hostExit = 99;
    EXPECT_TRUE(WaitForExit(process, &hostExit)) << "the host outlived the resident program";
    EXPECT_EQ(hostExit, HOST_EXIT_NORMAL);
    CloseHandle(process);
    if (shared != nullptr) {
        EXPECT_EQ(shared->hookHandle, 0u) << "the host ended without removing its hook";
    }
    EXPECT_TRUE(RunningHosts().empty());
}

TEST_P(HostLife, AKilledHostIsStartedAgain) {
    const HookSharedState* shared = HostHookState();
    const ULONG firstHook = shared != nullptr ? shared->hookHandle : 0;
    const size_t endedBefore = TraceLinesStartingWith("host ended ").size();
    ASSERT_TRUE(SignalLinuxProcess(FindLinuxProcess(scratch.dir + HOST_PROGRAM), LINUX_KILL));
    const DWORD killedAt = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<DWORD> hosts = RunningHosts(resident.process.dwProcessId);
        return hosts.size() == 1 && hosts[0] != host;
    }, START_TIMEOUT_MS)) << "the killed host was not started again";
    printf("  the killed host ran again after %lu ms\n", GetTickCount() - killedAt);
    EXPECT_EQ(TraceLinesStartingWith("host ended ").size(), endedBefore + 1);
    if (shared != nullptr) {
        // The new host's own hook, the killed one's removed (Wine keeps a dead thread's hook).
        EXPECT_TRUE(WaitUntil([&] { return shared->hookHandle != 0 && shared->hookHandle != firstHook; },
                              START_TIMEOUT_MS));
        EXPECT_EQ(shared->candidateWindow, HandleToULong(resident.window));
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([] { return RunningHosts().empty(); }, EXIT_TIMEOUT_MS));
}

TEST_P(HostLife, NeverTwice) {
    DWORD exitCode = 99;
    ASSERT_TRUE(RunToExit(scratch, "", &exitCode));
    EXPECT_EQ(exitCode, EXIT_START_FAILED) << "a second resident program ran";
    // A second host with the right arguments finds the first one's mutex.
    EXPECT_EQ(RunHost(scratch, ResidentArguments()), static_cast<long>(HOST_EXIT_NOT_STARTED));
    EXPECT_EQ(RunningHosts(), std::vector<DWORD>{host});
    EXPECT_TRUE(TraceLinesStartingWith("host not started").empty());
}

TEST_P(HostLife, RefusesACommandLineThatNamesNoResidentProgram) {
    const HookSharedState* shared = HostHookState();
    const ULONG hook = shared != nullptr ? shared->hookHandle : 0;
    const std::string pid = Hex(resident.process.dwProcessId);
    const std::string window = Hex(resident.window);
    const std::string list = Hex(resident.list);
    const struct {
        const char* what;
        std::string arguments;
    } cases[] = {
        {"nothing", ""},
        {"not numbers", "ZELVO.EXE x y"},
        {"two values", pid + " " + window},
        {"the windows of another process", Hex(GetCurrentProcessId()) + " " + window + " " + list},
        {"window and list swapped", pid + " " + list + " " + window},
        {"the window twice", pid + " " + window + " " + window},
        {"a process that does not exist", "7ffffff0 " + window + " " + list},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunHost(scratch, c.arguments), static_cast<long>(HOST_EXIT_REFUSED)) << c.what;
    }
    EXPECT_EQ(RunningHosts(), std::vector<DWORD>{host});
    if (shared != nullptr) {
        EXPECT_EQ(shared->hookHandle, hook) << "a refused host touched the hook";
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, HostLife, testing::Values(HostBuild{"Host64", false}, HostBuild{"Host32", true}),
                         [](const testing::TestParamInfo<HostBuild>& info) { return std::string(info.param.name); });

// A host file that is no program: the resident program runs and ends as ever.
TEST(BrokenHost, TheResidentProgramWorksWithout) {
    StartTraceViewer();
    ScratchFolder scratch;
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + HOST_PROGRAM, "not a program\r\n"));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(u8"愛情\tあいじょう\r\n")));
    ClearTrace();
    Resident resident;
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    EXPECT_TRUE(WaitUntil([] { return !TraceLinesStartingWith("host not started ").empty(); }, START_TIMEOUT_MS));
    HWND target = CreateTargetWindow(300, 300);
    LRESULT answer = 0;
    ASSERT_TRUE(SendRequestRecord(resident.window, WM_ZELVO_SHOW, 320, 330, target, Sjis(u8"あい"), Sjis(u8"あい"),
                                  &answer));
    EXPECT_EQ(ListLines(resident.list), std::vector<std::string>{Sjis(u8"愛情\tあいじょう")});
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(RunningHosts().empty());
    DestroyWindow(target);
    RemoveScratchFolder(scratch);
}

#else

// The 32-bit program reaches the 32-bit applications itself and starts no host.
TEST(HostLife, The32BitResidentProgramStartsNoHost) {
    StartTraceViewer();
    ScratchFolder scratch;
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(AddHostToScratch(scratch, TestProgramFolder()));
    ClearTrace();
    Resident resident;
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    // Two beats of the program's timer: a start would have been tried by then.
    ExchangeStatus status = {};
    ASSERT_TRUE(ReadExchangeStatus(&status));
    const uint32_t first = status.heartbeat;
    EXPECT_TRUE(WaitUntil([&] { return ReadExchangeStatus(&status) && status.heartbeat - first >= 2; }, 5000));
    EXPECT_TRUE(RunningHosts().empty());
    EXPECT_TRUE(TraceLinesStartingWith("host ").empty());
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    CloseExchangeBlock();
    RemoveScratchFolder(scratch);
}

#endif

}  // namespace
