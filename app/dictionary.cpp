// The dictionary file beside the program: ZELVO.EXE keeps its words in ZELVO.TXT.
#include "ansi_text.h"
#include "conv_function.h"
#include "program_path.h"
#include "resident_state.h"
#include "startup.h"

// Room for any path the system may report, so that a long one is noticed, not cut.
static const DWORD PROGRAM_PATH_ROOM = 1024;

static bool FindDictionaryPath() {
    char programPath[PROGRAM_PATH_ROOM];
    if (!AnsiModulePath(residentState.instance, programPath, PROGRAM_PATH_ROOM)) {
        residentState.dictionaryPath[0] = '\0';
        TRACE("program path has no ANSI form: dictionary not loaded, not saved ");
        return false;
    }
    if (!BuildDictionaryPath(programPath, residentState.dictionaryPath, IsAnsiLeadByte)) {
        TRACE("dictionary path too long: not loaded, not saved ");
        return false;
    }
    return true;
}

void LoadDictionary() {
    if (!FindDictionaryPath()) {
        residentState.learningNotKept = true;
        return;
    }
    ConvFunction(CONV_LOAD, reinterpret_cast<INT_PTR>(residentState.dictionaryPath), -1, -1, -1);
}

void SaveDictionary() {
    if (residentState.dictionaryPath[0] == '\0') {
        return;
    }
    ConvFunction(CONV_SAVE, reinterpret_cast<INT_PTR>(residentState.dictionaryPath), -1, -1, -1);
}
