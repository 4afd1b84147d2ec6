#include "startup.h"

static const char SINGLE_INSTANCE_MUTEX[] = "MUTEXZelvoA";

bool IsAlreadyRunning() {
    // The handle is deliberately kept open: the mutex marks this copy until it ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, SINGLE_INSTANCE_MUTEX);
    return mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
}
