// The IDM_EXIT command: the end of the residence.
#include "candidate_window.h"
#include "resident_state.h"
#include "zelvos.h"

void EndResidence() {
    if (QueryEnd() == 0) {
        return;
    }
    if (residentState.aboutDialog != nullptr) {
        EndDialog(residentState.aboutDialog, 0);
        residentState.aboutDialog = nullptr;
    }
    // WM_DESTROY removes the tray icon with mainWindow, so it is cleared only afterwards.
    DestroyWindow(residentState.mainWindow);
    residentState.mainWindow = nullptr;
}
