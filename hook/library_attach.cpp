// The library entry point: each process that loads the library (the resident program, and
// every GUI process while the hook is installed) sets up its own state here.
#include <windows.h>

#include "exchange.h"
#include "hook_operations.h"
#include "hook_state.h"
#include "trace.h"

static void AttachProcess(HINSTANCE module) {
    hookProcess.module = module;
    hookProcess.dummyMessage = RegisterWindowMessageA(DUMMY_MESSAGE_NAME);
    hookProcess.commitMessage = RegisterWindowMessageA(COMMIT_MESSAGE_NAME);
    hookProcess.moveMessage = RegisterWindowMessageA(MOVE_MESSAGE_NAME);
    hookProcess.recordSlot = TlsAlloc();  // TLS_OUT_OF_INDEXES: no guard against chained copies
    hookProcess.threadSlot = TlsAlloc();  // TLS_OUT_OF_INDEXES: no clipboard given back, no order kept
    // One successful lookup serves every process: the viewer is never looked up again.
    if (hookShared.traceViewer == 0) {
        hookShared.traceViewer = ToSharedValue(FindTraceViewer());
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        AttachProcess(module);
    } else if (reason == DLL_THREAD_DETACH) {
        ReleaseThreadState();
    } else if (reason == DLL_PROCESS_DETACH) {
        ReleaseThreadState();  // the other threads' states go with the process
        if (hookProcess.recordSlot != TLS_OUT_OF_INDEXES) {
            TlsFree(hookProcess.recordSlot);
        }
        if (hookProcess.threadSlot != TLS_OUT_OF_INDEXES) {
            TlsFree(hookProcess.threadSlot);
        }
    }
    return TRUE;
}
