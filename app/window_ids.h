// Ids of the CandidateWindow's own control, icon and timer; the ids shared with the
// resource script (IDI_MAIN, IDM_EXIT, IDM_ABOUT) come from resources/resource_ids.h.
#pragma once

#include "resources/resource_ids.h"

#define IDC_CANDIDATE_LIST 105   // the CandidateList inside the CandidateWindow
#define TRAY_ICON_ID 1000        // the notification-area icon of the CandidateWindow
#define FOCUS_TIMER_ID 1         // the 500 ms foreground check
#define SAVE_PAUSE_TIMER_ID 2    // a save once typing has paused
#define SAVE_DEADLINE_TIMER_ID 3 // a save at the latest this long after the first unsaved change
#define FILE_WATCH_TIMER_ID 6    // looks whether another program changed the dictionary file

// Posted to the CandidateWindow by the dictionary library when a background save has ended
// (WM_APP + 1: the program's own range, apart from the numbers shared with the hook).
#define WM_ZELVO_SAVE_ENDED 0x8001
