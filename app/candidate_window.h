// The CandidateWindow: its class, its creation, its window procedure, and the requests
// from the hook library that its procedure answers.
#pragma once

#include <windows.h>

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

// Fills the CandidateList for reading and shows the window at x, y without activating it,
// or hides it when nothing matches.
void PlaceCandidateWindow(const char* reading, int x, int y);

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
