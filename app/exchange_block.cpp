// The ExchangeBlock on the resident program's side: created and checked at start-up, its two
// strings copied out for the block-based requests, and the status record whose heartbeat
// tells the hook that the program answers and whose list names the programs it stays out of.
#include <cstring>

#include "candidate_window.h"
#include "exclusion_list.h"
#include "exchange.h"
#include "resident_state.h"
#include "startup.h"

static const DWORD EXCHANGE_PROTECTION = PAGE_READWRITE | SEC_COMMIT;  // 0x08000004
static const char MAPPING_FAILED_TEXT[] = "\x83\x47\x83\x89\x81\x5b";  // "error" in Shift-JIS
static const char VIEW_FAILED_CAPTION[] = "error map ";
static const char WRONG_SIZE_CAPTION[] = "Zelvo";
static const char WRONG_SIZE_TEXT[] =
    "Zelvo を起動できません。\n\n"
    "別のプログラムが共有メモリ「zelvoservermappingfile」を異なる大きさで使っています。"
    "そのプログラムを終了してから、Zelvo をもう一度起動してください。";

HANDLE CreateExchangeMapping() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, EXCHANGE_PROTECTION, 0,
                                        static_cast<DWORD>(EXCHANGE_BLOCK_SIZE), EXCHANGE_BLOCK_NAME);
    if (mapping == nullptr) {
        MessageBoxA(nullptr, MAPPING_FAILED_TEXT, "", MB_OK);
    }
    return mapping;
}

// An object that already held the name is reused as it is: one of another size is not the
// block, and clearing 64 KiB of it would run past its end.
static bool ViewIsWholeBlock(const void* view) {
    MEMORY_BASIC_INFORMATION region = {};
    return VirtualQuery(view, &region, sizeof region) == sizeof region &&
           region.RegionSize == EXCHANGE_BLOCK_SIZE;
}

static ExchangeStatus* Status() {
    return reinterpret_cast<ExchangeStatus*>(residentState.exchangeView + EXCHANGE_STATUS_OFFSET);
}

bool MapExchangeBlock(HANDLE mapping) {
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (view == nullptr) {
        MessageBoxA(nullptr, "", VIEW_FAILED_CAPTION, MB_OK);
        return false;
    }
    if (!ViewIsWholeBlock(view)) {
        UnmapViewOfFile(view);
        MessageBoxA(nullptr, WRONG_SIZE_TEXT, WRONG_SIZE_CAPTION, MB_OK | MB_ICONERROR);
        return false;
    }
    residentState.exchangeView = static_cast<unsigned char*>(view);
    memset(view, 0, EXCHANGE_BLOCK_SIZE);
    residentState.exchangeView[EXCHANGE_FIRST_OFFSET] = EXCHANGE_FRESH_MARK;
    Status()->size = sizeof(ExchangeStatus);
    return true;
}

void ReleaseExchangeBlock(HANDLE mapping) {
    UnmapViewOfFile(residentState.exchangeView);
    residentState.exchangeView = nullptr;
    CloseHandle(mapping);
}

void CountHeartbeat() {
    if (residentState.exchangeView != nullptr) {
        volatile uint32_t* heartbeat = &Status()->heartbeat;
        *heartbeat = *heartbeat + 1;  // one aligned 32-bit store; only this thread writes it
    }
}

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

// The generation is odd while the names change: a hook that reads them meanwhile sees it
// differ before and after, and decides at a later message.
void PublishExclusions(const WCHAR (*names)[EXCLUSION_NAME_CHARS], int count) {
    if (residentState.exchangeView == nullptr) {
        return;
    }
    volatile ExclusionList* list = &Status()->exclusions;
    uint32_t generation = residentState.exclusionGeneration;
    list->generation = generation + 1;
    MemoryBarrier();
    const char16_t* upper[EXCLUSION_MAX_NAMES];
    static WCHAR upperNames[EXCLUSION_MAX_NAMES][EXCLUSION_NAME_CHARS];
    int taken = count < EXCLUSION_MAX_NAMES ? count : EXCLUSION_MAX_NAMES;
    for (int i = 0; i < taken; ++i) {
        lstrcpynW(upperNames[i], names[i], EXCLUSION_NAME_CHARS);
        CharUpperBuffW(upperNames[i], lstrlenW(upperNames[i]));
        upper[i] = reinterpret_cast<const char16_t*>(upperNames[i]);
    }
    uint16_t text[EXCLUSION_TEXT_CHARS];
    uint32_t packed = PackExclusionNames(upper, taken, text);
    memcpy(const_cast<uint16_t*>(list->text), text, sizeof text);
    list->count = packed;
    MemoryBarrier();
    residentState.exclusionGeneration = generation + 2;
    list->generation = generation + 2;
}
