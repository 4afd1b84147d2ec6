#include "learning_choices.h"

#include <string>
#include <vector>

#include "candidate_window.h"
#include "conv_function.h"
#include "exclusion_list.h"
#include "resident_state.h"
#include "settings.h"
#include "tray.h"

static const char PAUSED_SETTING[] = "LearningPaused";
static const char EXCLUDED_SETTING[] = "ExcludedPrograms";

// Program file names compare as the system compares file names: without regard to case.
static void UpperCopy(const WCHAR* name, WCHAR* out) {
    lstrcpynW(out, name, EXCLUSION_NAME_CHARS);
    CharUpperBuffW(out, lstrlenW(out));
}

static int FindExcluded(const WCHAR* name) {
    WCHAR wanted[EXCLUSION_NAME_CHARS];
    UpperCopy(name, wanted);
    for (int i = 0; i < residentState.excludedCount; ++i) {
        WCHAR listed[EXCLUSION_NAME_CHARS];
        UpperCopy(residentState.excludedPrograms[i], listed);
        if (lstrcmpW(listed, wanted) == 0) {
            return i;
        }
    }
    return -1;
}

// A name that is empty, too long, listed already, or beyond the list's room is not added.
static bool AddExcluded(const WCHAR* name) {
    int length = lstrlenW(name);
    if (length == 0 || length >= EXCLUSION_NAME_CHARS || residentState.excludedCount >= EXCLUSION_MAX_NAMES ||
        FindExcluded(name) >= 0) {
        return false;
    }
    lstrcpynW(residentState.excludedPrograms[residentState.excludedCount++], name, EXCLUSION_NAME_CHARS);
    return true;
}

// Remembered for the next start (a choice that cannot be written lasts for this run), then
// published for the hook: whoever sees the new list in the block finds it remembered too.
static void ExclusionsChanged() {
    std::vector<std::wstring> items;
    for (int i = 0; i < residentState.excludedCount; ++i) {
        items.emplace_back(residentState.excludedPrograms[i]);
    }
    if (!WriteSettingList(EXCLUDED_SETTING, items)) {
        TRACE("excluded programs not remembered ");
    }
    PublishExclusions(residentState.excludedPrograms, residentState.excludedCount);
    TRACE("programs left alone: %d ", residentState.excludedCount);
}

void LoadLearningChoices() {
    // A generation of its own for each run: a process that decided on a list of an earlier
    // run and has seen no message since must not take this run's first list for that one.
    residentState.exclusionGeneration = (GetTickCount() << 1) | 2;
    residentState.learningPaused = ReadSettingFlag(PAUSED_SETTING, false);
    residentState.excludedCount = 0;
    for (const std::wstring& item : ReadSettingList(EXCLUDED_SETTING)) {
        AddExcluded(item.c_str());
    }
    PublishExclusions(residentState.excludedPrograms, residentState.excludedCount);
    if (residentState.learningPaused) {
        UpdateTrayIcon();
    }
    TRACE("learning %s, programs left alone: %d ", residentState.learningPaused ? "paused" : "on",
          residentState.excludedCount);
}

void ToggleLearningPause() {
    residentState.learningPaused = !residentState.learningPaused;
    if (!WriteSettingFlag(PAUSED_SETTING, residentState.learningPaused)) {
        TRACE("pause not remembered ");
    }
    UpdateTrayIcon();
    TRACE("learning %s ", residentState.learningPaused ? "paused" : "on");
}

// The candidates shown last were for that program: they go with it.
void ExcludeLastProgram() {
    if (residentState.lastProgram[0] == L'\0' || !AddExcluded(residentState.lastProgram)) {
        return;
    }
    HideCandidateWindow();
    ExclusionsChanged();
}

void IncludeProgram(int index) {
    if (index < 0 || index >= residentState.excludedCount) {
        return;
    }
    for (int i = index; i + 1 < residentState.excludedCount; ++i) {
        lstrcpyW(residentState.excludedPrograms[i], residentState.excludedPrograms[i + 1]);
    }
    --residentState.excludedCount;
    ExclusionsChanged();
}

// Asked only when the candidates come from another process than the last time.
void NoteCandidatesProgram(HWND target) {
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    if (process == 0 || process == residentState.lastProgramProcess) {
        return;
    }
    residentState.lastProgramProcess = process;
    residentState.lastProgram[0] = L'\0';
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr) {
        return;
    }
    WCHAR path[2 * MAX_PATH];
    DWORD size = 2 * MAX_PATH;
    if (QueryFullProcessImageNameW(handle, 0, path, &size)) {
        const WCHAR* name = reinterpret_cast<const WCHAR*>(ProgramFileName(reinterpret_cast<const char16_t*>(path)));
        if (lstrlenW(name) < EXCLUSION_NAME_CHARS) {
            lstrcpyW(residentState.lastProgram, name);
        }
    }
    CloseHandle(handle);
}

TrayLearningState CurrentLearningState() {
    static const char16_t* excluded[EXCLUSION_MAX_NAMES];
    for (int i = 0; i < residentState.excludedCount; ++i) {
        excluded[i] = reinterpret_cast<const char16_t*>(residentState.excludedPrograms[i]);
    }
    TrayLearningState state = {};
    state.paused = residentState.learningPaused;
    const WCHAR* last = residentState.lastProgram;
    state.lastProgram = last[0] != L'\0' ? reinterpret_cast<const char16_t*>(last) : nullptr;
    state.lastProgramExcluded = last[0] != L'\0' && FindExcluded(last) >= 0;
    state.excluded = excluded;
    state.excludedCount = residentState.excludedCount;
    state.dictionaryFile = residentState.dictionaryPath[0] != '\0';
    state.words = ConvFunction(CONV_COUNT, -1, -1, -1, -1);
    return state;
}
