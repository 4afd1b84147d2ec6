// The TraceChannel: diagnostic lines sent as WM_COPYDATA to an external viewer window of
// class "TuloDebugWClass", when one exists. Without a viewer a trace costs nothing.
#pragma once

#include <windows.h>

constexpr const char* TRACE_VIEWER_CLASS = "TuloDebugWClass";
constexpr int TRACE_TEXT_SIZE = 1024;

// Looks for the viewer window; null when there is none.
HWND FindTraceViewer();

// Formats with wvsprintfA (%d %x %X %s %02x) and sends the text with its NUL to viewer.
// Does nothing at all, not even the formatting, when viewer is null.
void TraceTo(HWND viewer, const char* format, ...);
