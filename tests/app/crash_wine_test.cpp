// Learning that survives a crash: ZELVO.EXE learns words through the exchange (the test
// plays the hook), its Linux process is killed with SIGKILL at chosen moments, it is started
// again, and the words it finds are counted. Words learned more than 30 s before the kill
// must all be there, and a kill in the middle of a save must leave a dictionary that loads.
// Prints the figures (FIGURE lines).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "linux_host.h"
#include "zelvo_driver.h"

namespace {

const DWORD SAVE_BOUND_MS = 30000;  // learning may stay unsaved this long at most
const int FULL_DICTIONARY = 10000;

std::string Word(const char* stem, int i) {
    char number[16];
    snprintf(number, sizeof number, "%03d", i);
    return Sjis(stem) + number;
}

std::string TraceText() {
    std::string text;
    for (const std::string& line : TraceLines()) {
        text += line + "\n";
    }
    return text;
}

class CrashTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        target = CreateTargetWindow(300, 300);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
    }

    void TearDown() override {
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
        DestroyWindow(target);
    }

    // A start after the first finds the hook library loaded here already: it waits for the
    // program's message loop instead, so that the dictionary is loaded.
    bool Start() {
        ClearTrace();
        CloseExchangeBlock();
        bool first = !started;
        started = true;
        return StartResident(scratch, "", &resident, first) && OpenExchangeBlock() != nullptr;
    }

    void Learn(const std::string& word, const std::string& reading) {
        SendRegisterRequest(resident.window, word, reading);
    }

    // SIGKILL to the Linux process that runs the program: a crash, with nothing cleaned up.
    bool Kill(unsigned long pid = 0) {
        if (pid == 0) {
            pid = FindLinuxProcess(scratch.programPath);
        }
        if (pid == 0 || !RunLinuxCommand("kill", "-KILL " + std::to_string(pid))) {
            return false;
        }
        bool ended = WaitForSingleObject(resident.process.hProcess, EXIT_TIMEOUT_MS) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        GetExitCodeProcess(resident.process.hProcess, &exitCode);
        CloseHandle(resident.process.hThread);
        CloseHandle(resident.process.hProcess);
        resident.process = {};
        return ended;
    }

    // The words of the running program whose reading begins with reading.
    std::vector<std::string> Found(const std::string& reading) {
        SendShowRequest(resident.window, reading, reading, 100, 100, target);
        std::vector<std::string> words;
        for (const std::string& line : ListLines(resident.list)) {
            words.push_back(line.substr(0, line.find('\t')));
        }
        SendHideRequest(resident.window);
        return words;
    }

    std::string File(const char* name) const {
        std::string bytes;
        return ReadFileBytes(scratch.dir + name, &bytes) ? bytes : "";
    }

    ScratchFolder scratch;
    Resident resident;
    HWND target = nullptr;
    bool started = false;
};

TEST_F(CrashTest, WordsLearnedBeforeAPauseSurviveAKill) {
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", NumberedDictionary(FULL_DICTIONARY - 10)));
    ASSERT_TRUE(Start());
    const std::string reading = Sjis(u8"がくしゅう");
    for (int i = 0; i < 5; ++i) {
        Learn(Word(u8"学習", i), reading);
    }
    DWORD learnedAt = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return File("ZELVO.TXT").find(Word(u8"学習", 4)) != std::string::npos; },
                          SAVE_BOUND_MS))
        << "the program's trace:\n" << TraceText();
    DWORD onDisk = GetTickCount() - learnedAt;
    ASSERT_TRUE(Kill());
    ASSERT_TRUE(Start());
    std::vector<std::string> found = Found(reading);
    EXPECT_EQ(5u, found.size());
    printf("FIGURE kill after a pause in typing: %zu of 5 words kept; on disk %lu ms after the last one\n",
           found.size(), static_cast<unsigned long>(onDisk));
}

TEST_F(CrashTest, SteadyTypingLosesAtMostTheLastHalfMinute) {
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", NumberedDictionary(FULL_DICTIONARY - 200)));
    ASSERT_TRUE(Start());
    // A word every quarter of a second for 36 s: never the pause that saves at once.
    const std::string reading = Sjis(u8"れんぞく");
    const int WORDS = 144;
    const DWORD INTERVAL_MS = 250;
    std::vector<DWORD> learnedAt;
    DWORD start = GetTickCount();
    for (int i = 0; i < WORDS; ++i) {
        while (GetTickCount() - start < static_cast<DWORD>(i) * INTERVAL_MS) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            PumpMessages();
        }
        Learn(Word(u8"連続", i), reading);
        learnedAt.push_back(GetTickCount());
    }
    DWORD killedAt = GetTickCount();
    ASSERT_TRUE(Kill());
    ASSERT_TRUE(Start());
    std::vector<std::string> found = Found(reading);
    int kept = 0;
    DWORD newestKeptAge = 0;
    DWORD oldestLostAge = 0;
    for (int i = 0; i < WORDS; ++i) {
        bool present = std::find(found.begin(), found.end(), Word(u8"連続", i)) != found.end();
        DWORD age = killedAt - learnedAt[static_cast<size_t>(i)];
        if (present) {
            ++kept;
            newestKeptAge = newestKeptAge == 0 || age < newestKeptAge ? age : newestKeptAge;
        } else {
            oldestLostAge = age > oldestLostAge ? age : oldestLostAge;
        }
        if (age > SAVE_BOUND_MS) {
            EXPECT_TRUE(present) << "word " << i << " learned " << age << " ms before the kill is lost";
        }
    }
    printf("FIGURE kill during steady typing (a word every %lu ms for %lu s, %d words): %d lost; "
           "the oldest lost word was learned %lu ms before the kill, the newest kept one %lu ms\n",
           static_cast<unsigned long>(INTERVAL_MS), static_cast<unsigned long>(WORDS * INTERVAL_MS / 1000), WORDS,
           WORDS - kept, static_cast<unsigned long>(oldestLostAge), static_cast<unsigned long>(newestKeptAge));
}

TEST_F(CrashTest, KillInTheMiddleOfASaveLeavesADictionaryThatLoads) {
    const std::string dictionary = NumberedDictionary(FULL_DICTIONARY - 1);
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", dictionary));
    ASSERT_TRUE(Start());
    const unsigned long pid = FindLinuxProcess(scratch.programPath);
    ASSERT_NE(0ul, pid);
    Learn(Word(u8"途中", 0), Sjis(u8"とちゅう"));
    // The kill as soon as the temporary file of the save appears.
    const std::string temporary = scratch.dir + "ZELVO.tmp";
    DWORD start = GetTickCount();
    bool caught = false;
    while (GetTickCount() - start < SAVE_BOUND_MS && !(caught = FileExists(temporary))) {
        PumpMessages();
    }
    ASSERT_TRUE(Kill(pid));
    // The next start finds every word of before (from the dictionary file or its backup),
    // and its own end writes them all again, in their order.
    ASSERT_TRUE(Start());
    bool learned = !Found(Sjis(u8"とちゅう")).empty();
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(0u, exitCode);
    std::string saved = File("ZELVO.TXT");
    EXPECT_EQ(learned ? Word(u8"途中", 0) + "\t" + Sjis(u8"とちゅう") + "\r\n" + dictionary : dictionary, saved);
    printf("FIGURE kill during a save of %d words: temporary file %s, the word learned just before %s\n",
           FULL_DICTIONARY, caught ? "seen" : "missed (the save had ended)", learned ? "kept" : "lost");
}

}  // namespace
