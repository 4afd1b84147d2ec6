// File operations on Windows.
#include "file_system.h"

#include <io.h>
#include <windows.h>

static FILE* Open(const char* path, const char* mode) {
    return fopen(path, mode);
}

static bool Write(const void* data, size_t size, FILE* file) {
    return fwrite(data, 1, size, file) == size;
}

static bool FlushToDisk(FILE* file) {
    return fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

static void Remove(const char* path) {
    DeleteFileA(path);
}

static bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when the target name is taken.
static bool RenameNoReplace(const char* from, const char* to) {
    return MoveFileExA(from, to, 0) != 0;
}

static bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != 0;
}

const DictFileSystem platformFileSystem = {
    Open, Write, FlushToDisk, fclose, Remove, Exists, RenameNoReplace, IsLeadByte,
};
const DictFileSystem* dictFileSystem = &platformFileSystem;
