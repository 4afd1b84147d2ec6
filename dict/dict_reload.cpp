#include "dict_reload.h"

#include <cstdlib>
#include <cstring>

#include "dict_file.h"
#include "dict_table.h"
#include "file_system.h"

bool DictMergeLearned(const char* const* words, const char* const* readings, int count) {
    static bool learnedSlot[DICT_CAPACITY];  // the table's thread only
    memset(learnedSlot, 0, sizeof learnedSlot);
    int fresh = 0;
    for (int i = 0; i < count; ++i) {
        int slot = DictFindWord(words[i]);
        if (slot >= 0) {
            learnedSlot[slot] = true;
        } else {
            ++fresh;
        }
    }
    int needed = DictCount() + fresh - DICT_CAPACITY;
    bool gaveWay = needed > 0 && DictRemoveLeastRecent(needed, learnedSlot) > 0;
    for (int i = count - 1; i >= 0; --i) {
        DictRegister(words[i], readings[i]);
    }
    return gaveWay;
}

namespace {

// The pairs registered since the last save, most recent first, copied out of the table
// (whose strings go with the reload). The table's thread only.
struct LearnedPairs {
    int count;
    char* strings;  // one block holding every copy
    const char* words[DICT_CAPACITY];
    const char* readings[DICT_CAPACITY];
};
LearnedPairs learned;

bool CollectLearned(int32_t mark) {
    static int indices[DICT_CAPACITY];
    int total = DictSlotsByRecency(indices);
    int count = 0;
    size_t size = 0;
    while (count < total && DictTable[indices[count]].order > mark) {
        const DictEntry& entry = DictTable[indices[count++]];
        size += strlen(entry.word) + strlen(entry.reading) + 2;
    }
    learned.count = 0;
    learned.strings = nullptr;
    if (count == 0) {
        return true;
    }
    learned.strings = static_cast<char*>(dictAllocate(size));
    if (learned.strings == nullptr) {
        return false;
    }
    char* out = learned.strings;
    for (int i = 0; i < count; ++i) {
        const DictEntry& entry = DictTable[indices[i]];
        size_t wordSize = strlen(entry.word) + 1;
        size_t readingSize = strlen(entry.reading) + 1;
        memcpy(out, entry.word, wordSize);
        learned.words[i] = out;
        out += wordSize;
        memcpy(out, entry.reading, readingSize);
        learned.readings[i] = out;
        out += readingSize;
    }
    learned.count = count;
    return true;
}

}  // namespace

DictReloadResult DictReload(const char* path) {
    DictFileStamp before;
    dictFileSystem->stamp(path, &before);
    FILE* file = dictFileSystem->open(path, "rb");
    if (file == nullptr) {
        return DICT_RELOAD_NOT_READ;
    }
    if (!CollectLearned(dictDisk.savedMark)) {
        dictFileSystem->close(file);
        return DICT_RELOAD_NOT_READ;  // no memory for the copies just now: tried again later
    }
    DictClear();
    bool lossy = DictLoadStream(file);
    dictFileSystem->close(file);
    // The table now is the file, as read: a change while it was read shows as a change.
    dictDisk.stamp = before;
    dictDisk.savedMark = orderCounter;
    bool gaveWay = DictMergeLearned(learned.words, learned.readings, learned.count);
    free(learned.strings);
    learned.strings = nullptr;
    // An original kept aside from an earlier load is no longer on disk: this file replaced it.
    dictLoadNote.keepAsidePending = false;
    DictNoteLoad(path, lossy || gaveWay, false);
    int merged = learned.count;
    learned.count = 0;
    return merged > 0 ? DICT_RELOAD_MERGED : DICT_RELOAD_SAME;
}
