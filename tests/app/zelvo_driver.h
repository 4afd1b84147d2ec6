// The test driver's side of the resident program: it starts ZELVO.EXE in a private scratch
// folder, plays the hook (ExchangeBlock, show / register / hide requests) and the trace
// viewer, and reads back what a user would see. Shared by the Wine tests and the benchmark.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange.h"

constexpr DWORD POLL_INTERVAL_MS = 10;
constexpr DWORD START_TIMEOUT_MS = 15000;
constexpr DWORD EXIT_TIMEOUT_MS = 15000;

// Shift-JIS bytes of a UTF-8 text (tests write their words readably, as u8 literals).
std::string Sjis(const char* utf8);

// Takes every message of this thread's queue except "Zelvo_kakuteiMSG", which the tests
// look at themselves, and dispatches it.
void PumpMessages();

// Polls condition every 10 ms, pumping messages meanwhile; true once it holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The trace viewer: a window of class "TuloDebugWClass" collecting the WM_COPYDATA lines.
// Create it before starting the program, which looks for it once at start-up.
HWND StartTraceViewer();
void ClearTrace();
const std::vector<std::string>& TraceLines();
// The collected lines that begin with prefix.
std::vector<std::string> TraceLinesStartingWith(const std::string& prefix);

// The folder of the running test program (and of the programs it tests), ending in '\'.
std::string TestProgramFolder();

// A scratch folder holding copies of ZELVO.EXE (under programName), ZELVOD.DLL and
// ZELVOS.DLL from the driver's own folder. folderName, when given, names the folder itself:
// below the temporary folder, or anywhere when it is a full path with its drive.
struct ScratchFolder {
    std::string dir;          // ends in '\'
    std::string programPath;
    std::wstring wideDir;     // set when the ANSI calls cannot spell the folder: dir is its short form
};
bool MakeScratchFolder(ScratchFolder* scratch, const char* programName = "ZELVO.EXE",
                       const std::string& folderName = "");
// The same in a folder of the temporary folder named by folderName, which may hold characters
// outside the ANSI code page. The program is started through its wide path.
bool MakeWideScratchFolder(ScratchFolder* scratch, const std::wstring& folderName);
void RemoveScratchFolder(const ScratchFolder& scratch);
// The hook library of that folder as loaded into this process (the hook brings it here), or
// null. Each test's folder holds a library of its own: the name alone may find another's.
HMODULE HookLibraryOf(const ScratchFolder& scratch);

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// A dictionary file of lines "語NNNNN<TAB>ごNNNNN<CR><LF>" numbered from 0, in Shift-JIS.
std::string NumberedDictionary(int lines);
bool ReadFileBytes(const std::string& path, std::string* bytes);
bool FileExists(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> FolderNames(const std::string& dir);

// A running copy of the resident program.
struct Resident {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;  // the CandidateWindow, class "zelvoclass"
    HWND list = nullptr;    // the CandidateList, control 105
};

// Starts the program and waits until it is resident: its window exists, its hook has
// reached this process, and (with the trace viewer) it has traced that its window thread
// runs its message loop. Without waitForHook the hook is not waited for: Wine cannot load a
// hook library whose path is longer than 259 characters into other processes. Without the
// trace viewer (benchmarks, the demo) neither the program nor the hook formats or sends a
// trace line; without both, the program is waited for until it is idle.
bool StartResident(const ScratchFolder& scratch, const std::string& arguments, Resident* resident,
                   bool waitForHook = true, bool withTraceViewer = true);
// Starts a program and waits for it to end; false on a timeout.
bool RunToExit(const ScratchFolder& scratch, const std::string& arguments, DWORD* exitCode);
// Ends the program with the IDM_EXIT command and waits for its exit code.
bool EndResident(Resident* resident, DWORD* exitCode);
bool WaitForResidentExit(Resident* resident, DWORD* exitCode);
// Last resort after a failed test: the process is killed.
void KillResident(Resident* resident);
// After a test: a running program is ended with IDM_EXIT (a killed one would leave its hook
// installed under Wine), and killed only when it does not end.
void EndOrKillResident(Resident* resident);

// Starts the program without waiting for anything.
bool LaunchResident(const ScratchFolder& scratch, const std::string& arguments, PROCESS_INFORMATION* process);

// A top-level window of the class that belongs to the process; null when there is none.
HWND FindWindowOfProcess(const char* className, DWORD processId);

// The ExchangeBlock as the hook sees it.
unsigned char* OpenExchangeBlock();
void CloseExchangeBlock();

// Writes the pair and sends the request, as the hook does.
void SendShowRequest(HWND window, const std::string& composition, const std::string& reading,
                     int x, int y, HWND target);
void SendRegisterRequest(HWND window, const std::string& word, const std::string& reading);
void SendHideRequest(HWND window);

// A show or register request in a record of its own (WM_COPYDATA), as the hook sends it, with
// the hook's bound. True when it was answered; *answer then holds the program's result.
bool SendRequestRecord(HWND window, unsigned kind, int x, int y, HWND target, const std::string& first,
                       const std::string& second, LRESULT* answer = nullptr);
// Any WM_COPYDATA, hostile ones included, with the same bound; size bytes from data.
bool SendCopyData(HWND window, ULONG_PTR tag, const void* data, DWORD size, LRESULT* answer);
// The wait of the two above, the same as the hook's.
constexpr UINT REQUEST_TIMEOUT_MS = 150;

// Waits until a program just started runs its message loop: its status record's heartbeat,
// cleared at its start, has moved (its first timer tick). StartResident may return before:
// a hook library left loaded here by an earlier run answers for the new one.
bool WaitUntilResidentRuns();

// The status record of the ExchangeBlock; false without a block.
bool ReadExchangeStatus(ExchangeStatus* status);

// The user's choices about learning under HKCU\Software\Zelvo (pause, programs left alone)
// deleted: a program started next begins with learning on everywhere. Tests that change them
// call it before and after.
void ForgetLearningChoices();

// The programs the resident program publishes in the status record for the hook, upper-cased,
// and the list's generation.
std::vector<std::wstring> PublishedExclusions(uint32_t* generation);

// The program's settings under HKCU\Software\Zelvo (of the test's Wine prefix): a DWORD
// value, -1 when it is missing or of another type. A test that writes one forgets it after.
long ReadSettingValue(const char* name);
bool WriteSettingValue(const char* name, DWORD value);
void ForgetSettingValue(const char* name);

// The text of a window, also of another process (WM_GETTEXT), in Shift-JIS.
std::string WindowText(HWND window);

// The lines of a list box of another process, in Shift-JIS.
std::vector<std::string> ListLines(HWND list);

// A visible top-level window of this thread ("the application being typed into").
HWND CreateTargetWindow(int x, int y);
// A visible window owned by a thread of its own ("another application"); ended by
// EndOtherApplication.
HWND StartOtherApplication(int x, int y);
void EndOtherApplication(HWND window);
