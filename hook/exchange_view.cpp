// This process's view of the ExchangeBlock, and the two strings written into it. The
// request that follows each write is a synchronous send: the resident program copies the
// strings before it acts, so this thread cannot overwrite them while they are read.
#include <cstring>

#include "exchange.h"
#include "hook_operations.h"

bool OpenExchangeView(ExchangeUser user) {
    if (hookProcess.exchangeMapping == INVALID_HANDLE_VALUE) {
        // One attempt per process: a failed open leaves the handle null for good.
        hookProcess.exchangeMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, EXCHANGE_BLOCK_NAME);
        if (hookProcess.exchangeMapping == nullptr) {
            TraceTo(TraceViewer(), "openfilemapping error");
            return false;
        }
        hookProcess.exchangeView =
            static_cast<char*>(MapViewOfFile(hookProcess.exchangeMapping, FILE_MAP_WRITE, 0, 0, 0));
        if (hookProcess.exchangeView == nullptr) {
            TraceTo(TraceViewer(),
                    user == EXCHANGE_FOR_REGISTER ? "mapview error %d " : "mapview error2 %d ",
                    GetLastError());
            return false;
        }
    }
    return hookProcess.exchangeView != nullptr;
}

// A field holds at most 255 bytes and the NUL.
static bool FitsField(const char* text) {
    return strnlen(text, EXCHANGE_FIELD_SIZE) < EXCHANGE_FIELD_SIZE;
}

bool WriteExchangePair(const char* first, const char* second) {
    char* view = hookProcess.exchangeView;
    if (view == nullptr || !FitsField(first) || !FitsField(second)) {
        return false;
    }
    memcpy(view + EXCHANGE_FIRST_OFFSET, first, strlen(first) + 1);
    memcpy(view + EXCHANGE_SECOND_OFFSET, second, strlen(second) + 1);
    return true;
}
