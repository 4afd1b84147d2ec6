#include <cstring>

#include "exchange.h"
#include "resident_state.h"
#include "startup.h"

static const DWORD EXCHANGE_PROTECTION = PAGE_READWRITE | SEC_COMMIT;  // 0x08000004
static const char MAPPING_FAILED_TEXT[] = "\x83\x47\x83\x89\x81\x5b";  // "error" in Shift-JIS
static const char VIEW_FAILED_CAPTION[] = "error map ";

HANDLE CreateExchangeMapping() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, EXCHANGE_PROTECTION, 0,
                                        static_cast<DWORD>(EXCHANGE_BLOCK_SIZE), EXCHANGE_BLOCK_NAME);
    if (mapping == nullptr) {
        MessageBoxA(nullptr, MAPPING_FAILED_TEXT, "", MB_OK);
    }
    return mapping;
}

bool MapExchangeBlock(HANDLE mapping) {
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (view == nullptr) {
        MessageBoxA(nullptr, "", VIEW_FAILED_CAPTION, MB_OK);
        return false;
    }
    residentState.exchangeView = static_cast<unsigned char*>(view);
    memset(view, 0, EXCHANGE_BLOCK_SIZE);
    residentState.exchangeView[EXCHANGE_FIRST_OFFSET] = EXCHANGE_FRESH_MARK;
    return true;
}

void ReleaseExchangeBlock(HANDLE mapping) {
    UnmapViewOfFile(residentState.exchangeView);
    residentState.exchangeView = nullptr;
    CloseHandle(mapping);
}
