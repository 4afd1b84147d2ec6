// The dictionary file beside the program: ZELVO.EXE keeps its words in ZELVO.TXT. Loaded at
// start-up; saved in the background while the program runs (save_schedule.h), and once more
// at the end; a failure is told to the user, once per kind, from the tray icon. A file that
// another program changed meanwhile is loaded again instead of being overwritten
// (file_watch.h).
#pragma once

// Works out dictionaryPath, loads the dictionary from it, and tells the user when the file
// holds more than the table can (its original is then kept aside at the first save).
void LoadDictionary();

// After a request that may have changed the dictionary: schedules a save when it did.
void NoteDictionaryChanges();

// The pause or the deadline timer of the save ran out.
void RunSaveTimer();

// WM_ZELVO_SAVE_ENDED: takes the outcome of the background save.
void TakeBackgroundSaveResult();

// The last save at the end of the residence. When it fails and learning would be lost, a
// box says why and offers Retry and Cancel (end without saving).
void SaveDictionaryAtExit();

// The save when the user's logon ends: the system ends the process next, so nothing asks.
void SaveDictionaryAtSessionEnd();

// The watch timer: loads the dictionary file again once another program changed it (the
// words learned since the last save stay, in front).
void RunFileWatch();

// The tray's item: the dictionary file, saved first when learning is not in it yet, opens in
// the user's editor for text files.
void OpenDictionaryFile();
