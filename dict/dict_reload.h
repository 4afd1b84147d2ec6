// Loading the dictionary file again while the program runs, after another program (the
// user's editor, a folder-sync program) changed it: the file's content takes the table's
// place, and the words learned since the program's own last save are put back in front of
// it, most recent first, as if they had been registered after the load.
#pragma once

#include <cstdint>

// The merge rule. The table holds what the file held (just loaded); words and readings are
// the learned pairs, count of them, words[0] the most recent. Registers them oldest first, so
// that they come first in that order. When the table cannot hold them beside the loaded
// words, the least recent of the loaded words that are not learned ones give way. Returns
// true when some had to: the file then held more than the table keeps.
bool DictMergeLearned(const char* const* words, const char* const* readings, int count);

enum DictReloadResult {
    DICT_RELOAD_NOT_READ = 0,  // the file could not be opened (still being written, gone): nothing changed
    DICT_RELOAD_SAME = 1,      // loaded; nothing learned since the last save: the table is the file
    DICT_RELOAD_MERGED = 2,    // loaded, and learned words were put back in front: a save is due
};

// Loads path again in the table's place and merges the words registered since the last
// load or save that succeeded (dictDisk.savedMark). The load note and dictDisk then describe
// the file as read. Never while a save of the table is in flight (the caller sees to it).
DictReloadResult DictReload(const char* path);
