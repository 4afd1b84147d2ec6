// The start-up and shutdown steps of the resident program that stand on their own.
#pragma once

#include <windows.h>

constexpr int EXIT_NORMAL = 0;        // a normal end, and the quiet start-up failures
constexpr int EXIT_START_FAILED = 1;  // another copy runs, no ExchangeBlock, InitZelvo failed

// Creates the named mutex "MUTEXZelvoA" (left open until the process ends); true when
// another copy holds it or it cannot be created.
bool IsAlreadyRunning();

// Creates (or opens) the ExchangeBlock; null on failure, after telling the user.
HANDLE CreateExchangeMapping();

// Maps the whole block into exchangeView and leaves it zeroed with the fresh mark at
// offset 0 and the status record's size filled in; false on failure, or when an object of
// another size holds the block's name, after telling the user.
bool MapExchangeBlock(HANDLE mapping);

// Starts the thread that installs the hook (InitZelvo with settingsName and the windows) and
// then only retrieves messages; waits until InitZelvo has returned. False when the thread
// cannot run or InitZelvo did not return 1.
bool StartHookThread();

// Ends that thread, which removes the hook (EndZelvo) as it goes.
void StopHookThread();

// Starts the host program ZELVO32.EXE, when this is the 64-bit program and the host lies
// beside it, and watches it from then on (TendHostProgram).
void StartHostProgram();

// On the program's timer: notes a host that has ended and starts one when it is due.
void TendHostProgram();

// Unmaps and closes the ExchangeBlock.
void ReleaseExchangeBlock(HANDLE mapping);

// Deletes the set-aside copies of the program's files in the temporary folder and in the
// program's folder; a copy still loaded by some process stays.
void RemoveSetAsideCopies();

// Tells the user, once resident, that learning cannot be kept (learningNotKept), or on a
// first start (no dictionary file or backup yet: sets firstStart) that Zelvo runs.
void ShowStartNotices();

// GetMessageA / TranslateMessage / DispatchMessageA until WM_QUIT.
void RunMessageLoop();
