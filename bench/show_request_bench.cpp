// How long a show request takes, from the hook's send to the CandidateWindow being visible
// with its list filled: a real ZELVO.EXE under Wine, a dictionary of 10,000 entries, and
// queries that match 10,000 and 500 of them. Prints the median and the slowest run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "exchange.h"
#include "zelvo_driver.h"

namespace {

const int ENTRIES = 10000;
const int NARROW_ENTRIES = 500;  // readings that begin with the narrow query
const int RUNS = 30;

// Every reading begins with "か"; the first 500 continue with "き", the others with "く".
std::string DictionaryFile() {
    std::string text;
    for (int i = 0; i < ENTRIES; ++i) {
        std::string number = std::to_string(i);
        text += Sjis(u8"語") + number + "\t" + Sjis(i < NARROW_ENTRIES ? u8"かき" : u8"かく") + number + "\r\n";
    }
    return text;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One show request, timed until the window is visible with all expected lines.
double TimeShow(const Resident& resident, const std::string& reading, LRESULT expected, HWND target) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    SendShowRequest(resident.window, reading, reading, 100, 100, target);
    bool ready = IsWindowVisible(resident.window) && SendMessageA(resident.list, LB_GETCOUNT, 0, 0) == expected;
    QueryPerformanceCounter(&end);
    return ready ? Milliseconds(start, end) : -1.0;
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    bool failed = times.front() < 0;
    printf("%-44s median %7.2f ms   slowest %7.2f ms%s\n", what, times[times.size() / 2], times.back(),
           failed ? "   (a run did not show the expected list)" : "");
}

void Measure(const Resident& resident, const char* what, const char* reading, LRESULT expected, bool fromHidden,
             HWND target) {
    std::string bytes = Sjis(reading);
    std::vector<double> times;
    for (int run = 0; run < RUNS; ++run) {
        if (fromHidden) {
            SendHideRequest(resident.window);
        }
        PumpMessages();
        times.push_back(TimeShow(resident, bytes, expected, target));
    }
    Report(what, times);
}

}  // namespace

int main() {
    ScratchFolder scratch;
    Resident resident;
    if (!MakeScratchFolder(&scratch) || !WriteFileBytes(scratch.dir + "ZELVO.TXT", DictionaryFile()) ||
        !StartResident(scratch, "", &resident, true, false) || OpenExchangeBlock() == nullptr) {
        fprintf(stderr, "cannot start ZELVO.EXE\n");
        KillResident(&resident);
        return 1;
    }
    HWND target = CreateTargetWindow(300, 300);
    SetForegroundWindow(target);
    Measure(resident, "10,000 matches, window hidden before", u8"か", ENTRIES, true, target);
    Measure(resident, "10,000 matches, window already visible", u8"か", ENTRIES, false, target);
    Measure(resident, "500 matches, window hidden before", u8"かき", NARROW_ENTRIES, true, target);
    Measure(resident, "500 matches, window already visible", u8"かき", NARROW_ENTRIES, false, target);
    DWORD exitCode = 0;
    if (!EndResident(&resident, &exitCode)) {
        KillResident(&resident);
    }
    CloseExchangeBlock();
    RemoveScratchFolder(scratch);
    return 0;
}
