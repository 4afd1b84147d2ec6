// Whether this process's program is on the list of programs the user keeps Zelvo out of.
// The list lives in the ExchangeBlock's status record; the process compares its own program
// file name with it once, and again only when the resident program publishes a new list
// (its generation moves on). Every routed message costs one read of the generation.
#include <cstddef>

#include "exclusion_list.h"
#include "hook_operations.h"

static const volatile ExclusionList* PublishedList() {
    if (!OpenExchangeView(EXCHANGE_FOR_STATUS)) {
        return nullptr;
    }
    const volatile ExchangeStatus* status =
        reinterpret_cast<const volatile ExchangeStatus*>(hookProcess.exchangeView + EXCHANGE_STATUS_OFFSET);
    if (status->size < offsetof(ExchangeStatus, exclusions) + sizeof(ExclusionList)) {
        return nullptr;  // a resident program that publishes no list
    }
    return &status->exclusions;
}

// The program file name of this process, upper-cased as the resident program keeps the list.
static bool OwnProgramName(WCHAR* name, DWORD size) {
    WCHAR path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        return false;
    }
    const char16_t* file = ProgramFileName(reinterpret_cast<const char16_t*>(path));
    if (lstrlenW(reinterpret_cast<const WCHAR*>(file)) >= static_cast<int>(size)) {
        return false;
    }
    lstrcpyW(name, reinterpret_cast<const WCHAR*>(file));
    CharUpperBuffW(name, lstrlenW(name));
    return true;
}

bool ProcessExcluded() {
    const volatile ExclusionList* list = PublishedList();
    if (list == nullptr) {
        return false;
    }
    uint32_t before = list->generation;
    if (before == hookProcess.exclusionGeneration) {
        return hookProcess.excluded;
    }
    MemoryBarrier();
    WCHAR name[EXCLUSION_NAME_CHARS];
    bool held = OwnProgramName(name, EXCLUSION_NAME_CHARS) &&
                ExclusionNamesHold(const_cast<const uint16_t*>(list->text), list->count,
                                   reinterpret_cast<const char16_t*>(name));
    MemoryBarrier();
    uint32_t after = list->generation;
    if (!ExclusionListSettled(before, after)) {
        return false;  // no list yet, or one being rewritten: decided at a later message
    }
    // The decision before its generation: a thread that finds the generation finds it too.
    hookProcess.excluded = held;
    hookProcess.exclusionGeneration = before;
    TraceTo(TraceViewer(), "excluded %d ", held ? 1 : 0);
    return held;
}
