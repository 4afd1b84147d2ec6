// The TraceChannel: diagnostic lines sent as WM_COPYDATA to an external viewer window of
// class "TuloDebugWClass", when one exists. Without a viewer a trace costs nothing.
#pragma once

#include <windows.h>

constexpr const char* TRACE_VIEWER_CLASS = "TuloDebugWClass";
constexpr int TRACE_TEXT_SIZE = 1024;

// The viewer is an outside tool: a line waits for it at most this long, and once it has not
// answered in time, this module of this process sends it nothing for TRACE_PAUSE_MS.
constexpr UINT TRACE_SEND_TIMEOUT_MS = 500;
constexpr DWORD TRACE_PAUSE_MS = 5000;

// Looks for the viewer window; null when there is none.
HWND FindTraceViewer();

// Formats with wvsprintfA (%d %x %X %s %02x) and sends the text with its NUL to viewer.
// Does nothing at all, not even the formatting, when viewer is null or sending is paused.
void TraceTo(HWND viewer, const char* format, ...);
