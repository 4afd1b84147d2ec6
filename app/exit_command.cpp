// The IDM_EXIT command: the end of the residence.
#include "about_dialog.h"
#include "candidate_window.h"
#include "resident_state.h"
#include "zelvos.h"

void EndResidence() {
    if (QueryEnd() == 0) {
        return;
    }
    CloseAboutBox();
    // WM_DESTROY removes the tray icon with mainWindow, so it is cleared only afterwards.
    DestroyWindow(residentState.mainWindow);
    residentState.mainWindow = nullptr;
}
