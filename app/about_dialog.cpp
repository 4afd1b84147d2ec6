// The About box: the template "ABOUTDLG" with its dictionary line pointing at the real file.
#include "about_dialog.h"

#include "about_text.h"
#include "resident_state.h"
#include "window_ids.h"

// The dictionary line is the sixth control of the template; it has no id of its own.
static const int DICTIONARY_LINE_INDEX = 5;
static const int ABOUT_LINE_SIZE = 512;  // a label and a path of up to 259 bytes

static HWND TemplateControl(HWND dialog, int index) {
    HWND control = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < index && control != nullptr; ++i) {
        control = GetWindow(control, GW_HWNDNEXT);
    }
    return control;
}

// The template says where the dictionary lives in general; the path the program really uses
// is what a user looks for. A long path is shortened in the middle, and '&' stays a '&'.
static void ShowDictionaryPath(HWND dialog) {
    HWND line = TemplateControl(dialog, DICTIONARY_LINE_INDEX);
    char templateText[ABOUT_LINE_SIZE] = {};
    char text[ABOUT_LINE_SIZE];
    if (line == nullptr || GetWindowTextA(line, templateText, ABOUT_LINE_SIZE) == 0 ||
        !DictionaryLine(templateText, residentState.dictionaryPath, text, sizeof text)) {
        return;
    }
    LONG_PTR style = GetWindowLongPtrA(line, GWL_STYLE);
    SetWindowLongPtrA(line, GWL_STYLE, style | SS_NOPREFIX | SS_PATHELLIPSIS);
    SetWindowTextA(line, text);
}

static void OnAboutInit(HWND dialog) {
    residentState.aboutDialog = dialog;
    ShowDictionaryPath(dialog);
}

// OK; Escape and the close box arrive as IDCANCEL.
static void OnAboutCommand(HWND dialog, WPARAM wParam) {
    WORD id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        residentState.aboutDialog = nullptr;
        EndDialog(dialog, -1);
    }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog);
        break;
    case WM_COMMAND:
        OnAboutCommand(dialog, wParam);
        break;
    default:
        break;
    }
    return FALSE;
}

void ShowAboutBox() {
    if (residentState.aboutDialog != nullptr) {
        SetForegroundWindow(residentState.aboutDialog);
        return;
    }
    DialogBoxParamA(residentState.instance, IDD_ABOUT, residentState.mainWindow, AboutDialogProc, 0);
}

void CloseAboutBox() {
    if (residentState.aboutDialog != nullptr) {
        EndDialog(residentState.aboutDialog, 0);
        residentState.aboutDialog = nullptr;
    }
}
