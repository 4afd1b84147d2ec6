// File operations on POSIX systems (the native build of the tests and benchmarks).
#include "file_system.h"

#include <unistd.h>

#include <cerrno>

#include "path_split.h"

static FILE* Open(const char* path, const char* mode) {
    return fopen(path, mode);
}

static bool Write(const void* data, size_t size, FILE* file) {
    return fwrite(data, 1, size, file) == size;
}

static bool FlushToDisk(FILE* file) {
    return fflush(file) == 0 && fsync(fileno(file)) == 0;
}

static void Remove(const char* path) {
    remove(path);
}

static bool Exists(const char* path) {
    return access(path, F_OK) == 0;
}

// rename() would replace an existing target: link the new name first, which fails with
// EEXIST when it is taken, then drop the old one.
static bool RenameNoReplace(const char* from, const char* to) {
    if (link(from, to) == 0) {
        return unlink(from) == 0;
    }
    if (errno == EEXIST || Exists(to)) {
        return false;
    }
    // File systems without hard links: a plain rename, now that the target is known free.
    return rename(from, to) == 0;
}

const DictFileSystem platformFileSystem = {
    Open, Write, FlushToDisk, fclose, Remove, Exists, RenameNoReplace, IsCp932LeadByte,
};
const DictFileSystem* dictFileSystem = &platformFileSystem;
