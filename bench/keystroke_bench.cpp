// Keystroke to candidates: from the key event of the last kana of a reading to the
// CandidateWindow visible with its list filled, through the whole system under Wine: the
// test IME in a target EDIT of its own process, the hook library there, a real ZELVO.EXE
// with 10,000 entries. Readings matching 10,000 and 500 entries. Prints median and slowest.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_harness.h"

namespace {

#ifndef ZELVO_BENCH_RUNS
#define ZELVO_BENCH_RUNS 20
#endif

const int ENTRIES = 10000;
const int NARROW_ENTRIES = 500;  // readings that begin with かき
const int RUNS = ZELVO_BENCH_RUNS;
const DWORD LIMIT_MS = 5000;

// Every reading begins with か; the first 500 continue with き, the others with く.
std::string DictionaryFile() {
    std::string text;
    for (int i = 0; i < ENTRIES; ++i) {
        std::string number = std::to_string(i);
        text += Sjis(u8"語") + number + "\t" +
                Sjis(i < NARROW_ENTRIES ? u8"かき" : u8"かく") + number + "\r\n";
    }
    return text;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

bool Shows(const Resident& resident, LRESULT lines) {
    return IsWindowVisible(resident.window) &&
           SendMessageW(resident.list, LB_GETCOUNT, 0, 0) == lines;
}

// Types prefix (which shows nothing), then times the last key until the list shows lines.
// keyArrival: when the target reported the key-down (the input path alone).
double TimeLastKey(HWND target, const Resident& resident, const char* prefix, WORD lastKey,
                   LRESULT lines, double* keyArrival) {
    *keyArrival = -1;
    TypeRomaji(prefix);
    if (!WaitForTargetInput() ||
        !WaitUntil([&] { return !IsWindowVisible(resident.window); }, LIMIT_MS)) {
        return -1;
    }
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&start);
    PressKey(lastKey);
    bool shown = false;
    size_t reported = Reports().size();
    do {
        PumpMessages();  // the target reports each key to this process and waits for it
        // The program fills the list before it shows the window: the cheap visibility test
        // comes first, and the poll yields the processor to the processes it measures.
        shown = IsWindowVisible(resident.window) && Shows(resident, lines);
        QueryPerformanceCounter(&now);
        if (!shown) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        if (*keyArrival < 0 && Reports().size() > reported) {
            *keyArrival = Milliseconds(start, now);  // the target has taken the key-down
        }
    } while (!shown && Milliseconds(start, now) < LIMIT_MS);
    if (!shown) {
        fprintf(stderr, "not shown: visible %d, %ld lines, target text %s\n",
                IsWindowVisible(resident.window),
                static_cast<long>(SendMessageW(resident.list, LB_GETCOUNT, 0, 0)),
                WindowText(target).c_str());
    }
    TypeRomaji("\x1b");  // cancel the composition for the next run
    WaitForTargetInput();
    return shown ? Milliseconds(start, now) : -1;
}

void Measure(HWND target, const Resident& resident, const char* what, const char* prefix, WORD lastKey,
             LRESULT lines) {
    std::vector<double> times;
    std::vector<double> arrivals;
    for (int run = 0; run < RUNS; ++run) {
        double arrival = -1;
        times.push_back(TimeLastKey(target, resident, prefix, lastKey, lines, &arrival));
        arrivals.push_back(arrival);
    }
    std::sort(times.begin(), times.end());
    std::sort(arrivals.begin(), arrivals.end());
    printf("%-40s median %7.2f ms   slowest %7.2f ms%s\n", what, times[times.size() / 2],
           times.back(), times.front() < 0 ? "   (a run did not show the list)" : "");
    printf("%-40s median %7.2f ms   (key event to the target's key-down)\n", "",
           arrivals[arrivals.size() / 2]);
}

}  // namespace

int main() {
    if (!ReadyForTargets()) {
        return 1;
    }
    ScratchFolder scratch;
    Resident resident;
    Target target;
    int status = 1;
    if (MakeScratchFolder(&scratch) &&
        WriteFileBytes(scratch.dir + "ZELVO.TXT", DictionaryFile()) &&
        StartResident(scratch, "", &resident, true, false) && StartTarget(scratch, "edit", &target)) {
        // か completes on 'a' after 'k' (ｋ alone matches nothing); かき on 'i' after "kak".
        Measure(target.window, resident, "last kana, 10,000 matching entries", "k", 'A', ENTRIES);
        Measure(target.window, resident, "last kana, 500 matching entries", "kak", 'I', NARROW_ENTRIES);
        status = 0;
    } else {
        fprintf(stderr, "setup failed\n");
    }
    EndTarget(&target);
    EndOrKillResident(&resident);
    RemoveScratchFolder(scratch);
    RemoveImeForTargets();
    return status;
}
