// The CandidateWindow: its class, its creation, its window procedure, and the requests
// from the hook library that its procedure answers.
#pragma once

#include <windows.h>

#include "exchange.h"

// Registers the class "zelvoclass"; true on success.
bool RegisterCandidateClass();

// Creates the hidden CandidateWindow (and, in its creation handler, the CandidateList and
// the foreground timer) into mainWindow; true on success.
bool CreateCandidateWindow();

LRESULT CALLBACK CandidateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Every way of hiding the candidates goes through SW_HIDE; WM_SHOWWINDOW forgets the target.
void HideCandidateWindow();

// Show request: fills the list for the reading in the ExchangeBlock and shows the window at
// the packed position, or hides it; then records the target window and its thread.
void HandleShowRequest(WPARAM packedPosition, LPARAM targetWindow);

// The show request with its reading, from the block or from a request record. A target
// window that no longer exists hides the candidates and is not recorded.
void AnswerShowRequest(const char* reading, unsigned long packedPosition, HWND target);

// Fills the CandidateList for reading and shows the window at x, y without activating it,
// or hides it when nothing matches; true when it shows candidates.
bool PlaceCandidateWindow(const char* reading, int x, int y);

// Fills the CandidateList again for the reading it shows, keeping the place of the selection
// (the next line takes it; the last line when the list got shorter); hides the window when
// nothing is left.
void RefreshCandidateList();

// Register request: the word and reading in the ExchangeBlock go to FilterAndRegister.
void HandleRegisterRequest();

// Passes a committed pair to the dictionary unless it is not worth remembering.
void FilterAndRegister(const char* word, const char* reading);

// Asks the hook in the target application to commit the selected candidate.
void RequestCommit();

// Hides the candidates once the user has turned to another application.
void RunForegroundCheck();

// The IDM_EXIT command: ends the residence by destroying the CandidateWindow.
void EndResidence();

// Copies both strings of the ExchangeBlock into buffers of EXCHANGE_FIELD_SIZE bytes;
// a string that lacks its NUL within its field is cut to 255 bytes.
void CopyExchangePair(char* first, char* second);

// Counts the status record's heartbeat on: the program answers (its timer, each request).
void CountHeartbeat();

// Publishes the programs Zelvo stays out of (count names) in the status record, for the hook
// in every process, under a new generation.
void PublishExclusions(const WCHAR (*names)[EXCLUSION_NAME_CHARS], int count);

// WM_COPYDATA: a show or register request that carries its strings. TRUE when the record
// passed the check and was handled; FALSE, with nothing done, for any other data.
BOOL HandleRequestRecord(const COPYDATASTRUCT* data);
