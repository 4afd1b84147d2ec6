// One x64 installation for the applications of both widths, under Wine in a WoW64 prefix: the
// 64-bit ZELVO.EXE resident with the 32-bit host ZELVO32.EXE and ZELVOS32.DLL of the i686
// build beside it, the test IME of both widths, and a 64-bit and a 32-bit e2e_target.exe
// typed into with real key events. Both show candidates from the one dictionary, both commit,
// and a word learned in one is offered in the other. Skipped, with the reason, where 32-bit
// programs do not run.
//
// Wine calls only the newest global hook of a chain itself and the older ones through its
// CallNextHookEx; a hook whose library cannot be loaded in a process (one of the other width)
// ends the chain there. With the host's 32-bit hook installed after ZELVO's own, 64-bit
// applications under Wine never reach ZELVO's hook. (Windows calls a hook of the other width
// in the thread that installed it, and the chain goes on.) So the 64-bit target is typed into
// while no host runs, and the 32-bit one while it does, each time with the same folder and
// dictionary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "both_widths.h"
#include "e2e_harness.h"
#include "install_ime.h"

namespace {

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";
const DWORD STEP_TIMEOUT_MS = 3000;

std::string i686Folder;
std::string skipReason;
std::string setupError;

class BothWidthsEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (!I686ProgramsThatRun(&i686Folder, &skipReason)) {
            return;
        }
        StartTraceViewer();
        StartObserver();
        if (InstallImeForTargets(&setupError)) {
            InstallTestIme32(i686Folder + TEST_IME_FILE, &setupError);
        }
    }
    void TearDown() override {
        if (skipReason.empty()) {
            RemoveImeForTargets();
        }
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new BothWidthsEnvironment);

enum Width { WIDTH_64, WIDTH_32 };

const char* NameOf(Width width) {
    return width == WIDTH_64 ? "the 64-bit target" : "the 32-bit target";
}

// One step in one target: keys typed, then what the user sees: the candidates (the list's
// lines, or hidden when empty), the selection, and the target's text.
struct Step {
    const char* what;
    Width width;                         // the 32-bit target is typed into with the host running
    const char* keys;                    // romaji, ' ' Space, '\n' Enter, '\x1b' Escape; '\v' Down
    std::vector<const char*> candidates; // the CandidateList's lines afterwards (UTF-8); none: hidden
    const char* text;                    // the target's text afterwards (UTF-8), or null
};

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps = {
        {"a reading in the 64-bit target shows the dictionary", WIDTH_64, "ai",
         {u8"愛情\tあいじょう", u8"相手\tあいて", u8"愛\tあい"}, nullptr},
        {"down, down and enter commit in the 64-bit target", WIDTH_64, "\v\v\n", {}, u8"相手"},
        {"the 32-bit target shows the word learned in the 64-bit one first", WIDTH_32, "ai",
         {u8"相手\tあいて", u8"愛情\tあいじょう", u8"愛\tあい"}, nullptr},
        {"down and enter commit in the 32-bit target", WIDTH_32, "\v\n", {}, u8"相手"},
        {"an IME conversion in the 32-bit target is learned", WIDTH_32, "nihon \n", {}, u8"相手日本"},
        {"the 64-bit target offers the word learned in the 32-bit one", WIDTH_64, "ni",
         {u8"日本\tにほん"}, nullptr},
        {"escape cancels", WIDTH_64, "\x1b", {}, u8""},
    };
    return steps;
}

class BothWidths : public testing::Test {
protected:
    void SetUp() override {
        if (!skipReason.empty()) {
            GTEST_SKIP() << "one installation for both widths is not tested: " << skipReason;
        }
        ASSERT_EQ("", setupError);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)));
    }

    void TearDown() override {
        EndTarget(&target);
        EndOrKillResident(&resident);
        RemoveScratchFolder(scratch);
    }

    // The resident program as the step's width wants it: with the host for the 32-bit target,
    // without it for the 64-bit one. Ended first (its dictionary saved) when that changes.
    void UseResident(Width width) {
        if (resident.process.hProcess != nullptr && width == targetWidth) {
            return;
        }
        EndTarget(&target);
        if (resident.process.hProcess != nullptr) {
            DWORD exitCode = 99;
            ASSERT_TRUE(EndResident(&resident, &exitCode));
            ASSERT_EQ(exitCode, 0u);
        }
        if (width == WIDTH_32) {
            ASSERT_TRUE(AddHostToScratch(scratch, i686Folder));
        } else {
            // Without its program no host is started. The host of the run before ends by itself
            // once the resident program has ended: its program can go then.
            std::string host = scratch.dir + HOST_PROGRAM;
            ASSERT_TRUE(WaitUntil([&] { return DeleteFileA(host.c_str()) || !FileExists(host); }, EXIT_TIMEOUT_MS))
                << "the host did not end with the resident program";
        }
        ASSERT_TRUE(StartResident(scratch, "", &resident));
    }

    // The target of the step's width, started afresh when the width changes.
    void UseTarget(Width width) {
        if (target.process.hProcess != nullptr && width == targetWidth) {
            return;
        }
        UseResident(width);
        if (HasFatalFailure()) {
            return;
        }
        EndTarget(&target);
        targetWidth = width;
        bool started = width == WIDTH_64
                           ? StartTarget(scratch, "edit", &target)
                           : StartTargetOf(i686Folder + "e2e_target.exe", scratch.dir + HOST_LIBRARY, "edit", &target);
        ASSERT_TRUE(started) << NameOf(width) << " did not start with its hook library";
    }

    void Type(const char* keys) {
        for (const char* key = keys; *key != '\0'; ++key) {
            if (*key == '\v') {
                PressKey(VK_DOWN);
            } else {
                char one[2] = {*key, '\0'};
                TypeRomaji(one);
            }
        }
    }

    std::vector<std::string> Shown() {
        if (!IsWindowVisible(resident.window)) {
            return {};
        }
        return ListLines(resident.list);
    }

    ScratchFolder scratch;
    Resident resident;
    Target target;
    Width targetWidth = WIDTH_64;
};

TEST_F(BothWidths, OneDictionaryForApplicationsOfBothWidths) {
    for (const Step& step : Steps()) {
        SCOPED_TRACE(step.what);
        UseTarget(step.width);
        if (HasFatalFailure()) {
            return;
        }
        Type(step.keys);
        ASSERT_TRUE(WaitForTargetInput()) << NameOf(step.width) << " did not take the keys";
        std::vector<std::string> expected;
        for (const char* line : step.candidates) {
            expected.push_back(Sjis(line));
        }
        WaitUntil([&] { return Shown() == expected; }, STEP_TIMEOUT_MS);
        EXPECT_EQ(Shown(), expected);
        if (step.text != nullptr) {
            std::string text = Sjis(step.text);
            WaitUntil([&] { return WindowText(target.window) == text; }, STEP_TIMEOUT_MS);
            EXPECT_EQ(WindowText(target.window), text);
        }
    }
    std::string file;
    ASSERT_TRUE(EndAndReadDictionary(scratch, &target, &resident, &file));
    EXPECT_EQ(file, Sjis(u8"日本\tにほん\r\n相手\tあいて\r\n愛情\tあいじょう\r\n愛\tあい\r\n"));
}

}  // namespace
