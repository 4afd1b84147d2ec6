// ResidentState: everything the resident program keeps for the life of its process, in one
// place. Touched only by the program's one thread; zero when the program starts.
#pragma once

#include <windows.h>

#include "exchange.h"
#include "file_watch.h"
#include "host_schedule.h"
#include "save_schedule.h"
#include "startup_names.h"
#include "trace.h"

struct ResidentState {
    HINSTANCE instance;
    HWND traceViewer;                       // the trace viewer found at start-up, or null
    unsigned char* exchangeView;            // the ExchangeBlock, mapped for the whole run
    char settingsName[NAME_BUFFER_SIZE];    // handed to InitZelvo, which resolves it in place
    UINT taskbarCreatedMsg;                 // 0 when "TaskbarCreated" could not be registered
    HWND mainWindow;                        // the CandidateWindow
    HWND listBox;                           // the CandidateList
    HANDLE hookThread;                      // the thread that installed the hook
    DWORD hookThreadId;
    HANDLE hostProcess;                     // the host program ZELVO32.EXE while it runs
    HostSchedule hostSchedule;              // when the host is started (again)
    char dictionaryPath[NAME_BUFFER_SIZE];  // empty when the path would not fit: no load, no save
    HWND aboutDialog;                       // the open About box, or null
    HWND targetWindow;                      // application window of the last show request
    DWORD targetThread;                     // its thread; 0 = none
    bool trayIconAdded;
    bool movedByUser;                       // moved or sized by the user since the last hide
    bool learningNotKept;                   // no usable dictionary path: the user is to be told
    bool firstStart;                        // no dictionary yet: the user is to be shown around
    SaveSchedule saveSchedule;              // what the dictionary file holds, and when to save
    // ---- what Zelvo learns, as the user decides ----
    bool learningPaused;                    // nothing is registered while set
    int excludedCount;                      // the programs Zelvo is kept out of, in the user's order
    WCHAR excludedPrograms[EXCLUSION_MAX_NAMES][EXCLUSION_NAME_CHARS];
    uint32_t exclusionGeneration;           // of the list published in the status record
    DWORD lastProgramProcess;               // the process of the last candidates shown, 0: none
    WCHAR lastProgram[EXCLUSION_NAME_CHARS];  // its program file name; empty when unknown
    char shownReading[EXCHANGE_FIELD_SIZE]; // the reading the CandidateList was filled for
    bool fullTold;                          // the user was told that the dictionary is full
    FileWatch fileWatch;                    // the dictionary file, changed by another program
};

extern ResidentState residentState;

// Sends one line to the trace viewer, if there is one.
#define TRACE(...) TraceTo(residentState.traceViewer, __VA_ARGS__)
