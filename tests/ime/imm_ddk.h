// The IME side of the IME manager's interface, which mingw-w64's imm.h leaves out: the
// input context and its components as the documentation lays them out, and the IME
// manager's functions for IME modules (imm32 exports them; the import library has them).
#pragma once

#include <windows.h>
#include <imm.h>

struct IME_INPUTCONTEXT {
    HWND hWnd;
    BOOL fOpen;
    POINT ptStatusWndPos;
    POINT ptSoftKbdPos;
    DWORD fdwConversion;
    DWORD fdwSentence;
    union {
        LOGFONTA A;
        LOGFONTW W;
    } lfFont;
    COMPOSITIONFORM cfCompForm;
    CANDIDATEFORM cfCandForm[4];
    HIMCC hCompStr;
    HIMCC hCandInfo;
    HIMCC hGuideLine;
    HIMCC hPrivate;
    DWORD dwNumMsgBuf;
    HIMCC hMsgBuf;
    DWORD fdwInit;
    DWORD dwReserve[3];
};

struct IME_IMEINFO {
    DWORD dwPrivateDataSize;
    DWORD fdwProperty;
    DWORD fdwConversionCaps;
    DWORD fdwSentenceCaps;
    DWORD fdwUICaps;
    DWORD fdwSCSCaps;
    DWORD fdwSelectCaps;
};

struct IME_TRANSMSG {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// ImeToAsciiEx's message list: the room in entries, then the entries.
struct IME_TRANSMSGLIST {
    UINT uMsgCount;
    IME_TRANSMSG TransMsg[1];
};

// NotifyIME actions and ImeSelect's init flags not in mingw-w64's imm.h.
#ifndef NI_CONTEXTUPDATED
#define NI_CONTEXTUPDATED 0x0003
#endif
#ifndef INIT_CONVERSION
#define INIT_CONVERSION 0x00000002
#endif

extern "C" {
IME_INPUTCONTEXT* WINAPI ImmLockIMC(HIMC);
BOOL WINAPI ImmUnlockIMC(HIMC);
LPVOID WINAPI ImmLockIMCC(HIMCC);
BOOL WINAPI ImmUnlockIMCC(HIMCC);
HIMCC WINAPI ImmReSizeIMCC(HIMCC, DWORD);
DWORD WINAPI ImmGetIMCCSize(HIMCC);
BOOL WINAPI ImmGenerateMessage(HIMC);
}
