// Puts the test IME in place for the Japanese keyboard layout (E0010411) of the Wine prefix
// or Windows system the calling program runs on. Every thread whose layout is E0010411 then
// composes with it: with a Japanese locale under Wine that is every thread of every
// process started afterwards, and of the calling process if it created no window yet.
#pragma once

#include <string>

// The file name the IME is installed under in the system folder.
constexpr char TEST_IME_FILE[] = "ZTESTIME.IME";

// The layout the IME is installed for, and its registry key below HKEY_LOCAL_MACHINE.
constexpr unsigned long TEST_IME_LAYOUT = 0xE0010411;
constexpr char TEST_IME_LAYOUT_KEY[] =
    "System\\CurrentControlSet\\Control\\Keyboard Layouts\\E0010411";

// The layout's value that makes the IME a Unicode IME (REG_DWORD 1) in processes that load it
// afterwards.
constexpr char TEST_IME_UNICODE_VALUE[] = "Zelvo Test IME Unicode";

// The built IME beside the running program (the build puts both in one folder).
std::string TestImeBesideProgram();

// Copies imePath into the system folder as TEST_IME_FILE (a copy already there with the
// same contents is kept: a running process may have it loaded) and sets the layout's
// "Ime File", "Layout File" and "Layout Text". On failure returns false with a reason.
bool InstallTestIme(const std::string& imePath, std::string* error);

// The same for the 32-bit programs of a 64-bit system: imePath is the 32-bit IME, copied into
// the 32-bit system folder (syswow64); the layout's values are the same for both widths.
bool InstallTestIme32(const std::string& imePath, std::string* error);

// Makes the IME a Unicode IME (or an ANSI one again) for the processes that load it from now
// on; those that have it loaded keep their kind. On failure returns false with a reason.
bool SetTestImeUnicode(bool unicode, std::string* error);

// Takes the layout's values away again when they name the test IME, so that processes
// started afterwards compose with the system's own IME (Wine's, in a fresh prefix, has no
// such key). The file stays in the system folder. Returns whether nothing of the test IME
// is left in the registry.
bool RemoveTestIme();
