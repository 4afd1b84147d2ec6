#include "dict_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

DictEntry DictTable[DICT_CAPACITY];
int32_t orderCounter;
void* (*dictAllocate)(size_t size) = malloc;

namespace {

// Index of the words for registration: open addressing over slot numbers + 1 (0 = free).
// A removal builds it anew, so probing needs no tombstones. A power of two well above
// the capacity keeps the chains short.
constexpr uint32_t WORD_INDEX_SIZE = 16384;
static_assert(WORD_INDEX_SIZE > 1.5 * DICT_CAPACITY, "word index too small");
uint16_t wordIndex[WORD_INDEX_SIZE];

// The occupied slots sorted by reading (byte order), so that the readings that begin with
// a query form one run found by binary search. Rebuilt once after a bulk registration.
uint16_t readingIndex[DICT_CAPACITY];
bool bulkRegistration;

int occupied;  // length of the occupied prefix
uint32_t changeCount;  // changes to what a save would write, since the library was loaded

bool ReadingBefore(int a, int b) {
    int order = strcmp(DictTable[a].reading, DictTable[b].reading);
    return order < 0 || (order == 0 && a < b);
}

// First position in readingIndex whose reading is not below text.
int LowerBound(const char* text) {
    return static_cast<int>(std::lower_bound(readingIndex, readingIndex + occupied, text,
                                             [](uint16_t slot, const char* key) {
                                                 return strcmp(DictTable[slot].reading, key) < 0;
                                             }) -
                            readingIndex);
}

void InsertIntoReadingIndex(int slot) {
    uint16_t* end = readingIndex + slot;  // the slot is not counted yet
    uint16_t* at = std::upper_bound(readingIndex, end, static_cast<uint16_t>(slot),
                                    [](uint16_t a, uint16_t b) { return ReadingBefore(a, b); });
    memmove(at + 1, at, static_cast<size_t>(end - at) * sizeof *at);
    *at = static_cast<uint16_t>(slot);
}

uint32_t HashWord(const char* word) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(word); *p != 0; ++p) {
        hash = (hash ^ *p) * 16777619u;
    }
    return hash & (WORD_INDEX_SIZE - 1);
}

// Finds the bucket that holds word, or the free bucket where it belongs.
uint32_t FindBucket(const char* word) {
    uint32_t bucket = HashWord(word);
    while (wordIndex[bucket] != 0) {
        const DictEntry& entry = DictTable[wordIndex[bucket] - 1];
        if (entry.word[0] == word[0] && strcmp(entry.word, word) == 0) {
            break;
        }
        bucket = (bucket + 1) & (WORD_INDEX_SIZE - 1);
    }
    return bucket;
}

// String copies live in blocks of STRING_BLOCK_SIZE bytes, handed out front to back: they
// are never freed one by one, and a load of 10,000 words then costs a few allocations
// instead of 10,000. Each block starts with a pointer to the one before it.
constexpr size_t STRING_BLOCK_SIZE = 64 * 1024;
char* stringBlock;      // the current block
size_t stringBlockUsed;
size_t stringBlockSize;

char* AllocateStrings(size_t size) {
    if (stringBlock == nullptr || size > stringBlockSize - stringBlockUsed) {
        size_t blockSize = sizeof(char*) + (size > STRING_BLOCK_SIZE ? size : STRING_BLOCK_SIZE);
        char* block = static_cast<char*>(dictAllocate(blockSize));
        if (block == nullptr) {
            return nullptr;
        }
        memcpy(block, &stringBlock, sizeof(char*));
        stringBlock = block;
        stringBlockUsed = sizeof(char*);
        stringBlockSize = blockSize;
    }
    char* copy = stringBlock + stringBlockUsed;
    stringBlockUsed += size;
    return copy;
}

void FreeStringBlocks() {
    while (stringBlock != nullptr) {
        char* previous;
        memcpy(&previous, stringBlock, sizeof(char*));
        free(stringBlock);
        stringBlock = previous;
    }
    stringBlockUsed = 0;
    stringBlockSize = 0;
}

// Stores copies of word and reading; false when there is no memory for them.
bool StoreNewEntry(int slot, const char* word, const char* reading) {
    size_t wordSize = strlen(word) + 1;
    size_t readingSize = strlen(reading) + 1;
    char* copy = AllocateStrings(wordSize + readingSize);
    if (copy == nullptr) {
        return false;
    }
    memcpy(copy, word, wordSize);
    memcpy(copy + wordSize, reading, readingSize);
    DictEntry& entry = DictTable[slot];
    entry.order = ++orderCounter;
    entry.word = copy;
    entry.reading = copy + wordSize;
    return true;
}

}  // namespace

int DictRegister(const char* word, const char* reading) {
    uint32_t bucket = FindBucket(word);
    if (wordIndex[bucket] != 0) {
        DictEntry& entry = DictTable[wordIndex[bucket] - 1];
        // The most recent word refreshed again leaves the file as it was.
        if (!bulkRegistration && entry.order != orderCounter) {
            ++changeCount;
        }
        entry.order = ++orderCounter;
        return 1;
    }
    if (occupied == DICT_CAPACITY || !StoreNewEntry(occupied, word, reading)) {
        return 0;
    }
    wordIndex[bucket] = static_cast<uint16_t>(occupied + 1);
    if (!bulkRegistration) {
        InsertIntoReadingIndex(occupied);
        ++changeCount;
    }
    ++occupied;
    return 1;
}

