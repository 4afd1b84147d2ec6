// Every call from the hook into the resident program's windows, and whether the resident
// program answers. The calls are bounded: the application whose thread runs the hook waits
// at most RESIDENT_SEND_TIMEOUT_MS for an answer. A call that is not answered in time marks
// the resident program as stalled for every process (stall_mark.h); until its heartbeat in
// the ExchangeBlock's status record moves on, no call is made at all and every message goes
// on to the application as if Zelvo were not running.
#include <cstddef>

#include "exchange.h"
#include "hook_operations.h"
#include "request_record.h"
#include "stall_mark.h"

static const UINT BOUNDED_SEND = SMTO_ABORTIFHUNG | SMTO_NORMAL;

// True when the view reaches past the status record: an object of another size may hold the
// block's name.
static bool ViewHoldsStatus(const void* view) {
    MEMORY_BASIC_INFORMATION region = {};
    return VirtualQuery(view, &region, sizeof region) == sizeof region &&
           region.RegionSize >= EXCHANGE_STATUS_OFFSET + sizeof(ExchangeStatus);
}

bool OpenExchangeView(ExchangeUser user) {
    if (hookProcess.exchangeMapping == INVALID_HANDLE_VALUE) {
        // One attempt per process: a failed open leaves the handle null for good.
        hookProcess.exchangeMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, EXCHANGE_BLOCK_NAME);
        if (hookProcess.exchangeMapping == nullptr) {
            TraceTo(TraceViewer(), "openfilemapping error");
            return false;
        }
        char* view = static_cast<char*>(MapViewOfFile(hookProcess.exchangeMapping, FILE_MAP_WRITE, 0, 0, 0));
        DWORD error = GetLastError();
        if (view != nullptr && !ViewHoldsStatus(view)) {
            UnmapViewOfFile(view);
            view = nullptr;
            error = ERROR_INVALID_DATA;
        }
        hookProcess.exchangeView = view;
        if (view == nullptr) {
            TraceTo(TraceViewer(),
                    user == EXCHANGE_FOR_REGISTER ? "mapview error %d " : "mapview error2 %d ", error);
            return false;
        }
    }
    return hookProcess.exchangeView != nullptr;
}

// The heartbeat of the status record; false without a view or when the resident program does
// not fill the field.
static bool ReadHeartbeat(uint32_t* heartbeat) {
    if (!OpenExchangeView(EXCHANGE_FOR_STATUS)) {
        return false;
    }
    const volatile ExchangeStatus* status =
        reinterpret_cast<const volatile ExchangeStatus*>(hookProcess.exchangeView + EXCHANGE_STATUS_OFFSET);
    if (status->size < offsetof(ExchangeStatus, heartbeat) + sizeof status->heartbeat) {
        return false;
    }
    *heartbeat = status->heartbeat;
    return true;
}

static void MarkStalled() {
    uint32_t heartbeat = 0;
    bool known = ReadHeartbeat(&heartbeat);
    hookShared.stallHeartbeat = heartbeat;
    hookShared.stallHeartbeatKnown = known ? 1 : 0;
    hookShared.stallTick = GetTickCount();
    hookShared.stalled = 1;
    TraceTo(TraceViewer(), "stalled %d ", heartbeat);
}

bool ResidentAvailable() {
    if (hookShared.stalled == 0) {
        return true;
    }
    StallView view = {};
    view.marked = true;
    view.markHasHeartbeat = hookShared.stallHeartbeatKnown != 0;
    view.markHeartbeat = hookShared.stallHeartbeat;
    view.markTick = hookShared.stallTick;
    view.haveHeartbeat = ReadHeartbeat(&view.heartbeat);
    view.now = GetTickCount();
    if (StillStalled(view)) {
        return false;
    }
    hookShared.stalled = 0;
    return true;
}

static bool BoundedSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer,
                        bool wide) {
    if (!ResidentAvailable()) {
        return false;
    }
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    LRESULT sent = wide ? SendMessageTimeoutW(window, message, wParam, lParam, BOUNDED_SEND,
                                              RESIDENT_SEND_TIMEOUT_MS, &result)
                        : SendMessageTimeoutA(window, message, wParam, lParam, BOUNDED_SEND,
                                              RESIDENT_SEND_TIMEOUT_MS, &result);
    if (sent == 0) {
        if (SendFailureIsStall(GetLastError(), IsWindow(window) != FALSE)) {
            MarkStalled();
        }
        return false;
    }
    if (answer != nullptr) {
        *answer = static_cast<LRESULT>(result);
    }
    return true;
}

bool SendToResident(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    return BoundedSend(window, message, wParam, lParam, answer, false);
}

bool SendWideToResident(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    return BoundedSend(window, message, wParam, lParam, answer, true);
}

void HideCandidates() {
    SendToResident(CandidateWindow(), WM_ZELVO_HIDE, 0, 0, nullptr);
}

bool SendRequestRecord(unsigned kind, unsigned long position, HWND target, const char* first,
                       const char* second) {
    RequestRecord record;
    if (!FillRequestRecord(&record, kind, static_cast<uint32_t>(position), ToSharedValue(target),
                           first, second)) {
        return false;
    }
    COPYDATASTRUCT data = {};
    data.dwData = REQUEST_RECORD_TAG;
    data.cbData = sizeof record;
    data.lpData = &record;
    return SendToResident(CandidateWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), nullptr);
}
