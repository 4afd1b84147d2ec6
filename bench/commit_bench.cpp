// The cost of giving the clipboard back: a commit with the earlier content kept and given
// back, against the same commit with the word left on the clipboard, in the same run. The
// clipboard holds text before each commit. Through the whole system under Wine: the test IME
// in a target of its own process (an EDIT, pasted into by WM_PASTE; a window of the tests'
// own, pasted into by Ctrl+V), a real ZELVO.EXE. Each commit is timed from Enter until the
// target has handled it and all it caused: a Shift pressed with Enter is released in the
// target only then. The two ways alternate from commit to commit. Prints medians and the
// difference.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "resource_ids.h"

namespace {

#ifndef ZELVO_BENCH_RUNS
#define ZELVO_BENCH_RUNS 20
#endif

const int RUNS = ZELVO_BENCH_RUNS;
const DWORD LIMIT_MS = 5000;
const char GIVE_BACK_SETTING[] = "GiveClipboardBack";
const char DICTIONARY[] = u8"愛情\tあいじょう\r\n";
const wchar_t USER_TEXT[] = L"the text the user copied before the commit";

bool PutText(HWND owner) {
    if (!WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, LIMIT_MS)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof USER_TEXT);
    void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
    if (bytes != nullptr) {
        memcpy(bytes, USER_TEXT, sizeof USER_TEXT);
        GlobalUnlock(block);
    }
    bool set = bytes != nullptr && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    return set;
}

// Types the reading, selects the word, then times Enter: -1 when it did not come through.
double TimeCommit(const Target& target, const Resident& resident) {
    if (!PutText(StartObserver())) {
        return -1;
    }
    TypeRomaji("ai");
    if (!WaitForTargetInput() || !WaitUntil([&] { return IsWindowVisible(resident.window) != FALSE; }, LIMIT_MS)) {
        return -1;
    }
    PressKey(VK_DOWN);
    if (!WaitForTargetInput()) {
        return -1;
    }
    double took = TimeUntilReport([] { TypeAtOnce("\n"); PressKey(VK_SHIFT); }, "up 10", LIMIT_MS);
    SendMessageW(target.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    return took;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? -1 : times[times.size() / 2];
}

void Measure(const ScratchFolder& scratch, const Resident& resident, const char* kind, const char* what) {
    Target target;
    if (!StartTarget(scratch, kind, &target)) {
        fprintf(stderr, "the %s target did not start\n", kind);
        return;
    }
    std::vector<double> givenBack;
    std::vector<double> kept;
    bool failed = false;
    for (int run = 0; run < 2 * RUNS; ++run) {
        // The setting's command turns the giving back over: on for even runs, off for odd ones.
        SendMessageA(resident.window, WM_COMMAND, IDM_GIVE_CLIPBOARD_BACK, 0);
        bool on = ReadSettingValue(GIVE_BACK_SETTING) == 1;
        double took = TimeCommit(target, resident);
        failed = failed || took < 0;
        (on ? givenBack : kept).push_back(took);
    }
    double with = Median(givenBack);
    double without = Median(kept);
    printf("%-32s given back: median %6.2f ms   word kept: median %6.2f ms   added %6.2f ms%s\n", what, with,
           without, with - without, failed ? "   (a commit did not come through)" : "");
    EndTarget(&target);
}

}  // namespace

int main() {
    if (!ReadyForTargets()) {
        return 1;
    }
    ScratchFolder scratch;
    Resident resident;
    int status = 1;
    // Off at the start: the first command turns it on.
    if (WriteSettingValue(GIVE_BACK_SETTING, 0) && MakeScratchFolder(&scratch) &&
        WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)) &&
        StartResident(scratch, "", &resident, true, false)) {
        Measure(scratch, resident, "edit", "EDIT (paste message)");
        Measure(scratch, resident, "paster", "own window (Ctrl+V)");
        status = 0;
    } else {
        fprintf(stderr, "setup failed\n");
    }
    EndOrKillResident(&resident);
    RemoveScratchFolder(scratch);
    RemoveImeForTargets();
    ForgetSettingValue(GIVE_BACK_SETTING);
    return status;
}
