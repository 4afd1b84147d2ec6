// Shows the dictionary library at work: loads a dictionary file, lists the candidates for
// a reading in a real list box, remembers a chosen word and saves the file again.
//   dict_demo <dictionary file> <reading> <word to choose>
#include <windows.h>

#include <cstdio>
#include <string>

#include "console_text.h"
#include "conv_function.h"

namespace {

void ShowList(HWND list, const std::string& reading) {
    int found = ConvFunction(CONV_LOOKUP, reinterpret_cast<INT_PTR>(list),
                             reinterpret_cast<INT_PTR>(reading.c_str()), -1, -1);
    Say("  " + std::to_string(found) + " candidates for \"" + reading + "\":");
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string line(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
        size_t tab = line.find('\t');
        Say("    " + std::to_string(i + 1) + ". " + line.substr(0, tab) + "  (" + line.substr(tab + 1) + ")");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: dict_demo <dictionary file> <reading> <word to choose>\n");
        return 2;
    }
    std::string path = argv[1];
    std::string reading = argv[2];  // the arguments arrive in the ANSI code page
    std::string word = argv[3];

    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 240, 160, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_USETABSTOPS, 0, 0, 240, 160,
                                owner, nullptr, GetModuleHandleA(nullptr), nullptr);

    ConvFunction(CONV_INIT, -1, -1, -1, -1);
    int loaded = ConvFunction(CONV_LOAD, reinterpret_cast<INT_PTR>(path.c_str()), -1, -1, -1);
    Say(std::string("Loaded ") + path + (loaded ? "" : " (no file: empty dictionary)"));
    ShowList(list, reading);

    int remembered = ConvFunction(CONV_REGISTER, reinterpret_cast<INT_PTR>(word.c_str()),
                                  reinterpret_cast<INT_PTR>(reading.c_str()), -1, -1);
    Say("Chose \"" + word + "\": " + (remembered ? "moved to the front" : "dictionary full"));
    ShowList(list, reading);

    int saved = ConvFunction(CONV_SAVE, reinterpret_cast<INT_PTR>(path.c_str()), -1, -1, -1);
    Say(std::string("Saved ") + path + (saved ? "" : " FAILED"));
    return saved ? 0 : 1;
}
