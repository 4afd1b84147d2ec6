// A stopped resident program against the keys of the user: how long each input (reading
// keys, Down, a left click) takes until the target application has handled it, with the test
// IME in a target EDIT of its own process. Three runs of the same inputs: without Zelvo (the
// baseline), with ZELVO.EXE running, and with its Linux process stopped before each round
// (one freeze per round, resumed after it). Prints median and slowest per run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "linux_host.h"

namespace {

#ifndef ZELVO_BENCH_ROUNDS
#define ZELVO_BENCH_ROUNDS 10
#endif

const int ROUNDS = ZELVO_BENCH_ROUNDS;
const DWORD LIMIT_MS = 5000;
const double WAITED_MS = 100;  // an input slower than this waited for something

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";

struct Input {
    WORD key;  // 0: a left click
};

// After "ai" has shown the candidates: more reading, Down, a click, more reading.
const Input ROUND[] = {{'U'}, {'E'}, {VK_DOWN}, {0}, {'O'}};

// One input until the target has handled it and everything it caused: the Shift pressed
// right after it is released in the target only then.
double TimeInput(const Target& target, const Input& input) {
    return TimeUntilReport([&] {
        if (input.key == 0) {
            ClickInWindow(target.window);
        } else {
            PressKey(input.key);
        }
        PressKey(VK_SHIFT);
    }, "up 10", LIMIT_MS);
}

struct Run {
    const char* what;
    std::vector<double> times;
};

// Rounds of the inputs; before each round "ai" is typed, and freeze/thaw (when given) run
// around the measured inputs. The composition is cancelled after each round.
template <typename Freeze, typename Thaw>
void Measure(const Target& target, Run* run, Freeze freeze, Thaw thaw) {
    for (int round = 0; round < ROUNDS; ++round) {
        TypeRomaji("ai");
        WaitForTargetInput();
        freeze();
        for (const Input& input : ROUND) {
            run->times.push_back(TimeInput(target, input));
        }
        thaw();
        TypeRomaji("\x1b");
        WaitForTargetInput();
    }
}

struct Figures {
    double median;
    double slowest;
    long waited;  // inputs over WAITED_MS
    size_t count;
};

Figures FiguresOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        return {0, 0, 0, 0};
    }
    long waited = std::count_if(times.begin(), times.end(), [](double t) { return t > WAITED_MS; });
    return {times[times.size() / 2], times.back(), waited, times.size()};
}

void Print(const char* what, const std::vector<double>& times, double baselineMedian) {
    Figures f = FiguresOf(times);
    bool lost = std::any_of(times.begin(), times.end(), [](double t) { return t < 0; });
    printf("%-34s median %7.2f ms   slowest %7.2f ms   over %3.0f ms: %2ld of %2zu   median / baseline %5.2f%s\n", what,
           f.median, f.slowest, WAITED_MS, f.waited, f.count, baselineMedian > 0 ? f.median / baselineMedian : 0.0,
           lost ? "   (an input was lost)" : "");
}

// The slowest input of each round, and all the others.
void SplitRounds(const std::vector<double>& times, std::vector<double>* slowest, std::vector<double>* others) {
    const size_t perRound = sizeof ROUND / sizeof ROUND[0];
    for (size_t start = 0; start + perRound <= times.size(); start += perRound) {
        std::vector<double> round(times.begin() + static_cast<std::ptrdiff_t>(start),
                                  times.begin() + static_cast<std::ptrdiff_t>(start + perRound));
        std::sort(round.begin(), round.end());
        slowest->push_back(round.back());
        others->insert(others->end(), round.begin(), round.end() - 1);
    }
}

}  // namespace

int main() {
    if (!ReadyForTargets()) {
        return 1;
    }
    auto nothing = [] {};
    ScratchFolder scratch;
    Resident resident;
    Target target;
    Run without = {"without Zelvo", {}};
    Run running = {"Zelvo running", {}};
    Run stopped = {"Zelvo stopped", {}};
    int status = 1;
    if (MakeScratchFolder(&scratch) && WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)) &&
        StartTarget(scratch, "edit", &target, false)) {
        Measure(target, &without, nothing, nothing);
        EndTarget(&target);
        unsigned long pid = 0;
        if (StartResident(scratch, "", &resident, true, false) && StartTarget(scratch, "edit", &target) &&
            (pid = FindLinuxProcess(scratch.programPath)) != 0) {
            Measure(target, &running, nothing, nothing);
            Measure(target, &stopped, [&] { SignalLinuxProcess(pid, LINUX_STOP); }, [&] {
                ExchangeStatus frozen = {};
                ReadExchangeStatus(&frozen);
                SignalLinuxProcess(pid, LINUX_CONTINUE);
                // Resumed: it counts its heartbeat again, and the hook takes it up from there.
                WaitUntil([&] {
                    ExchangeStatus now = {};
                    return ReadExchangeStatus(&now) && now.heartbeat != frozen.heartbeat;
                }, LIMIT_MS);
            });
            printf("input to handled by the target (reading keys, Down, a click), %d rounds, one freeze per round:\n",
                   ROUNDS);
            double baseline = FiguresOf(without.times).median;
            Print(without.what, without.times, baseline);
            Print(running.what, running.times, baseline);
            Print(stopped.what, stopped.times, baseline);
            std::vector<double> slowest;
            std::vector<double> others;
            SplitRounds(stopped.times, &slowest, &others);
            Print("  the slowest input of each freeze", slowest, baseline);
            Print("  all the other inputs", others, baseline);
            status = 0;
        } else {
            fprintf(stderr, "setup with the resident program failed\n");
        }
    } else {
        fprintf(stderr, "setup failed\n");
    }
    EndTarget(&target);
    EndOrKillResident(&resident);
    RemoveScratchFolder(scratch);
    RemoveImeForTargets();
    return status;
}
