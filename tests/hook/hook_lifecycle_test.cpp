// The hook library's exports and shared state under Wine: this program links ZELVOS like
// the resident program does; a second process (hook_probe) shows that the hook really is
// installed for all threads and that the shared section is one for all processes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared_section.h"
#include "zelvos.h"

namespace {

const HookSharedState* Shared() {
    return FindSharedState(GetModuleHandleA("ZELVOS.DLL"));
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

HWND CreateTopWindow(const char* className) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // a second registration fails harmlessly
    return CreateWindowA(className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Runs hook_probe with the settings path and viewer handle it should see in the shared
// state; its exit code, or -1 when it could not run or did not end within a minute.
int RunProbe(const std::string& expectedPath, HWND expectedViewer) {
    char viewer[16];
    wsprintfA(viewer, "%lx", HandleToULong(expectedViewer));
    std::string command =
        "\"" + ProgramFolder() + "hook_probe.exe\" \"" + expectedPath + "\" " + viewer;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TEST(HookLifecycle, NothingIsInstalledBeforeInitZelvo) {
    const HookSharedState* shared = Shared();
    ASSERT_NE(shared, nullptr) << "no section .shared marked read, write and shared";
    EXPECT_EQ(shared->hookHandle, 0u);
    EXPECT_EQ(QueryEnd(), 1);
    EXPECT_EQ(EndZelvo(), 0);
    EXPECT_EQ(QueryEnd(), 1);
}

TEST(HookLifecycle, InitZelvoInstallsTheHookForOtherProcessesAndEndZelvoRemovesIt) {
    const HookSharedState* shared = Shared();
    ASSERT_NE(shared, nullptr);
    HWND candidateWindow = CreateTopWindow("zelvo_test_candidates");
    HWND candidateList = CreateTopWindow("zelvo_test_list");
    ASSERT_NE(candidateWindow, nullptr);
    ASSERT_NE(candidateList, nullptr);
    char name[SETTINGS_PATH_SIZE] = "SAMPRELO.INI";
    const std::string expected = ProgramFolder() + "SAMPRELO.INI";

    ASSERT_EQ(InitZelvo(name, candidateWindow, candidateList), 1);
    EXPECT_EQ(std::string(name), expected);
    EXPECT_EQ(std::string(shared->settingsPath), expected);
    EXPECT_EQ(shared->candidateWindow, HandleToULong(candidateWindow));
    EXPECT_EQ(shared->candidateList, HandleToULong(candidateList));
    EXPECT_NE(shared->hookHandle, 0u);
    EXPECT_EQ(QueryEnd(), 1);

    // Another process gets the library through the hook and sees the same shared state.
    EXPECT_EQ(RunProbe(expected, nullptr), 0);

    EXPECT_NE(EndZelvo(), 0);
    EXPECT_EQ(shared->hookHandle, 0u);
    EXPECT_EQ(EndZelvo(), 0);
    EXPECT_EQ(QueryEnd(), 1);
    // The windows stay stored until the next InitZelvo.
    EXPECT_EQ(shared->candidateWindow, HandleToULong(candidateWindow));
    DestroyWindow(candidateList);
    DestroyWindow(candidateWindow);
}

TEST(HookLifecycle, InitZelvoKeepsJoinsOrRefusesTheSettingsName) {
    const HookSharedState* shared = Shared();
    ASSERT_NE(shared, nullptr);
    const std::string folder = ProgramFolder();
    const std::string tooLong = "D:\\cfg\\" + std::string(280, 'n') + ".ini";
    const struct {
        std::string name;
        std::string expected;
    } cases[] = {
        {"D:\\cfg\\my.ini", "D:\\cfg\\my.ini"},
        {"cfg/my.ini", "cfg/my.ini"},
        {"A:my.ini", "A:my.ini"},
        {"settings", folder + "settings"},
        {tooLong, ""},  // refused: empty, never cut into another name
    };
    for (const auto& c : cases) {
        std::vector<char> buffer(c.name.begin(), c.name.end());
        buffer.resize(c.name.size() + SETTINGS_PATH_SIZE, '\0');
        EXPECT_EQ(InitZelvo(buffer.data(), nullptr, nullptr), 1) << c.name;
        EXPECT_EQ(std::string(buffer.data()), c.expected) << c.name;
        EXPECT_EQ(std::string(shared->settingsPath), c.expected) << c.name;
        EXPECT_NE(EndZelvo(), 0) << c.name;
    }
}

// What a copy of the program that ended without EndZelvo leaves in the shared state: its hook
// handle and perhaps a stall mark. The next InitZelvo removes that hook and clears the mark.
// The hook left here is one of this thread's, with a procedure of the test's own, so that
// whether it still runs shows. (A global hook that is removed while another thread is inside
// the hook chain is only marked under Wine, and its handle stays valid for a moment.)
int leftHookRuns = 0;

LRESULT CALLBACK LeftHook(int code, WPARAM removal, LPARAM record) {
    ++leftHookRuns;
    return CallNextHookEx(nullptr, code, removal, record);
}

TEST(HookLifecycle, InitZelvoRemovesTheHookAndTheStallMarkLeftBeforeIt) {
    HookSharedState* shared = const_cast<HookSharedState*>(Shared());  // a shared, writable section
    ASSERT_NE(shared, nullptr);
    HHOOK left = SetWindowsHookExA(WH_GETMESSAGE, LeftHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(left, nullptr);
    shared->hookHandle = HandleToULong(left);
    shared->stalled = 1;

    char name[SETTINGS_PATH_SIZE] = "SAMPRELO.INI";
    ASSERT_EQ(InitZelvo(name, nullptr, nullptr), 1);
    EXPECT_NE(shared->hookHandle, 0u);
    EXPECT_NE(shared->hookHandle, HandleToULong(left));
    EXPECT_EQ(shared->stalled, 0u);
    leftHookRuns = 0;
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(leftHookRuns, 0) << "the hook left before still runs";
    EXPECT_FALSE(UnhookWindowsHookEx(left)) << "the hook left before was still installed";
    EXPECT_NE(EndZelvo(), 0);
    EXPECT_EQ(EndZelvo(), 0);
}

TEST(HookLifecycle, TraceViewerIsLookedUpOnlyWhileUnknown) {
    const HookSharedState* shared = Shared();
    ASSERT_NE(shared, nullptr);
    ASSERT_EQ(shared->traceViewer, 0u) << "no viewer existed before this test";
    HWND firstViewer = CreateTopWindow("TuloDebugWClass");
    ASSERT_NE(firstViewer, nullptr);
    char name[SETTINGS_PATH_SIZE] = "SAMPRELO.INI";
    ASSERT_EQ(InitZelvo(name, nullptr, nullptr), 1);

    // The probe's library attach finds the viewer and stores it for every process.
    EXPECT_EQ(RunProbe(name, firstViewer), 0);
    EXPECT_EQ(shared->traceViewer, HandleToULong(firstViewer));

    // Once known, the handle is kept even after that window is gone.
    DestroyWindow(firstViewer);
    HWND secondViewer = CreateTopWindow("TuloDebugWClass");
    ASSERT_NE(secondViewer, nullptr);
    ASSERT_NE(secondViewer, firstViewer);
    EXPECT_EQ(RunProbe(name, firstViewer), 0);
    EXPECT_EQ(shared->traceViewer, HandleToULong(firstViewer));

    EXPECT_NE(EndZelvo(), 0);
    DestroyWindow(secondViewer);
}

}  // namespace
