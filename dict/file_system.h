// The file operations the dictionary file needs, one table per platform. Tests put a table
// of their own in place to make a chosen operation fail. Reading goes through the C
// library's streams; a save writes through a file of the system's own, so that a failure
// comes with the system's error code (lastError, right after the failing call, on the
// thread that made it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

typedef void* DictOutFile;  // a file open for writing; null when none

// What tells one state of a file on disk from another: which file it is (a file put in its
// place by a rename is another one), when it was last written and how long it is.
struct DictFileStamp {
    uint64_t volume;
    uint64_t identity;
    uint64_t writeTime;
    uint64_t size;
};

inline bool SameFileStamp(const DictFileStamp& a, const DictFileStamp& b) {
    return a.volume == b.volume && a.identity == b.identity && a.writeTime == b.writeTime &&
           a.size == b.size;
}

struct DictFileSystem {
    // Reading: a stream opened with mode "rb", closed with close (0 on success, as fclose).
    FILE* (*open)(const char* path, const char* mode);
    int (*close)(FILE* file);
    // Writing: creates path, or empties an existing file, for writing; null on failure.
    DictOutFile (*create)(const char* path);
    // Writes size bytes; true when all of them were written.
    bool (*write)(DictOutFile file, const void* data, size_t size);
    // Pushes what was written through to the disk; true on success.
    bool (*flushToDisk)(DictOutFile file);
    // Closes the file; true on success. The file is closed either way.
    bool (*closeOut)(DictOutFile file);
    // Deletes path; true when no file of that name is left (also when there was none).
    bool (*remove)(const char* path);
    bool (*exists)(const char* path);
    // True for an existing file the user marked read-only (not for a folder).
    bool (*isReadOnly)(const char* path);
    // Renames from to to; fails, and never replaces it, when a file named to exists.
    bool (*renameNoReplace)(const char* from, const char* to);
    // Renames from to to in one step, replacing a file named to, through to the disk.
    bool (*replace)(const char* from, const char* to);
    // Gives the file from the second name to, without a copy; fails when a file named to
    // exists, or when the file system has no such links.
    bool (*link)(const char* from, const char* to);
    // The Windows system error code of the last failing call of this thread.
    uint32_t (*lastError)();
    // True for a byte that starts a double-byte character of the ANSI code page.
    bool (*isLeadByte)(unsigned char byte);
    // The stamp of the file at path; false when there is no file of that name (or it cannot
    // be asked), *stamp then all zero.
    bool (*stamp)(const char* path, DictFileStamp* stamp);
};

extern const DictFileSystem platformFileSystem;
extern const DictFileSystem* dictFileSystem;  // platformFileSystem unless a test swaps it
