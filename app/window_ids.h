// Ids of the resident program's resources, commands, controls and timer. Plain #defines,
// so that the resource script can include this header too.
#pragma once

#define IDI_MAIN 100             // icon group: window class, tray icon, About box
#define IDC_CANDIDATE_LIST 105   // the CandidateList inside the CandidateWindow
#define IDM_EXIT 200             // tray menu: end residence
#define IDM_ABOUT 201            // tray menu: About box
#define TRAY_ICON_ID 1000        // the notification-area icon of the CandidateWindow
#define FOCUS_TIMER_ID 1         // the 500 ms foreground check
