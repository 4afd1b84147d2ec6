// Zelvo at work, as a user sees it: the resident program with a sample dictionary, a text
// editor in another process, a reading typed with the IME, the candidates next to the
// caret, Down to pick one, Enter to paste it. Before each picture it leaves a "<n>.ready"
// file in the picture folder and waits (a few seconds at most) for "<n>.png" to appear.
//   demo_session <dictionary file> <picture folder>
#include <windows.h>

#include <cstdio>
#include <string>

#include "console_text.h"
#include "e2e_harness.h"
#include "zelvo_driver.h"

namespace {

std::string pictureFolder;
int pictureNumber;

// Asks for a picture of the screen as it is now, named after the step.
void Picture(const char* name) {
    std::string base = pictureFolder + "\\" + std::to_string(++pictureNumber) + "-" + name;
    WriteFileBytes(base + ".ready", "");
    WaitUntil([&] { return FileExists(base + ".png"); }, 10000);
    DeleteFileA((base + ".ready").c_str());
}

void SayCandidates(HWND list) {
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    std::vector<std::string> lines = ListLines(list);
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t tab = lines[i].find('\t');
        Say(std::string(static_cast<LRESULT>(i) == selected ? "   > " : "     ") + lines[i].substr(0, tab) +
            "  (" + lines[i].substr(tab + 1) + ")");
    }
}

bool Fail(const char* what) {
    Say(std::string("demo stopped: ") + what);
    return false;
}

bool Run(const ScratchFolder& scratch) {
    std::string error;
    if (!InstallImeForTargets(&error)) {
        return Fail(error.c_str());
    }
    StartObserver();
    Resident resident;
    if (!StartResident(scratch, "", &resident, true, false)) {
        return Fail("ZELVO.EXE did not start");
    }
    Say("ZELVO.EXE is resident, dictionary " + scratch.dir + "ZELVO.TXT");
    Target target;
    if (!StartTarget(scratch, "edit", &target)) {
        return Fail("the editor did not start");
    }

    Say("Typing k a n n with the IME: the reading " + Sjis(u8"かん"));
    TypeRomaji("kann");
    WaitForTargetInput();
    if (!WaitUntil([&] { return IsWindowVisible(resident.window) != FALSE; }, 5000)) {
        return Fail("no candidates appeared");
    }
    SayCandidates(resident.list);
    Picture("candidates");

    Say("Down, Down: the second candidate is selected");
    for (int i = 0; i < 2; ++i) {
        PressKey(VK_DOWN);
        WaitForTargetInput();
    }
    WaitUntil([&] { return SendMessageA(resident.list, LB_GETCURSEL, 0, 0) == 1; }, 3000);
    SayCandidates(resident.list);
    Picture("selected");

    std::vector<std::string> lines = ListLines(resident.list);
    std::string chosen = lines.size() > 1 ? lines[1].substr(0, lines[1].find('\t')) : "";
    Say("Enter: " + chosen + " is pasted into the editor");
    PressKey(VK_RETURN);
    WaitForTargetInput();
    WaitUntil([&] { return WindowText(target.window).find(chosen) != std::string::npos; }, 5000);
    Say("The editor holds: " + WindowText(target.window));
    Picture("pasted");

    EndTarget(&target);
    DWORD exitCode = 1;
    EndResident(&resident, &exitCode);
    std::string dictionary;
    ReadFileBytes(scratch.dir + "ZELVO.TXT", &dictionary);
    Say("ZELVO.EXE ended with exit code " + std::to_string(exitCode) + "; the dictionary begins with:");
    Say("     " + dictionary.substr(0, dictionary.find('\r')));
    return exitCode == 0 && !chosen.empty() && dictionary.compare(0, chosen.size(), chosen) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: demo_session <dictionary file> <picture folder>\n");
        return 2;
    }
    pictureFolder = argv[2];
    ScratchFolder scratch;
    if (!MakeScratchFolder(&scratch) || !CopyFileA(argv[1], (scratch.dir + "ZELVO.TXT").c_str(), FALSE)) {
        fprintf(stderr, "cannot prepare the program folder\n");
        return 1;
    }
    bool shown = Run(scratch);
    RemoveImeForTargets();
    CopyFileA((scratch.dir + "ZELVO.TXT").c_str(), argv[1], FALSE);
    RemoveScratchFolder(scratch);
    return shown ? 0 : 1;
}
