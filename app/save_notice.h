// What the user reads about the dictionary file: the balloon after a failed save, the box
// at exit when learning could not be saved, the balloon at start-up when the file holds
// more than the program can. Shift-JIS texts (resources/notice_texts.h). No Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "path_split.h"
#include "save_failure.h"

// The sizes of a balloon's fields, NUL included.
constexpr size_t NOTICE_TITLE_SIZE = 64;
constexpr size_t NOTICE_TEXT_SIZE = 256;
constexpr size_t EXIT_BOX_TEXT_SIZE = 1024;

struct Notice {
    char title[NOTICE_TITLE_SIZE];
    char text[NOTICE_TEXT_SIZE];
};

// The reason a user understands, for a kind of failure.
const char* SaveFailureReason(SaveFailureKind kind);

// The balloon after a failed save of path: the reason, the system error (when there is
// one), what becomes of the learning, and the path, shortened in the middle when the text
// would not fit.
void SaveFailureNotice(SaveFailureKind kind, uint32_t systemError, const char* path, Notice* notice,
                       LeadBytePredicate isLeadByte = IsCp932LeadByte);

// The text of the box at exit: the path, the reason, the system error, what Retry and
// Cancel do. Into out, EXIT_BOX_TEXT_SIZE bytes.
void ExitSaveFailureText(SaveFailureKind kind, uint32_t systemError, const char* path, char* out,
                         LeadBytePredicate isLeadByte = IsCp932LeadByte);

// The balloon at start-up after a load that could not hold the whole of path: where the
// original goes (its file name, in the same folder) and the path.
void KeptAsideNotice(const char* path, const char* keptAsidePath, Notice* notice,
                     LeadBytePredicate isLeadByte = IsCp932LeadByte);

// The question before the least recently used words are cleared out of a dictionary of
// words: how many go, that it cannot be undone, how many remain. Into out, EXIT_BOX_TEXT_SIZE
// bytes.
void CleanUpQuestion(int words, int removed, char* out);

// path into out (size bytes with the NUL); a path that does not fit keeps its beginning and
// its end, with "..." between, and is never cut inside a double-byte character.
void FitPath(const char* path, char* out, size_t size, LeadBytePredicate isLeadByte = IsCp932LeadByte);
