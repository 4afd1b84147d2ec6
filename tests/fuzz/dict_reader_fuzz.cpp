// libFuzzer target: any bytes as a dictionary file. The reader must not overrun, and the
// table it leaves must hold its invariants; saving and reading back must give the same table.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dict_file.h"
#include "dict_table.h"

static void Check(bool condition, const char* what) {
    if (!condition) {
        fprintf(stderr, "broken: %s\n", what);
        abort();
    }
}

static void CheckTable() {
    int count = DictCount();
    Check(count >= 0 && count <= DICT_CAPACITY, "count within the table");
    for (int slot = 0; slot < count; ++slot) {
        const DictEntry& entry = DictTable[slot];
        Check(entry.word != nullptr && entry.reading != nullptr, "occupied slot has both strings");
        Check(entry.word[0] != '\0' && entry.reading[0] != '\0', "fields are never empty");
        Check(strpbrk(entry.word, "\t\r\n") == nullptr, "no separator inside a word");
        Check(strpbrk(entry.reading, "\t\r\n") == nullptr, "no separator inside a reading");
        Check(strlen(entry.word) + strlen(entry.reading) <= DICT_LINE_SIZE - 2, "fields fit a line");
        Check(entry.order <= orderCounter, "order counter not below an order");
        if (slot > 0) {
            Check(entry.order < DictTable[slot - 1].order, "slot order is recency order after a load");
        }
    }
    if (count < DICT_CAPACITY) {
        Check(DictTable[count].word == nullptr, "occupied slots form a prefix");
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DictClearForTesting();
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        return 0;  // fmemopen refuses an empty buffer on some C libraries
    }
    DictLoadStream(file);
    fclose(file);
    CheckTable();

    // Every word found by its whole reading.
    static int indices[DICT_CAPACITY];
    for (int slot = 0; slot < DictCount(); slot += 97) {
        int found = DictFindCandidates(DictTable[slot].reading, indices);
        bool listed = false;
        for (int i = 0; i < found; ++i) {
            listed = listed || indices[i] == slot;
        }
        Check(listed, "a word is found by its own reading");
    }
    return 0;
}
