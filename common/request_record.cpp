#include "request_record.h"

#include <cstring>

static bool CopyField(char* field, const char* text) {
    size_t length = strnlen(text, EXCHANGE_FIELD_SIZE);
    if (length >= EXCHANGE_FIELD_SIZE) {
        return false;
    }
    memset(field, 0, EXCHANGE_FIELD_SIZE);
    memcpy(field, text, length);
    return true;
}

static bool IsRequestKind(uint32_t kind) {
    return kind == WM_ZELVO_SHOW || kind == WM_ZELVO_REGISTER || kind == WM_ZELVO_REMOVE;
}

static bool HoldsNul(const char* field) {
    return memchr(field, '\0', EXCHANGE_FIELD_SIZE) != nullptr;
}

bool FillRequestRecord(RequestRecord* record, uint32_t kind, uint32_t position, uint32_t target,
                       const char* first, const char* second) {
    record->kind = kind;
    record->position = position;
    record->target = target;
    return CopyField(record->first, first) && CopyField(record->second, second);
}

uint32_t CheckRequestRecord(uint64_t tag, uint64_t size, const void* data, RequestRecord* record) {
    if (tag != REQUEST_RECORD_TAG || size != sizeof(RequestRecord) || data == nullptr) {
        return 0;
    }
    memcpy(record, data, sizeof(RequestRecord));  // the data may lie at any alignment
    if (!IsRequestKind(record->kind) || !HoldsNul(record->first) || !HoldsNul(record->second)) {
        return 0;
    }
    return record->kind;
}

bool ContainsControlByte(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20) {
            return true;
        }
    }
    return false;
}
