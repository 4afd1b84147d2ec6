// The operations of the message hook, each in a file named after what it does. All of them
// run on the thread of the application that retrieved the message, inside the hook call.
#pragma once

#include <windows.h>

#include "exchange.h"
#include "hook_state.h"
#include "message_route.h"
#include "trace.h"

// Room for a window class name: at most 255 bytes and the NUL.
constexpr int CLASS_NAME_SIZE = 256;

// ---- window.cpp: the resident program's windows and the target's class ----

// The CandidateWindow and the CandidateList, as InitZelvo stored them.
HWND CandidateWindow();
HWND CandidateList();
// True when the CandidateWindow exists and is visible.
bool CandidatesVisible();
// The class name of window (GetClassNameA, last byte forced to NUL; empty on failure).
void ReadClassName(HWND window, char name[CLASS_NAME_SIZE]);
// The viewer of the TraceChannel, null when none was found.
HWND TraceViewer();
// True when window belongs to this process: the hook acts on no message of another one.
bool IsWindowOfThisProcess(HWND window);
// Takes the message from the application: its number becomes that of "zelvo-dummymsg",
// which no window handles; a key message is then gone before TranslateMessage, so the IME
// never sees the key either.
void ConsumeMessage(MSG* message);

// ---- keys.cpp ----

// WM_KEYDOWN: selection keys while the candidates are visible, and Enter.
void HandleKeyDown(MSG* message);

// ---- commit.cpp ----

// Reads line index of the CandidateList as ANSI text into line (CANDIDATE_LINE_BUFFER_SIZE
// bytes); false when it cannot be read whole.
bool ReadCandidateLine(HWND list, int index, char* line);

// Commits the selected candidate into message's window: cancels the IME's composition,
// pastes the word, hides the candidates, consumes the message and registers the word.
void CommitSelection(MSG* message);

// ---- removal.cpp ----

// Shift+Delete: asks the resident program to remove the selected candidate from the
// dictionary; the key is consumed once it has. With nothing selected the key goes on.
void RemoveSelectedCandidate(MSG* message);

// ---- program_exclusion.cpp ----

// True when the user keeps Zelvo out of this process's program: the hook then leaves every
// message to the application. Decided once per list the resident program publishes.
bool ProcessExcluded();

// ---- composition.cpp ----

// WM_IME_COMPOSITION: hide on a cleared composition, read the strings that changed.
void HandleComposition(const MSG* message);
// Reads the composition (or result) of window, null for the last composition window of this
// process, and delivers it as a show or register request.
void ReadComposition(HWND window, unsigned long flags);
void ShowCandidates(HWND window, const char* composition, const char* reading);
void RegisterResult(const char* word, const char* reading);

// ---- resident_link.cpp: every call into the resident program, bounded ----

// Which request opens the view: the text traced when mapping it fails.
enum ExchangeUser { EXCHANGE_FOR_REGISTER, EXCHANGE_FOR_SHOW, EXCHANGE_FOR_STATUS };
// Makes sure this process has a view of the ExchangeBlock and its status record (one attempt
// per process).
bool OpenExchangeView(ExchangeUser user);
// False while the resident program counts as stalled: the hook then leaves every message to
// the application, as if Zelvo were not running.
bool ResidentAvailable();
// Sends to a window of the resident program and waits at most RESIDENT_SEND_TIMEOUT_MS.
// True with the answer when it came; false when the resident program is stalled (nothing is
// sent), did not answer in time (it is then marked stalled), or the window is gone.
bool SendToResident(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);
// The same through the wide message call (the CandidateList's text).
bool SendWideToResident(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);
// WM_ZELVO_HIDE: every hide the hook asks for.
void HideCandidates();
// A show or register request with its strings in a record of its own (WM_COPYDATA). False
// when a string does not fit its field or the request was not answered.
bool SendRequestRecord(unsigned kind, unsigned long position, HWND target, const char* first,
                       const char* second);

// ---- caret.cpp ----

// Where the candidates go for window, in its client coordinates, offsets included.
void FindCaretPosition(HWND window, const char* className, POINT* point);

// ---- placement.cpp ----

// Sends the show request for window at point (client coordinates of window).
void SendShowRequest(HWND window, POINT point, const char* composition, const char* reading);
// Keeps the pair for the placement deferred to "Zelvo_moveMSG"; false when it does not fit.
bool KeepDeferredPair(const char* composition, const char* reading);
// "Zelvo_moveMSG": places the candidates for the deferred target.
void PlaceDeferredCandidates();
// WM_LBUTTONUP: shows the last composition of this process again.
void RefreshCandidates();
// Right or middle button, wheel: hides the candidates.
void HideCandidatesOnMouse();

// ---- clipboard.cpp ----

// Keeps what the clipboard holds in this thread's state (unless the user keeps the word
// there) and replaces it with the word and its marks, owner becoming the owner. False, with
// the clipboard untouched, when it stays unavailable (another program holds it, or its owner
// does not answer), when the word's block cannot be made, or while this thread's earlier
// paste is still on its way.
bool PutOnClipboard(HWND owner, const char* word);
// Gives back what was kept, unless the clipboard changed since the word was put there; what
// was kept is released either way.
void GiveClipboardBack(KeptClipboard* kept);
void ReleaseKeptClipboard(KeptClipboard* kept);

// ---- paste.cpp ----

int IsPasteClass(HWND window);
// Pastes by WM_PASTE and gives the clipboard back at once, or sends the marked Ctrl+V.
void PasteIntoTarget(HWND window);
void NotifyClipboardTool(HWND window);

// ---- typed_ahead.cpp: the keys typed ahead of a synthetic paste ----

// This thread's state; made on the first call with create (null if it cannot be).
HookThreadState* ThreadState(bool create);
// Frees this thread's state, and what it kept of the clipboard.
void ReleaseThreadState();
// A key message of route while this thread's order has events on their way: true when it
// was typed again behind them and taken from the application (nothing else is to be done
// with it). Gives the clipboard back once the paste's keys are through.
bool KeepsTypingOrder(HookRoute route, MSG* message);
