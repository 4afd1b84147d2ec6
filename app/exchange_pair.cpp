#include <cstring>

#include "candidate_window.h"
#include "exchange.h"
#include "resident_state.h"

static void CopyField(char* out, const unsigned char* field) {
    const void* end = memchr(field, '\0', EXCHANGE_FIELD_SIZE - 1);
    size_t length = end != nullptr ? static_cast<size_t>(static_cast<const unsigned char*>(end) - field)
                                   : EXCHANGE_FIELD_SIZE - 1;
    memcpy(out, field, length);
    out[length] = '\0';
}

void CopyExchangePair(char* first, char* second) {
    CopyField(first, residentState.exchangeView + EXCHANGE_FIRST_OFFSET);
    CopyField(second, residentState.exchangeView + EXCHANGE_SECOND_OFFSET);
}
