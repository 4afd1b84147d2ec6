// ZELVO.EXE: the resident program. WinMain lists its life from start-up to exit code.
#include <windows.h>

#include "ansi_text.h"
#include "candidate_window.h"
#include "clipboard_choice.h"
#include "conv_function.h"
#include "dictionary.h"
#include "learning_choices.h"
#include "resident_state.h"
#include "startup.h"
#include "tray.h"

static const char TASKBAR_CREATED_MESSAGE[] = "TaskbarCreated";
static const UINT SIMPLE_BEEP = 0xFFFFFFFF;

void RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {  // -1 goes on like any message
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// In this order: no hook before the block is gone, the dictionary saved last. The host
// program ends by itself once this process has ended.
static void ShutDown(HANDLE mapping) {
    StopHookThread();  // EndZelvo, in the thread that installed the hook
    ReleaseExchangeBlock(mapping);
    SaveDictionaryAtExit();
}

// An early exit undoes nothing: the system reclaims what start-up made.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    residentState.traceViewer = FindTraceViewer();
    if (IsAlreadyRunning()) {
        MessageBeep(SIMPLE_BEEP);
        return EXIT_START_FAILED;
    }
    residentState.instance = instance;
    HANDLE mapping = CreateExchangeMapping();
    if (mapping == nullptr || !MapExchangeBlock(mapping)) {
        return EXIT_START_FAILED;
    }
    residentState.taskbarCreatedMsg = RegisterWindowMessageA(TASKBAR_CREATED_MESSAGE);
    if (!RegisterCandidateClass() || !CreateCandidateWindow()) {
        return EXIT_NORMAL;
    }
    if (ConvFunction(CONV_INIT, -1, -1, -1, -1) == 0) {
        return EXIT_NORMAL;
    }
    AddTrayIcon(residentState.mainWindow);
    LoadDictionary();
    LoadLearningChoices();
    LoadClipboardChoice();
    TrimSettingsName(commandLine, residentState.settingsName, IsAnsiLeadByte);
    if (!StartHookThread()) {  // InitZelvo, in a thread of its own
        return EXIT_START_FAILED;
    }
    StartHostProgram();
    RemoveSetAsideCopies();
    ShowStartNotices();
    TRACE("resident ");
    RunMessageLoop();
    ShutDown(mapping);
    return EXIT_NORMAL;
}
