// A program the user keeps Zelvo out of, with real keys through the test IME: the hook in it
// shows nothing, learns nothing and takes no key, while another program goes on as before;
// the choice holds after the resident program is started again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_harness.h"
#include "install_ime.h"
#include "resource_ids.h"

namespace {

const char DICTIONARY[] = u8"愛情\tあいじょう\r\n相手\tあいて\r\n愛\tあい\r\n";

std::string setupError;

class ExclusionEnvironment : public testing::Environment {
public:
    void SetUp() override { PrepareTargetSession(&setupError); }
    void TearDown() override { RemoveImeForTargets(); }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ExclusionEnvironment);

class ProgramExclusionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ("", setupError);
        ForgetLearningChoices();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Sjis(DICTIONARY)));
        // Another program to the user: the same target under a name of its own.
        otherProgram = scratch.dir + "e2e_other.exe";
        ASSERT_TRUE(CopyFileA(TargetProgramPath().c_str(), otherProgram.c_str(), FALSE));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_TRUE(WaitUntilResidentRuns());
    }
    void TearDown() override {
        EndTarget(&target);
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
        ForgetLearningChoices();
    }

    bool Visible() { return IsWindowVisible(resident.window) != FALSE; }

    // Types the reading あい and waits until the target has taken the keys.
    void TypeReading() {
        TypeRomaji("ai");
        ASSERT_TRUE(WaitForTargetInput());
    }

    // Whether a key-down after from reached the application (as itself or as the IME's key).
    static bool Reached(size_t from, UINT key) {
        char down[16];
        snprintf(down, sizeof down, "down %x", key);
        for (size_t i = from; i < Reports().size(); ++i) {
            if (Reports()[i] == down || Reports()[i] == "down e5") {
                return true;
            }
        }
        return false;
    }

    void ExpectLeftAlone() {
        ClearTrace();
        ASSERT_NO_FATAL_FAILURE(TypeReading());
        EXPECT_FALSE(Visible()) << "candidates shown in a program left alone";
        // A key the hook would take goes on to the IME.
        size_t from = Reports().size();
        PressKey(VK_DOWN);
        ASSERT_TRUE(WaitForTargetInput());
        EXPECT_TRUE(Reached(from, VK_DOWN));
        // The IME's own conversion is committed and not learned.
        TypeRomaji(" \n");
        ASSERT_TRUE(WaitForTargetInput());
        std::string converted = Sjis(u8"愛");
        EXPECT_TRUE(WaitUntil([&] { return WindowText(target.window) == converted; }, 3000));
        EXPECT_FALSE(Visible());
        EXPECT_TRUE(TraceLinesStartingWith("RegComp").empty()) << "a register request came";
        EXPECT_TRUE(TraceLinesStartingWith("{").empty()) << "the hook read the composition";
    }

    ScratchFolder scratch;
    Resident resident;
    Target target;
    std::string otherProgram;
};

TEST_F(ProgramExclusionTest, AProgramLeftAloneGetsNothingAnotherGoesOnAndItIsRemembered) {
    ASSERT_TRUE(StartTarget(scratch, "edit", &target));
    ASSERT_NO_FATAL_FAILURE(TypeReading());
    ASSERT_TRUE(WaitUntil([&] { return Visible(); }, 3000)) << "no candidates before";
    TypeRomaji("\x1b");
    ASSERT_TRUE(WaitForTargetInput());
    // The tray's item for the program of the last candidates.
    PostMessageA(resident.window, WM_COMMAND, IDM_EXCLUDE_PROGRAM, 0);
    uint32_t generation = 0;
    ASSERT_TRUE(WaitUntil([&] { return PublishedExclusions(&generation) == std::vector<std::wstring>{L"E2E_TARGET.EXE"}; },
                          3000));
    ASSERT_NO_FATAL_FAILURE(ExpectLeftAlone());
    EndTarget(&target);

    // Another program: candidates, keys and learning as ever.
    ASSERT_TRUE(StartTarget(scratch, "edit", &target, true, otherProgram));
    ASSERT_NO_FATAL_FAILURE(TypeReading());
    EXPECT_TRUE(WaitUntil([&] { return Visible(); }, 3000));
    size_t from = Reports().size();
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitForTargetInput());
    EXPECT_FALSE(Reached(from, VK_DOWN)) << "the selection key was not taken";
    TypeRomaji("\x1b");
    ASSERT_TRUE(WaitForTargetInput());
    EndTarget(&target);

    // Remembered across a start of the resident program.
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    ASSERT_TRUE(WaitUntilResidentRuns());
    EXPECT_EQ(PublishedExclusions(&generation), std::vector<std::wstring>{L"E2E_TARGET.EXE"});
    ASSERT_TRUE(StartTarget(scratch, "edit", &target));
    ASSERT_NO_FATAL_FAILURE(ExpectLeftAlone());
    EndTarget(&target);
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(scratch.dir + "ZELVO.TXT", &bytes));
    EXPECT_EQ(Sjis(DICTIONARY), bytes) << "something was learned in the program left alone";
}

}  // namespace
