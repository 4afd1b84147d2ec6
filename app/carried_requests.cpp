// Show, register and remove requests that carry their own strings: WM_COPYDATA records from
// the hook. Any data that is not such a record is refused before anything is read from it.
#include "candidate_window.h"
#include "request_record.h"
#include "resident_state.h"
#include "word_removal.h"

BOOL HandleRequestRecord(const COPYDATASTRUCT* data) {
    if (data == nullptr) {
        return FALSE;
    }
    RequestRecord record;
    switch (CheckRequestRecord(data->dwData, data->cbData, data->lpData, &record)) {
    case WM_ZELVO_SHOW:
        // The target as a 32-bit value, from a hook of either width: widened with its sign.
        AnswerShowRequest(record.second, record.position,
                          static_cast<HWND>(LongToHandle(static_cast<LONG>(record.target))));
        return TRUE;
    case WM_ZELVO_REGISTER:
        FilterAndRegister(record.first, record.second);
        return TRUE;
    case WM_ZELVO_REMOVE:
        RemoveCandidateWord(record.first, record.second);
        return TRUE;
    default:
        TRACE("request record refused ");
        return FALSE;
    }
}
