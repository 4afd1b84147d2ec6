#include "save_notice.h"

#include <cstdio>
#include <cstring>

#include "notice_texts.h"

namespace {

const char ELLIPSIS[] = "...";
const size_t ELLIPSIS_LENGTH = sizeof ELLIPSIS - 1;
const size_t KEPT_ASIDE_NAME_ROOM = 80;  // the rest of the balloon is the dictionary's path

size_t CharacterLength(const char* at, LeadBytePredicate isLeadByte) {
    return isLeadByte(static_cast<unsigned char>(at[0])) && at[1] != '\0' ? 2 : 1;
}

// The last character boundary of text at or before limit.
size_t BoundaryBefore(const char* text, size_t limit, LeadBytePredicate isLeadByte) {
    size_t at = 0;
    while (text[at] != '\0' && at + CharacterLength(text + at, isLeadByte) <= limit) {
        at += CharacterLength(text + at, isLeadByte);
    }
    return at;
}

// The first character boundary of text at or after from.
size_t BoundaryAfter(const char* text, size_t from, LeadBytePredicate isLeadByte) {
    size_t at = 0;
    while (text[at] != '\0' && at < from) {
        at += CharacterLength(text + at, isLeadByte);
    }
    return at;
}

// Appends to a NUL-terminated text in a buffer of a fixed size, cutting at its end.
struct TextBuilder {
    char* out;
    size_t size;
    size_t used;
};

TextBuilder StartText(char* out, size_t size) {
    out[0] = '\0';
    return TextBuilder{out, size, 0};
}

void Append(TextBuilder* text, const char* piece) {
    size_t length = strlen(piece);
    size_t room = text->size - 1 - text->used;
    size_t take = length < room ? length : room;
    memcpy(text->out + text->used, piece, take);
    text->used += take;
    text->out[text->used] = '\0';
}

void AppendErrorCode(TextBuilder* text, uint32_t systemError) {
    if (systemError != 0) {
        char code[48];
        snprintf(code, sizeof code, NOTICE_ERROR_CODE, static_cast<unsigned long>(systemError));
        Append(text, code);
    }
}

// The path in whatever room is left.
void AppendFittedPath(TextBuilder* text, const char* path, LeadBytePredicate isLeadByte) {
    FitPath(path, text->out + text->used, text->size - text->used, isLeadByte);
    text->used += strlen(text->out + text->used);
}

void SetTitle(Notice* notice, const char* title) {
    TextBuilder builder = StartText(notice->title, sizeof notice->title);
    Append(&builder, title);
}

}  // namespace

const char* SaveFailureReason(SaveFailureKind kind) {
    switch (kind) {
    case SAVE_FAILURE_FOLDER_NOT_WRITABLE:
        return NOTICE_REASON_FOLDER;
    case SAVE_FAILURE_DISK_FULL:
        return NOTICE_REASON_DISK_FULL;
    case SAVE_FAILURE_FILE_IN_USE:
        return NOTICE_REASON_IN_USE;
    case SAVE_FAILURE_READ_ONLY:
        return NOTICE_REASON_READ_ONLY;
    case SAVE_FAILURE_PATH_UNUSABLE:
        return NOTICE_REASON_PATH;
    default:
        return NOTICE_REASON_OTHER;
    }
}

void FitPath(const char* path, char* out, size_t size, LeadBytePredicate isLeadByte) {
    size_t length = strlen(path);
    if (length < size) {
        memcpy(out, path, length + 1);
        return;
    }
    if (size <= ELLIPSIS_LENGTH + 2) {
        size_t kept = size > 0 ? BoundaryBefore(path, size - 1, isLeadByte) : 0;
        if (size > 0) {
            memcpy(out, path, kept);
            out[kept] = '\0';
        }
        return;
    }
    // The end names the file, which matters most: it gets two thirds of the room.
    size_t room = size - 1 - ELLIPSIS_LENGTH;
    size_t head = BoundaryBefore(path, room - room * 2 / 3, isLeadByte);
    size_t tailStart = BoundaryAfter(path, length - (room - head), isLeadByte);
    memcpy(out, path, head);
    memcpy(out + head, ELLIPSIS, ELLIPSIS_LENGTH);
    memcpy(out + head + ELLIPSIS_LENGTH, path + tailStart, length - tailStart + 1);
}

void SaveFailureNotice(SaveFailureKind kind, uint32_t systemError, const char* path, Notice* notice,
                       LeadBytePredicate isLeadByte) {
    SetTitle(notice, NOTICE_TITLE_SAVE_FAILED);
    TextBuilder text = StartText(notice->text, sizeof notice->text);
    Append(&text, SaveFailureReason(kind));
    AppendErrorCode(&text, systemError);
    Append(&text, kind == SAVE_FAILURE_READ_ONLY ? NOTICE_NEVER_REPLACED : NOTICE_RETRY_LATER);
    Append(&text, "\n");
    AppendFittedPath(&text, path, isLeadByte);
}

void ExitSaveFailureText(SaveFailureKind kind, uint32_t systemError, const char* path, char* out,
                         LeadBytePredicate isLeadByte) {
    TextBuilder text = StartText(out, EXIT_BOX_TEXT_SIZE);
    Append(&text, NOTICE_EXIT_INTRO);
    Append(&text, "\n\n" NOTICE_EXIT_FILE);
    AppendFittedPath(&text, path, isLeadByte);
    Append(&text, "\n" NOTICE_EXIT_REASON);
    Append(&text, SaveFailureReason(kind));
    AppendErrorCode(&text, systemError);
    Append(&text, "\n\n" NOTICE_EXIT_CHOICE);
}

void KeptAsideNotice(const char* path, const char* keptAsidePath, Notice* notice, LeadBytePredicate isLeadByte) {
    SetTitle(notice, NOTICE_TITLE_KEPT_ASIDE);
    PathParts parts;
    SplitPath(keptAsidePath, &parts, isLeadByte);
    char fileName[sizeof parts.name + sizeof parts.ext];
    snprintf(fileName, sizeof fileName, "%s%s", parts.name, parts.ext);
    char shownName[KEPT_ASIDE_NAME_ROOM];
    FitPath(fileName, shownName, sizeof shownName, isLeadByte);

    TextBuilder text = StartText(notice->text, sizeof notice->text);
    Append(&text, NOTICE_KEPT_ASIDE_BEFORE);
    Append(&text, shownName);
    Append(&text, NOTICE_KEPT_ASIDE_AFTER "\n");
    AppendFittedPath(&text, path, isLeadByte);
}

void CleanUpQuestion(int words, int removed, char* out) {
    int taken = removed < words ? removed : words;
    snprintf(out, EXIT_BOX_TEXT_SIZE, NOTICE_CLEAN_UP_QUESTION, taken, words, words - taken);
}
