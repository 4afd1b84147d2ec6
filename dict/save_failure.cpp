#include "save_failure.h"

namespace {

bool IsDiskFull(uint32_t error) {
    return error == SYSTEM_ERROR_DISK_FULL || error == SYSTEM_ERROR_HANDLE_DISK_FULL ||
           error == SYSTEM_ERROR_DISK_QUOTA_EXCEEDED;
}

bool IsInUse(uint32_t error) {
    return error == SYSTEM_ERROR_SHARING_VIOLATION || error == SYSTEM_ERROR_LOCK_VIOLATION ||
           error == SYSTEM_ERROR_USER_MAPPED_FILE;
}

bool IsBadPath(uint32_t error) {
    return error == SYSTEM_ERROR_FILE_NOT_FOUND || error == SYSTEM_ERROR_PATH_NOT_FOUND ||
           error == SYSTEM_ERROR_INVALID_DRIVE || error == SYSTEM_ERROR_BAD_NETPATH ||
           error == SYSTEM_ERROR_INVALID_NAME || error == SYSTEM_ERROR_BAD_PATHNAME ||
           error == SYSTEM_ERROR_FILENAME_EXCED_RANGE;
}

bool IsDenied(uint32_t error) {
    return error == SYSTEM_ERROR_ACCESS_DENIED || error == SYSTEM_ERROR_WRITE_PROTECT;
}

// A step that renames: a name taken or access refused means a file that cannot be moved
// or replaced.
bool IsRenameStep(SaveStep step) {
    return step == SAVE_STEP_KEEP_ASIDE || step == SAVE_STEP_REPLACE;
}

}  // namespace

SaveFailureKind SaveFailureKindOf(SaveStep step, uint32_t systemError) {
    switch (step) {
    case SAVE_STEP_NONE:
        return SAVE_FAILURE_NONE;
    case SAVE_STEP_NAMES:
        return SAVE_FAILURE_PATH_UNUSABLE;
    case SAVE_STEP_CHECK:
        return SAVE_FAILURE_READ_ONLY;
    default:
        break;
    }
    if (IsDiskFull(systemError)) {
        return SAVE_FAILURE_DISK_FULL;
    }
    if (IsInUse(systemError)) {
        return SAVE_FAILURE_FILE_IN_USE;
    }
    if (IsBadPath(systemError)) {
        return SAVE_FAILURE_PATH_UNUSABLE;
    }
    if (IsDenied(systemError)) {
        // Creating the temporary file needs the folder; a rename needs the files as well.
        if (step == SAVE_STEP_CREATE) {
            return SAVE_FAILURE_FOLDER_NOT_WRITABLE;
        }
        if (IsRenameStep(step)) {
            return SAVE_FAILURE_FILE_IN_USE;
        }
    }
    if (IsRenameStep(step) && (systemError == SYSTEM_ERROR_FILE_EXISTS ||
                               systemError == SYSTEM_ERROR_ALREADY_EXISTS ||
                               systemError == SYSTEM_ERROR_DIR_NOT_EMPTY)) {
        return SAVE_FAILURE_FILE_IN_USE;
    }
    return SAVE_FAILURE_OTHER;
}

void SetSaveFailure(SaveOutcome* outcome, SaveStep step, uint32_t systemError) {
    outcome->saved = 0;
    outcome->step = step;
    outcome->systemError = systemError;
    outcome->kind = SaveFailureKindOf(step, systemError);
}
