// File operations on Windows.
#include "file_system.h"

#include <windows.h>

static FILE* Open(const char* path, const char* mode) {
    return fopen(path, mode);
}

// No sharing while the file is written: nobody reads a half-written dictionary.
static DictOutFile Create(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

static bool Write(DictOutFile file, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    const size_t MAX_WRITE = 1u << 30;
    while (size > 0) {
        DWORD piece = static_cast<DWORD>(size < MAX_WRITE ? size : MAX_WRITE);
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(file), bytes, piece, &written, nullptr)) {
            return false;
        }
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

static bool FlushToDisk(DictOutFile file) {
    return FlushFileBuffers(static_cast<HANDLE>(file)) != FALSE;
}

static bool CloseOut(DictOutFile file) {
    return CloseHandle(static_cast<HANDLE>(file)) != FALSE;
}

static bool Remove(const char* path) {
    return DeleteFileA(path) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

static bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static bool IsReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when the target name is taken.
static bool RenameNoReplace(const char* from, const char* to) {
    return MoveFileExA(from, to, 0) != 0;
}

static bool Replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

static bool Link(const char* from, const char* to) {
    return CreateHardLinkA(to, from, nullptr) != FALSE;
}

static uint32_t LastError() {
    return GetLastError();
}

static bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != 0;
}

static uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

// Asked through a handle that reads nothing and lets every other program on: an editor or a
// folder-sync program writing the file meanwhile is not disturbed.
static bool Stamp(const char* path, DictFileStamp* stamp) {
    *stamp = DictFileStamp{};
    HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    bool known = GetFileInformationByHandle(file, &info) != FALSE &&
                 (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(file);
    if (known) {
        stamp->volume = info.dwVolumeSerialNumber;
        stamp->identity = Join(info.nFileIndexHigh, info.nFileIndexLow);
        stamp->writeTime = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
        stamp->size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    }
    return known;
}

const DictFileSystem platformFileSystem = {
    Open,   fclose,     Create,          Write,   FlushToDisk, CloseOut,  Remove,
    Exists, IsReadOnly, RenameNoReplace, Replace, Link,        LastError, IsLeadByte,
    Stamp,
};
const DictFileSystem* dictFileSystem = &platformFileSystem;
