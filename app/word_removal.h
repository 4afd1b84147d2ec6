// Words leave the dictionary only at the user's request: the selected candidate (Shift+Delete
// in the application or in the list) and the least recently used words (the tray's clean-up,
// after asking). And a dictionary that is full tells the user so, once, from the tray.
#pragma once

#include <windows.h>

// Removes word, stored with reading, from the dictionary and shows the list again without it.
void RemoveCandidateWord(const char* word, const char* reading);

// Shift+Delete inside the CandidateList: the selected line is removed.
void RemoveSelectedLine();

// The tray's clean-up: asks, then removes the least recently used words.
void CleanUpOldWords();

// A new word could not be registered: when the dictionary is full, the user is told (once,
// until a clean-up makes room).
void NoteRegisterRefused();
