// File operations on POSIX systems (the native build of the tests and benchmarks).
#include "file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "path_split.h"
#include "save_failure.h"

static FILE* Open(const char* path, const char* mode) {
    return fopen(path, mode);
}

// The descriptor is kept as descriptor + 1, so that descriptor 0 is not a null file.
static int Descriptor(DictOutFile file) {
    return static_cast<int>(reinterpret_cast<intptr_t>(file)) - 1;
}

static DictOutFile Create(const char* path) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    return fd < 0 ? nullptr : reinterpret_cast<DictOutFile>(static_cast<intptr_t>(fd) + 1);
}

static bool Write(DictOutFile file, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = write(Descriptor(file), bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

static bool FlushToDisk(DictOutFile file) {
    return fsync(Descriptor(file)) == 0;
}

static bool CloseOut(DictOutFile file) {
    return close(Descriptor(file)) == 0;
}

static bool Remove(const char* path) {
    return unlink(path) == 0 || errno == ENOENT;
}

static bool Exists(const char* path) {
    return access(path, F_OK) == 0;
}

static bool IsReadOnly(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0;
}

// rename() would replace an existing target: link the new name first, which fails with
// EEXIST when it is taken, then drop the old one.
static bool RenameNoReplace(const char* from, const char* to) {
    if (link(from, to) == 0) {
        return unlink(from) == 0;
    }
    if (errno == EEXIST || Exists(to)) {
        errno = EEXIST;
        return false;
    }
    // File systems without hard links: a plain rename, now that the target is known free.
    return rename(from, to) == 0;
}

static bool Replace(const char* from, const char* to) {
    return rename(from, to) == 0;
}

static bool Link(const char* from, const char* to) {
    return link(from, to) == 0;
}

// errno as the Windows system error that the same failure gives there.
static uint32_t LastError() {
    switch (errno) {
    case 0:
        return 0;
    case EACCES:
    case EPERM:
    case EISDIR:
        return SYSTEM_ERROR_ACCESS_DENIED;
    case EROFS:
        return SYSTEM_ERROR_WRITE_PROTECT;
    case ENOSPC:
        return SYSTEM_ERROR_DISK_FULL;
    case EDQUOT:
        return SYSTEM_ERROR_DISK_QUOTA_EXCEEDED;
    case EBUSY:
    case ETXTBSY:
        return SYSTEM_ERROR_SHARING_VIOLATION;
    case ENOENT:
        return SYSTEM_ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return SYSTEM_ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG:
        return SYSTEM_ERROR_FILENAME_EXCED_RANGE;
    case EEXIST:
        return SYSTEM_ERROR_FILE_EXISTS;
    case ENOTEMPTY:
        return SYSTEM_ERROR_DIR_NOT_EMPTY;
    case ENOMEM:
        return SYSTEM_ERROR_NOT_ENOUGH_MEMORY;
    default:
        return SYSTEM_ERROR_GEN_FAILURE;
    }
}

static bool Stamp(const char* path, DictFileStamp* stamp) {
    *stamp = DictFileStamp{};
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    stamp->volume = static_cast<uint64_t>(status.st_dev);
    stamp->identity = static_cast<uint64_t>(status.st_ino);
    stamp->writeTime = static_cast<uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                       static_cast<uint64_t>(status.st_mtim.tv_nsec);
    stamp->size = static_cast<uint64_t>(status.st_size);
    return true;
}

const DictFileSystem platformFileSystem = {
    Open,   fclose,     Create,          Write,   FlushToDisk, CloseOut,  Remove,
    Exists, IsReadOnly, RenameNoReplace, Replace, Link,        LastError, IsCp932LeadByte,
    Stamp,
};
const DictFileSystem* dictFileSystem = &platformFileSystem;
