// Reads the hook library's shared state from outside, without any export: the section of
// the loaded module whose name is ".shared", found through the module's PE headers.
#pragma once

#include <windows.h>

#include <cstring>

#include "hook_state.h"

// The shared state inside module, or null when the module has no section of that name, the
// section is not marked read, write and shared, or it is too small for the state.
inline const HookSharedState* FindSharedState(HMODULE module) {
    if (module == nullptr) {
        return nullptr;
    }
    const unsigned char* base = reinterpret_cast<const unsigned char*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const DWORD wanted = IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_SHARED;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (memcmp(section->Name, ".shared\0", IMAGE_SIZEOF_SHORT_NAME) != 0) {
            continue;
        }
        if ((section->Characteristics & wanted) != wanted ||
            section->Misc.VirtualSize < sizeof(HookSharedState)) {
            return nullptr;
        }
        return reinterpret_cast<const HookSharedState*>(base + section->VirtualAddress);
    }
    return nullptr;
}
