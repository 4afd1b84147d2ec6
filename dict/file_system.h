// The file operations the dictionary file needs, one table per platform. Tests put a table
// of their own in place to make a chosen operation fail.
#pragma once

#include <cstddef>
#include <cstdio>

struct DictFileSystem {
    FILE* (*open)(const char* path, const char* mode);
    // Writes size bytes; true when all of them were written.
    bool (*write)(const void* data, size_t size, FILE* file);
    // Pushes what was written through to the disk; true on success.
    bool (*flushToDisk)(FILE* file);
    // 0 on success, like fclose.
    int (*close)(FILE* file);
    void (*remove)(const char* path);
    bool (*exists)(const char* path);
    // Renames from to to; fails, and never replaces it, when a file named to exists.
    bool (*renameNoReplace)(const char* from, const char* to);
    // True for a byte that starts a double-byte character of the ANSI code page.
    bool (*isLeadByte)(unsigned char byte);
};

extern const DictFileSystem platformFileSystem;
extern const DictFileSystem* dictFileSystem;  // platformFileSystem unless a test swaps it
