// The end-to-end harness: a real ZELVO.EXE with a seeded dictionary, the test IME, and a
// target application (e2e_target.exe) in a process of its own, driven by real key events.
// Shared by the end-to-end tests and the keystroke benchmark.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "zelvo_driver.h"

// What a session of targets needs, once before its tests: the trace viewer (before any
// resident program looks for it), the observer, and the test IME (a reason in *error when it
// cannot be installed).
void PrepareTargetSession(std::string* error);

// Installs the test IME for every process started afterwards; false with a reason.
bool InstallImeForTargets(std::string* error);
void RemoveImeForTargets();
// For a program of its own (a benchmark): the observer started and the IME installed; false,
// with the reason printed, when the IME cannot be.
bool ReadyForTargets();

// The observer window of this process, which collects the target's reports.
HWND StartObserver();
void ClearReports();
const std::vector<std::string>& Reports();

// A window titled "Marnet", standing in for the clipboard tool: it remembers whether it was
// sent "MarnetMsg" with wParam 1.
HWND StartClipboardTool();
void ForgetClipboardToolNotice();
bool ClipboardToolNotified();

// A running target application.
struct Target {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// Starts e2e_target.exe with a window of kind (edit, richedit, richeditw, paster, copier:
// a paster that copies text of its own after each paste, wwg), waits until the hook library
// of scratch is loaded in it (unless waitForHook is false: no resident program runs) and its
// window is in the foreground.
// program: the path of a copy of e2e_target.exe under another name (another program to the
// user); empty for e2e_target.exe itself.
bool StartTarget(const ScratchFolder& scratch, const char* kind, Target* target, bool waitForHook = true,
                 const std::string& program = "");
// The same with the target program at program (another build's e2e_target.exe, or a copy),
// waiting until the hook library at the full path hookLibrary is loaded in it.
bool StartTargetOf(const std::string& program, const std::string& hookLibrary, const char* kind,
                   Target* target, bool waitForHook = true);
// The path of e2e_target.exe beside the test program.
std::string TargetProgramPath();
void EndTarget(Target* target);
// Ends the target, then the resident program with IDM_EXIT, and reads the dictionary file it
// saved as it ended; false when the program did not end with exit code 0 or left no file.
bool EndAndReadDictionary(const ScratchFolder& scratch, Target* target, Resident* resident, std::string* file);
// Starts clipboard_owner.exe, which owns the clipboard with text it renders only on request
// (OWNER_TEXT), and waits until it does. Ended with EndTarget.
bool StartClipboardOwner(Target* owner);

// Real key events. Letters as romaji ('a'..'z'), digits, '!' (right Shift+1), ' ' Space,
// '\n' Enter, '\b' Backspace, '\x1b' Escape. PressKey's Shift is the right one.
void PressKey(WORD key, bool control = false, bool shift = false);
void TypeRomaji(const char* keys);
// The same keys in one go: all of them are in the target's input queue before it retrieves
// the first (as when the user types faster than the application takes keys).
void TypeAtOnce(const char* keys);
// Presses the barrier key (the left Shift, which no IME takes) and waits until the target reports
// its release: everything typed before it has been retrieved by the target.
bool WaitForTargetInput();

// A real left click (SendInput) near the right end of the window, away from the candidates
// at the caret.
void ClickInWindow(HWND window);

// Runs act (a key or a click), then waits until the target reports report ("down e5",
// "mouse 202", ...) after the reports that came before. The milliseconds from act to the
// report, or -1 when it did not come within timeoutMs.
double TimeUntilReport(const std::function<void()>& act, const std::string& report, DWORD timeoutMs);

// The caret of the target's thread in screen coordinates (GetGUIThreadInfo); false if it
// has none.
bool TargetCaret(HWND window, RECT* caret);
