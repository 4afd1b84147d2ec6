// ConvFunction under Wine: what the resident program pays for each operation with a full
// dictionary and a real list box. Prints one line per measurement.
#include <windows.h>

#include <cstdio>
#include <string>

#include "conv_function.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double best;
    double mean;
};

// Runs prepare (not timed) and op repeat times; reports the best and the mean time of op.
template <typename Prepare, typename Op>
Timing Measure(const char* name, int repeat, Prepare prepare, Op op) {
    double best = 1e9;
    double total = 0;
    for (int i = 0; i < repeat; ++i) {
        prepare();
        double start = Now();
        op();
        double spent = Now() - start;
        best = spent < best ? spent : best;
        total += spent;
    }
    printf("%-52s best %9.3f ms   mean %9.3f ms   (%d runs)\n", name, best, total / repeat, repeat);
    return Timing{best, total / repeat};
}

const UINT SAVE_ENDED = WM_APP + 1;

// Waits for the end of a background save and takes its result.
void WaitForSaveEnd(HWND window) {
    MSG message;
    while (GetMessageA(&message, window, SAVE_ENDED, SAVE_ENDED) > 0 && message.message != SAVE_ENDED) {
    }
    ConvSaveOutcome outcome = {};
    ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&outcome), 1, -1, -1);
}

}  // namespace

int main() {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "zelvo-bench-" + std::to_string(GetCurrentProcessId()) + ".TXT";

    // 10,000 lines whose words and readings share their first bytes.
    std::string bytes;
    char line[64];
    for (int i = 0; i < 10000; ++i) {
        snprintf(line, sizeof line, "漢%05d\tか%05d\r\n", i, i);
        bytes += line;
    }
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);

    HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 240,
                                 160, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_USETABSTOPS,
                                0, 0, 240, 160, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    auto lookup = [&](const char* query) {
        return ConvFunction(CONV_LOOKUP, reinterpret_cast<INT_PTR>(list), reinterpret_cast<INT_PTR>(query), -1, -1);
    };

    ConvFunction(CONV_INIT, -1, -1, -1, -1);
    auto nothing = [] {};
    Measure("load 10,000 lines sharing their first byte", 1, nothing, [&] {
        ConvFunction(CONV_LOAD, reinterpret_cast<INT_PTR>(path.c_str()), -1, -1, -1);
    });
    Measure("lookup, 10,000 lines into an empty list box", 10, [&] { lookup("x"); },
            [&] { lookup("か"); });
    Measure("lookup, 10,000 lines replacing 10,000", 10, [&] { lookup("か"); }, [&] { lookup("か"); });
    Measure("lookup, 1,000 lines into an empty list box", 10, [&] { lookup("x"); },
            [&] { lookup("か00"); });
    Measure("1,000 lookups that miss over a full table", 5, [&] { lookup("x"); }, [&] {
        for (int i = 0; i < 1000; ++i) {
            lookup("かx");
        }
    });
    const int SAVES = 20;
    Timing whole = Measure("save 10,000 entries, all of it on this thread", SAVES, nothing, [&] {
        ConvFunction(CONV_SAVE, reinterpret_cast<INT_PTR>(path.c_str()), -1, -1, -1);
    });
    // The resident program's thread pays only for the content built in memory and the
    // worker started; the writing, flushing and renaming happen on the worker.
    HWND receiver = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    bool started = false;
    Timing background = Measure("save 10,000 entries in the background: this thread", SAVES,
                                [&] {
                                    if (started) {
                                        WaitForSaveEnd(receiver);
                                    }
                                },
                                [&] {
                                    started = ConvFunction(CONV_SAVE_START, reinterpret_cast<INT_PTR>(path.c_str()),
                                                           reinterpret_cast<INT_PTR>(receiver), SAVE_ENDED, -1) == 1;
                                });
    WaitForSaveEnd(receiver);
    printf("%-52s %9.1f x less on this thread (mean), %.1f x (best)\n", "background save against the whole save",
           whole.mean / background.mean, whole.best / background.best);
    DestroyWindow(receiver);

    DeleteFileA(path.c_str());
    DeleteFileA((path.substr(0, path.size() - 4) + ".bak").c_str());
    DestroyWindow(owner);
    return 0;
}
