// Register requests: a word the user committed, and its reading, go to the dictionary.
#include "ansi_text.h"
#include "candidate_window.h"
#include "conv_function.h"
#include "dictionary.h"
#include "exchange.h"
#include "register_filter.h"
#include "resident_state.h"
#include "word_removal.h"

void FilterAndRegister(const char* word, const char* reading) {
    TRACE("RegComp %s %s ", word, reading);
    if (!IsWorthRegistering(word, reading, IsAnsiLeadByte)) {
        return;
    }
    if (residentState.learningPaused) {
        TRACE("learning paused ");
        return;
    }
    int result = ConvFunction(CONV_REGISTER, reinterpret_cast<INT_PTR>(word),
                              reinterpret_cast<INT_PTR>(reading), -1, -1);
    TRACE("ConvReg=%d ", result);
    if (result == 0) {
        NoteRegisterRefused();
    }
    NoteDictionaryChanges();  // whichever request it came from, a change makes a save due
}

void HandleRegisterRequest() {
    char word[EXCHANGE_FIELD_SIZE];
    char reading[EXCHANGE_FIELD_SIZE];
    CopyExchangePair(word, reading);
    FilterAndRegister(word, reading);
}
