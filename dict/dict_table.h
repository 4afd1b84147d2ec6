// The dictionary table: at most DICT_CAPACITY word/reading pairs in most-recently-used order.
// Pure code, no Windows headers; the list box side lives in conv_function.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int DICT_CAPACITY = 10000;
constexpr size_t CANDIDATE_LINE_SIZE = 1024;  // a candidate line with its NUL

struct DictEntry {
    int32_t order;        // recency stamp, larger = more recent; 0 in an empty slot
    char* word;           // owned copy; null marks an empty slot
    char* reading;        // owned copy; the lookup key
};

// Process-wide dictionary state. Occupied slots form a prefix of the table.
extern DictEntry DictTable[DICT_CAPACITY];
extern int32_t orderCounter;

// Registers a pair: a known word (byte-equal) gets the next order number and keeps its
// reading; a new word goes into the first empty slot. Returns 0 when the table is full and
// the word is new, or when a copy cannot be allocated (the slot then stays empty).
int DictRegister(const char* word, const char* reading);

// The slot of a stored word (byte-equal), or -1.
int DictFindWord(const char* word);

// Counts the registrations that changed what a save writes: a new word, or a known word
// that was not already the most recent. Registrations of a bulk load do not count.
uint32_t DictChangeCount();

// Many registrations in a row (a file load): the lookup index is brought up to date once,
// at the end. No lookup may run in between.
void DictBeginBulkRegistration();
void DictEndBulkRegistration();

// Number of occupied slots (the length of the occupied prefix).
int DictCount();

// Fills indices (room for DICT_CAPACITY) with every occupied slot, most recent first, and
// returns their number.
int DictSlotsByRecency(int* indices);

// qsort comparator over two slot indices (int): the larger order first.
int CompareOrderDesc(const void* p, const void* q);

// Fills indices (room for DICT_CAPACITY) with the slots whose reading begins with query,
// most recent first, and returns how many. An empty query matches only empty readings.
int DictFindCandidates(const char* query, int* indices);

// Formats the candidate line of a slot, "word<TAB>reading", into line (CANDIDATE_LINE_SIZE
// bytes); a longer line is cut to CANDIDATE_LINE_SIZE - 1 bytes.
void FormatCandidateLine(int slot, char* line);

// Gives the occupied slots the order numbers top, top - 1, ... from slot 0 on.
void DictRenumber(int32_t top);

// ---- removing entries: only ever at the user's request ----
// The occupied slots stay a prefix in their order, the indices stay exact, order numbers and
// orderCounter are untouched. The strings of a removed entry stay in their block until the
// table is emptied.

// Removes the entry of word if its reading is reading; 1 when removed, 0 when the table holds
// no such pair.
int DictRemoveWord(const char* word, const char* reading);

// Removes the count least recently used entries, passing over the slots marked in keep (room
// for DICT_CAPACITY flags; null keeps none). Returns how many were removed.
int DictRemoveLeastRecent(int count, const bool* keep = nullptr);

// Empties the table and frees its strings, before the file is loaded again. orderCounter and
// the change count go on from where they were.
void DictClear();

// DictClear, and orderCounter and the change count back to 0: a table as the library is
// loaded. Only for tests and benchmarks.
void DictClearForTesting();

// Allocator of the blocks that hold the string copies; malloc unless a test puts a failing
// one in its place.
extern void* (*dictAllocate)(size_t size);