int DictFindWord(const char* word) {
    uint32_t bucket = FindBucket(word);
    return wordIndex[bucket] != 0 ? wordIndex[bucket] - 1 : -1;
}

uint32_t DictChangeCount() {
    return changeCount;
}

int DictCount() {
    return occupied;
}

int CompareOrderDesc(const void* p, const void* q) {
    int32_t a = DictTable[*static_cast<const int*>(p)].order;
    int32_t b = DictTable[*static_cast<const int*>(q)].order;
    return a > b ? -1 : (a < b ? 1 : 0);
}

// Order numbers are distinct, so this gives the same sequence as qsort with
// CompareOrderDesc, without a call through a pointer per comparison.
static void SortByRecency(int* indices, int count) {
    std::sort(indices, indices + count,
              [](int a, int b) { return DictTable[a].order > DictTable[b].order; });
}

int DictSlotsByRecency(int* indices) {
    for (int slot = 0; slot < occupied; ++slot) {
        indices[slot] = slot;
    }
    SortByRecency(indices, occupied);
    return occupied;
}

void DictBeginBulkRegistration() {
    bulkRegistration = true;
}

void DictEndBulkRegistration() {
    bulkRegistration = false;
    for (int slot = 0; slot < occupied; ++slot) {
        readingIndex[slot] = static_cast<uint16_t>(slot);
    }
    std::sort(readingIndex, readingIndex + occupied,
              [](uint16_t a, uint16_t b) { return ReadingBefore(a, b); });
}

int DictFindCandidates(const char* query, int* indices) {
    // A reading begins with the query when its first byte equals the query's and its first
    // strlen(query) bytes equal the query; so an empty query finds only empty readings.
    const size_t length = strlen(query);
    int found = 0;
    for (int at = LowerBound(query); at < occupied; ++at) {
        const char* reading = DictTable[readingIndex[at]].reading;
        if (reading[0] != query[0] || strncmp(reading, query, length) != 0) {
            break;
        }
        indices[found++] = readingIndex[at];
    }
    SortByRecency(indices, found);
    return found;
}

void FormatCandidateLine(int slot, char* line) {
    const DictEntry& entry = DictTable[slot];
    const size_t limit = CANDIDATE_LINE_SIZE - 1;
    size_t used = 0;
    auto append = [&](const char* text, size_t length) {
        size_t room = limit - used;
        size_t take = length < room ? length : room;
        memcpy(line + used, text, take);
        used += take;
    };
    append(entry.word, strlen(entry.word));
    append("\t", 1);
    append(entry.reading, strlen(entry.reading));
    line[used] = '\0';
}

void DictRenumber(int32_t top) {
    for (int slot = 0; slot < occupied; ++slot) {
        DictTable[slot].order = top - slot;
    }
}

namespace {

void RebuildWordIndex() {
    memset(wordIndex, 0, sizeof wordIndex);
    for (int slot = 0; slot < occupied; ++slot) {
        wordIndex[FindBucket(DictTable[slot].word)] = static_cast<uint16_t>(slot + 1);
    }
}

// Drops the slots marked in doomed and closes the gaps, keeping the order of the rest. The
// reading index keeps its order too: slot numbers only shrink, and in the same order.
int RemoveMarked(const bool* doomed) {
    static int movedTo[DICT_CAPACITY];  // the table's thread only
    int kept = 0;
    for (int slot = 0; slot < occupied; ++slot) {
        if (doomed[slot]) {
            movedTo[slot] = -1;
            continue;
        }
        movedTo[slot] = kept;
        DictTable[kept++] = DictTable[slot];
    }
    int removed = occupied - kept;
    if (removed == 0) {
        return 0;
    }
    for (int slot = kept; slot < occupied; ++slot) {
        DictTable[slot] = DictEntry{};
    }
    int at = 0;
    for (int i = 0; i < occupied; ++i) {
        int slot = movedTo[readingIndex[i]];
        if (slot >= 0) {
            readingIndex[at++] = static_cast<uint16_t>(slot);
        }
    }
    occupied = kept;
    RebuildWordIndex();
    ++changeCount;
    return removed;
}

bool doomedSlots[DICT_CAPACITY];  // the table's thread only

}  // namespace

int DictRemoveWord(const char* word, const char* reading) {
    int slot = DictFindWord(word);
    if (slot < 0 || strcmp(DictTable[slot].reading, reading) != 0) {
        return 0;
    }
    memset(doomedSlots, 0, sizeof doomedSlots);
    doomedSlots[slot] = true;
    return RemoveMarked(doomedSlots);
}

int DictRemoveLeastRecent(int count, const bool* keep) {
    static int indices[DICT_CAPACITY];  // the table's thread only
    int total = DictSlotsByRecency(indices);
    memset(doomedSlots, 0, sizeof doomedSlots);
    int marked = 0;
    for (int i = total - 1; i >= 0 && marked < count; --i) {
        if (keep == nullptr || !keep[indices[i]]) {
            doomedSlots[indices[i]] = true;
            ++marked;
        }
    }
    return RemoveMarked(doomedSlots);
}

void DictClear() {
    for (int slot = 0; slot < occupied; ++slot) {
        DictTable[slot] = DictEntry{};
    }
    FreeStringBlocks();
    memset(wordIndex, 0, sizeof wordIndex);
    bulkRegistration = false;
    occupied = 0;
}

void DictClearForTesting() {
    DictClear();
    orderCounter = 0;
    changeCount = 0;
}
