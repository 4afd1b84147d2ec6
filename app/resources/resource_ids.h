// Ids of ZELVO's resources, menu commands and About box controls. Shared by the resource
// script and the program's code, so it holds nothing but plain defines.
#ifndef ZELVO_RESOURCE_IDS_H
#define ZELVO_RESOURCE_IDS_H

// Icon group: 32 x 32 and 16 x 16, 16 colours each (window class, tray icon, About box).
#define IDI_MAIN 100
// The same icon greyed: learning is paused (tray icon).
#define IDI_PAUSED 101

// The About box template, loaded by name.
#define IDD_ABOUT "ABOUTDLG"
// Controls of the About box. The text lines, the rule and the frame share the static id.
#define IDC_ABOUT_ICON 4000
#define IDC_STATIC (-1)

// Commands of the tray menu.
#define IDM_EXIT 200
#define IDM_ABOUT 201

// Commands of the tray menu about what Zelvo learns; the excluded programs' items take the
// ids from IDM_INCLUDE_FIRST on, one per program, in the list's order.
#define IDM_PAUSE_LEARNING 210
#define IDM_EXCLUDE_PROGRAM 211
#define IDM_OPEN_DICTIONARY 212
#define IDM_CLEAN_UP 213
// Check item: what the clipboard held comes back after a commit.
#define IDM_GIVE_CLIPBOARD_BACK 214
#define IDM_INCLUDE_FIRST 220
#define IDM_INCLUDE_LAST 251

#endif
