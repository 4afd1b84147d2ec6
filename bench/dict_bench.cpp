// Native benchmarks of the dictionary core: loading, registering, looking up, saving, and
// what the user changes: removing a word, clearing out old words, loading the file again.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "dict_file.h"
#include "dict_reload.h"
#include "dict_save.h"
#include "dict_table.h"

namespace {

// 10,000 lines whose readings (and words) all share their first bytes: the worst case for
// a scan with a first-byte test.
std::string SharedPrefixFile() {
    std::string bytes;
    char line[64];
    for (int i = 0; i < DICT_CAPACITY; ++i) {
        snprintf(line, sizeof line, "\x8a\xbf%05d\t\x82\xa9%05d\r\n", i, i);
        bytes += line;
    }
    return bytes;
}

void LoadSharedPrefix() {
    static const std::string bytes = SharedPrefixFile();
    DictClearForTesting();
    FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    DictLoadStream(file);
    fclose(file);
}

void BM_Load10000SharedFirstByte(benchmark::State& state) {
    for (auto _ : state) {
        LoadSharedPrefix();
    }
}
BENCHMARK(BM_Load10000SharedFirstByte)->Unit(benchmark::kMillisecond);

void BM_LookupAll10000(benchmark::State& state) {
    LoadSharedPrefix();
    static int indices[DICT_CAPACITY];
    char line[CANDIDATE_LINE_SIZE];
    for (auto _ : state) {
        int found = DictFindCandidates("\x82\xa9", indices);
        for (int i = 0; i < found; ++i) {
            FormatCandidateLine(indices[i], line);
        }
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_LookupAll10000)->Unit(benchmark::kMicrosecond);

void BM_LookupMissFullTable(benchmark::State& state) {
    LoadSharedPrefix();
    static int indices[DICT_CAPACITY];
    for (auto _ : state) {
        benchmark::DoNotOptimize(DictFindCandidates("\x82\xa9x", indices));
    }
}
BENCHMARK(BM_LookupMissFullTable)->Unit(benchmark::kMicrosecond);

void BM_RefreshKnownWord(benchmark::State& state) {
    LoadSharedPrefix();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DictRegister("\x8a\xbf" "09999", "x"));
    }
}
BENCHMARK(BM_RefreshKnownWord);

void BM_Save10000(benchmark::State& state) {
    LoadSharedPrefix();
    char folder[] = "/tmp/zelvo-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    std::string path = std::string(folder) + "/ZELVO.TXT";
    for (auto _ : state) {
        DictSave(path.c_str());
    }
    for (const char* name : {"/ZELVO.TXT", "/ZELVO.bak", "/ZELVO.tmp"}) {
        remove((std::string(folder) + name).c_str());
    }
    rmdir(folder);
}
BENCHMARK(BM_Save10000)->Unit(benchmark::kMillisecond);

// The part of a save that stays on the table's thread: names and the content in memory.
void BM_BuildSaveContent10000(benchmark::State& state) {
    LoadSharedPrefix();
    DictSaveJob job;
    for (auto _ : state) {
        DictPrepareSave("/tmp/zelvo-bench/ZELVO.TXT", &job);
        benchmark::DoNotOptimize(job.image.bytes);
        DictFinishSave(&job);
    }
}
BENCHMARK(BM_BuildSaveContent10000)->Unit(benchmark::kMicrosecond);

// Shift+Delete on a full table: the removal itself (the word is put back untimed).
void BM_RemoveWordFromFull10000(benchmark::State& state) {
    LoadSharedPrefix();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DictRemoveWord("\x8a\xbf" "05000", "\x82\xa9" "05000"));
        state.PauseTiming();
        DictRegister("\x8a\xbf" "05000", "\x82\xa9" "05000");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveWordFromFull10000)->Unit(benchmark::kMicrosecond);

// The tray's clean-up of a full table (the table is loaded again untimed).
void BM_RemoveLeastRecent1000Of10000(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        LoadSharedPrefix();
        state.ResumeTiming();
        benchmark::DoNotOptimize(DictRemoveLeastRecent(1000));
    }
}
BENCHMARK(BM_RemoveLeastRecent1000Of10000)->Unit(benchmark::kMicrosecond);

// The file of 10,000 words changed outside, loaded again with 20 words learned meanwhile.
void BM_Reload10000With20Learned(benchmark::State& state) {
    char folder[] = "/tmp/zelvo-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no scratch folder");
        return;
    }
    std::string path = std::string(folder) + "/ZELVO.TXT";
    static const std::string bytes = SharedPrefixFile();
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    char word[32];
    for (auto _ : state) {
        state.PauseTiming();
        DictClearForTesting();
        dictDisk = DictDiskState{};
        DictLoad(path.c_str());
        for (int i = 0; i < 20; ++i) {
            snprintf(word, sizeof word, "learned%02d", i);
            DictRegister(word, "\x82\xa9");
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(DictReload(path.c_str()));
    }
    remove(path.c_str());
    rmdir(folder);
}
BENCHMARK(BM_Reload10000With20Learned)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
