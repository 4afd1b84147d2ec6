// The list of programs the user keeps Zelvo out of, as it travels in the ExchangeBlock's
// status record (ExclusionList in exchange.h): packed by the resident program, read by the
// hook in each process, which decides once per list whether its own program is on it. No
// Windows headers. Names are compared exactly: both sides upper-case them the same way first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "exchange.h"

// The file name of a program path: what follows its last '\' or '/'.
const char16_t* ProgramFileName(const char16_t* path);

// Packs names (count of them, each NUL-terminated) into text (EXCLUSION_TEXT_CHARS units):
// each name with its NUL, one after the other. An empty name, or one of EXCLUSION_NAME_CHARS
// characters or more, is left out; so is every name once EXCLUSION_MAX_NAMES are packed.
// Returns how many were packed.
uint32_t PackExclusionNames(const char16_t* const* names, int count, uint16_t* text);

// True when text (count names, as packed above; at most EXCLUSION_TEXT_CHARS units are read)
// holds name.
bool ExclusionNamesHold(const uint16_t* text, uint32_t count, const char16_t* name);

// True when the generations read before and after the names say that one whole list was
// read: the same, even and not 0. Otherwise (no list yet, or one being rewritten) the process
// stays in and decides at a later message.
bool ExclusionListSettled(uint32_t before, uint32_t after);
