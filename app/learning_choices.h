// What the user decides about what Zelvo learns: learning paused, and the programs Zelvo is
// kept out of (by their program file names). Both are remembered under HKCU\Software\Zelvo;
// the list is published in the ExchangeBlock's status record for the hook, which then leaves
// those programs alone.
#pragma once

#include <windows.h>

#include "tray_menu_rules.h"

// At start-up: the choices as remembered, the list published, the tray icon showing a pause.
void LoadLearningChoices();

// The tray's pause item: learning paused or going on again; remembered, shown by the icon.
void ToggleLearningPause();

// The tray's item for the program of the last candidates: Zelvo stays out of it from now on.
void ExcludeLastProgram();

// An item of the excluded programs' submenu: Zelvo works in that program again.
void IncludeProgram(int index);

// A show request found candidates for target: its program is the one the menu can name.
void NoteCandidatesProgram(HWND target);

// What the tray menu shows about learning. The strings stay valid until the next change of
// the choices.
TrayLearningState CurrentLearningState();
