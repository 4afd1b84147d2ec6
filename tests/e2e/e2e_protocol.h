// What the end-to-end tests and their target application (e2e_target.exe) agree on.
#pragma once

// The observer: a window of the test process that collects the target's reports.
constexpr char OBSERVER_CLASS[] = "ZelvoE2EObserver";

// Where the target window goes on the 1024 x 768 desktop.
constexpr int TARGET_X = 60;
constexpr int TARGET_Y = 60;
constexpr int TARGET_WIDTH = 400;
constexpr int TARGET_HEIGHT = 150;

// The caret of the tests' own window classes, in client coordinates.
constexpr int PASTER_CARET_X = 37;
constexpr int PASTER_CARET_Y = 21;
constexpr int PASTER_CARET_HEIGHT = 16;

// The text that clipboard_owner.exe renders on request.
constexpr wchar_t OWNER_TEXT[] = L"rendered on request";
