// The hook library's process-wide state, all in one place: HookSharedState, one instance
// for every process that loads the library, and HookProcessState, private to each process.
#pragma once

#include <windows.h>

#include <cstddef>

#include "clipboard_formats.h"
#include "exchange.h"
#include "input_order.h"
#include "settings_path.h"

// Shared by all processes on the desktop (a data section marked read, write and shared).
// Handles are kept as 32-bit values, each written whole in one store: window and hook
// handles fit 32 bits in both widths, so 32- and 64-bit processes could read the same data.
struct HookSharedState {
    ULONG candidateWindow;                    // the CandidateWindow (written by InitZelvo)
    ULONG hookHandle;                         // the installed hook, 0 when none
    char settingsPath[SETTINGS_PATH_SIZE];    // the resolved settings file path
    ULONG traceViewer;                        // the TraceChannel viewer, 0 until found
    ULONG candidateList;                      // the CandidateList inside the CandidateWindow
    ULONG deferredTarget;                     // window waiting for "Zelvo_moveMSG", 0 if none
    // The stall mark: set when a call into the resident program was not answered in time,
    // cleared once it answers again (stall_mark.h). stalled is written last when a mark is
    // made, so a reader that sees it set finds the rest of the mark written.
    ULONG stalled;                            // 1 while the resident program counts as stalled
    ULONG stallHeartbeatKnown;                // 1 when stallHeartbeat was read at the mark
    ULONG stallHeartbeat;                     // the status record's heartbeat at the mark
    ULONG stallTick;                          // GetTickCount at the mark
};

static_assert(sizeof(ULONG) == 4, "shared handles are 32-bit values");
static_assert(offsetof(HookSharedState, hookHandle) == 4, "field order");
static_assert(offsetof(HookSharedState, settingsPath) == 8, "field order");
static_assert(offsetof(HookSharedState, traceViewer) == 8 + SETTINGS_PATH_SIZE, "field order");
static_assert(offsetof(HookSharedState, candidateList) == 12 + SETTINGS_PATH_SIZE, "field order");
static_assert(offsetof(HookSharedState, deferredTarget) == 16 + SETTINGS_PATH_SIZE, "field order");
static_assert(offsetof(HookSharedState, stalled) == 20 + SETTINGS_PATH_SIZE, "field order");
static_assert(offsetof(HookSharedState, stallTick) == 32 + SETTINGS_PATH_SIZE, "field order");

// GetGUIThreadInfo, looked up at run time.
typedef BOOL(WINAPI* GuiThreadInfoFunction)(DWORD thread, GUITHREADINFO* info);

// Private to each process that loads the library; fresh at every load. (The trace text
// buffer lives with the trace sender, one per module and process.)
struct HookProcessState {
    HINSTANCE module;                 // this library, for SetWindowsHookExA
    UINT dummyMessage;                // "zelvo-dummymsg", 0 if registration failed
    UINT commitMessage;               // "Zelvo_kakuteiMSG"
    UINT moveMessage;                 // "Zelvo_moveMSG"
    HANDLE exchangeMapping;           // INVALID_HANDLE_VALUE until the first open attempt
    char* exchangeView;               // this process's view of the ExchangeBlock
    HWND lastCompositionWindow;       // window of the latest composition in this process
    HMODULE systemLibrary;            // user32.dll, once looked up
    GuiThreadInfoFunction guiThreadInfo;
    DWORD recordSlot;                 // TLS index: the message record a thread's hook handles
    // The composition whose placement waits for "Zelvo_moveMSG" in this process.
    char deferredComposition[EXCHANGE_FIELD_SIZE];
    char deferredReading[EXCHANGE_FIELD_SIZE];
    // Whether the user keeps Zelvo out of this program, decided on the generation of the
    // resident program's list (0: not decided yet).
    ULONG exclusionGeneration;
    bool excluded;
    DWORD threadSlot;                 // TLS index: the HookThreadState of each thread, or null
};

// What the clipboard held before a commit, kept by the committing thread until the word has
// been pasted. The handles are the thread's own copies until they are given back.
constexpr int KEPT_FORMATS_MAX = 64;
struct KeptFormat {
    UINT format;
    FormatKeep keep;  // KEEP_MEMORY (also for KEEP_AS_DIB), KEEP_ENHANCED_METAFILE, KEEP_METAFILE_PICTURE
    HANDLE data;
};
struct KeptClipboard {
    bool held;        // something is to be given back
    HWND owner;       // the target window that opened the clipboard for the word
    DWORD sequence;   // GetClipboardSequenceNumber once the word was on it
    int count;
    KeptFormat formats[KEPT_FORMATS_MAX];
};

// Private to each thread of a process that commits a word: made at its first commit, freed
// when the thread ends.
struct HookThreadState {
    InputOrder order;   // the synthetic paste and the keys typed ahead of it
    KeptClipboard kept;
};

extern HookSharedState hookShared;
extern HookProcessState hookProcess;

// The shared handles as handles.
HWND SharedWindow(ULONG value);
HHOOK SharedHook();
ULONG ToSharedValue(HANDLE handle);
