// Why a save of the dictionary failed: the step that failed, the system's error code, and
// the kind of failure a user understands. No Windows headers: the error codes are the
// Windows system error codes, which the POSIX file system translates its errno values into.
#pragma once

#include <cstdint>

// The steps of a save, in the order they run.
enum SaveStep : int32_t {
    SAVE_STEP_NONE = 0,        // nothing failed
    SAVE_STEP_NAMES = 1,       // forming the names of the companion files
    SAVE_STEP_IMAGE = 2,       // building the file's content in memory
    SAVE_STEP_CHECK = 3,       // the dictionary file is marked read-only: it is left alone
    SAVE_STEP_CREATE = 4,      // creating the temporary file
    SAVE_STEP_WRITE = 5,       // writing the temporary file
    SAVE_STEP_FLUSH = 6,       // pushing it through to the disk
    SAVE_STEP_CLOSE = 7,       // closing it
    SAVE_STEP_KEEP_ASIDE = 8,  // moving an original the program could not hold out of the way
    SAVE_STEP_REPLACE = 9,     // putting the new file under the dictionary's name
    SAVE_STEP_START = 10,      // starting the worker that writes the file
};

// What a user is told.
enum SaveFailureKind : int32_t {
    SAVE_FAILURE_NONE = 0,
    SAVE_FAILURE_FOLDER_NOT_WRITABLE = 1,  // no file can be created in the folder
    SAVE_FAILURE_DISK_FULL = 2,
    SAVE_FAILURE_FILE_IN_USE = 3,          // another program holds a file, or it cannot be replaced
    SAVE_FAILURE_READ_ONLY = 4,            // the user marked the dictionary file read-only
    SAVE_FAILURE_PATH_UNUSABLE = 5,        // the path is too long, or its folder is gone
    SAVE_FAILURE_OTHER = 6,
};
constexpr int SAVE_FAILURE_KIND_COUNT = 7;

// The Windows system error codes the classification knows.
constexpr uint32_t SYSTEM_ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t SYSTEM_ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t SYSTEM_ERROR_ACCESS_DENIED = 5;
constexpr uint32_t SYSTEM_ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr uint32_t SYSTEM_ERROR_INVALID_DRIVE = 15;
constexpr uint32_t SYSTEM_ERROR_WRITE_PROTECT = 19;
constexpr uint32_t SYSTEM_ERROR_GEN_FAILURE = 31;
constexpr uint32_t SYSTEM_ERROR_SHARING_VIOLATION = 32;
constexpr uint32_t SYSTEM_ERROR_LOCK_VIOLATION = 33;
constexpr uint32_t SYSTEM_ERROR_HANDLE_DISK_FULL = 39;
constexpr uint32_t SYSTEM_ERROR_BAD_NETPATH = 53;
constexpr uint32_t SYSTEM_ERROR_FILE_EXISTS = 80;
constexpr uint32_t SYSTEM_ERROR_DISK_FULL = 112;
constexpr uint32_t SYSTEM_ERROR_INVALID_NAME = 123;
constexpr uint32_t SYSTEM_ERROR_DIR_NOT_EMPTY = 145;
constexpr uint32_t SYSTEM_ERROR_BAD_PATHNAME = 161;
constexpr uint32_t SYSTEM_ERROR_ALREADY_EXISTS = 183;
constexpr uint32_t SYSTEM_ERROR_FILENAME_EXCED_RANGE = 206;
constexpr uint32_t SYSTEM_ERROR_DISK_QUOTA_EXCEEDED = 1295;
constexpr uint32_t SYSTEM_ERROR_USER_MAPPED_FILE = 1224;

// The kind of failure of a step that failed with a system error. SAVE_FAILURE_NONE for
// SAVE_STEP_NONE.
SaveFailureKind SaveFailureKindOf(SaveStep step, uint32_t systemError);

// The outcome of one save.
struct SaveOutcome {
    int32_t saved;             // 1 when the new file is in place under the dictionary's name
    SaveStep step;             // the step that failed; SAVE_STEP_NONE when saved
    SaveFailureKind kind;      // SAVE_FAILURE_NONE when saved
    uint32_t systemError;      // the failing call's system error code; 0 when there is none
    int32_t backupSkipped;     // 1 when saved but the backup could not be renewed (the old one stays)
    int32_t originalKeptAside; // 1 when this save moved an original aside before replacing it
    // 1 when another program changed the dictionary file since the last load or save: it was
    // left as it is (saved 0, no failure kind), to be loaded again first.
    int32_t changedOnDisk;
};

// Fills outcome for a failure at step with systemError.
void SetSaveFailure(SaveOutcome* outcome, SaveStep step, uint32_t systemError);
