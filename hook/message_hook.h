// The WH_GETMESSAGE hook procedure, run on every GUI thread of the desktop for each message
// that the thread retrieves.
#pragma once

#include <windows.h>

LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM message);
