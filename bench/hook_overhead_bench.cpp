// The hook's cost on the fast path: 100,000 posted messages pumped through a message loop
// under Wine with no hook, with an empty pass-through global hook of the benchmark's own,
// and with the hook library installed (InitZelvo). Prints the time of each and the ratio
// of the hook library to the empty hook; rounds alternate and the median counts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "zelvos.h"

namespace {

const int MESSAGES = 100000;
const int BATCH = 1000;  // below the limit of a thread's posted-message queue
const int ROUNDS = 9;
const UINT BENCH_MESSAGE = WM_APP + 7;

typedef int (*HookSwitch)();
HookSwitch installEmpty = nullptr;
HookSwitch removeEmpty = nullptr;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

int handled = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BENCH_MESSAGE) {
        ++handled;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePlainWindow(const char* className) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Posts and pumps all messages in batches; the time of the whole, or -1 if some were lost.
double Pump(HWND window) {
    handled = 0;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int posted = 0; posted < MESSAGES; posted += BATCH) {
        for (int i = 0; i < BATCH; ++i) {
            PostMessageA(window, BENCH_MESSAGE, static_cast<WPARAM>(i), 0);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    QueryPerformanceCounter(&end);
    return handled == MESSAGES ? Milliseconds(start, end) : -1;
}

enum Setup { NO_HOOK, EMPTY_HOOK, ZELVO_HOOK };

double Round(Setup setup, HWND window, HWND candidates, HWND list) {
    char settings[MAX_PATH] = "SAMPRELO.INI";
    if (setup == EMPTY_HOOK && !installEmpty()) {
        return -1;
    }
    if (setup == ZELVO_HOOK) {
        InitZelvo(settings, candidates, list);
    }
    double time = Pump(window);
    if (setup == EMPTY_HOOK) {
        removeEmpty();
    }
    if (setup == ZELVO_HOOK) {
        EndZelvo();
    }
    return time;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    HMODULE emptyHook = LoadLibraryA("bench_empty_hook.dll");
    if (emptyHook != nullptr) {
        installEmpty = reinterpret_cast<HookSwitch>(
            reinterpret_cast<void*>(GetProcAddress(emptyHook, "InstallEmptyHook")));
        removeEmpty = reinterpret_cast<HookSwitch>(
            reinterpret_cast<void*>(GetProcAddress(emptyHook, "RemoveEmptyHook")));
    }
    if (installEmpty == nullptr || removeEmpty == nullptr) {
        fprintf(stderr, "bench_empty_hook.dll not found\n");
        return 1;
    }
    HWND window = CreatePlainWindow("ZelvoBenchPump");
    // Hidden stand-ins for the CandidateWindow and its list: the hook's fast path never
    // sends to them.
    HWND candidates = CreatePlainWindow("ZelvoBenchCandidates");
    HWND list = CreatePlainWindow("ZelvoBenchList");
    std::vector<double> times[3];
    for (int round = 0; round < ROUNDS; ++round) {
        for (int setup = NO_HOOK; setup <= ZELVO_HOOK; ++setup) {
            times[setup].push_back(Round(static_cast<Setup>(setup), window, candidates, list));
        }
    }
    const char* names[3] = {"no hook", "empty pass-through hook (a)", "ZELVOS installed (b)"};
    for (int setup = NO_HOOK; setup <= ZELVO_HOOK; ++setup) {
        std::sort(times[setup].begin(), times[setup].end());
        printf("%-30s %d messages: median %8.2f ms  fastest %8.2f ms\n", names[setup], MESSAGES,
               Median(times[setup]), times[setup].front());
    }
    printf("ratio (b)/(a), medians: %.3f\n", Median(times[ZELVO_HOOK]) / Median(times[EMPTY_HOOK]));
    return 0;
}
