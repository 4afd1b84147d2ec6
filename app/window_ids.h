// Ids of the CandidateWindow's own control, icon and timer; the ids shared with the
// resource script (IDI_MAIN, IDM_EXIT, IDM_ABOUT) come from resources/resource_ids.h.
#pragma once

#include "resources/resource_ids.h"

#define IDC_CANDIDATE_LIST 105   // the CandidateList inside the CandidateWindow
#define TRAY_ICON_ID 1000        // the notification-area icon of the CandidateWindow
#define FOCUS_TIMER_ID 1         // the 500 ms foreground check
