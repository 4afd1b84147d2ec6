#include "dict_file.h"

#include <cstdlib>
#include <cstring>

#include "dict_table.h"
#include "file_system.h"
#include "path_split.h"

namespace {

constexpr size_t IO_CHUNK_SIZE = 64 * 1024;
char ioChunk[IO_CHUNK_SIZE];  // loading only, on the table's thread; a save has buffers of its own
constexpr int KEPT_ASIDE_TRIES = 100;

// Hands out the lines of a stream exactly as fgets with a DICT_LINE_SIZE buffer would:
// up to and including the next LF, never more than DICT_LINE_SIZE - 1 bytes. Reads the
// stream in large chunks, which costs far less than a library call per line.
struct LineReader {
    FILE* file;
    size_t position;
    size_t end;
    bool finished;
};

// Returns the number of bytes in line (NUL bytes of the file included); 0 at the end.
size_t ReadLine(LineReader& reader, char* line) {
    size_t used = 0;
    while (used < DICT_LINE_SIZE - 1) {
        if (reader.position == reader.end) {
            if (reader.finished) {
                break;
            }
            reader.end = fread(ioChunk, 1, IO_CHUNK_SIZE, reader.file);
            reader.position = 0;
            if (reader.end == 0) {
                reader.finished = true;
                break;
            }
        }
        size_t available = reader.end - reader.position;
        size_t room = DICT_LINE_SIZE - 1 - used;
        size_t span = available < room ? available : room;
        const char* begin = ioChunk + reader.position;
        const char* newline = static_cast<const char*>(memchr(begin, '\n', span));
        size_t take = newline != nullptr ? static_cast<size_t>(newline - begin) + 1 : span;
        memcpy(line + used, begin, take);
        used += take;
        reader.position += take;
        if (newline != nullptr) {
            break;
        }
    }
    line[used] = '\0';
    return used;
}

bool IsSeparator(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

// Splits off the next field as strtok with the separators TAB, CR and LF does: leading
// separators are skipped, the field ends at the next separator, which becomes a NUL.
char* NextField(char** cursor) {
    char* p = *cursor;
    while (*p != '\0' && IsSeparator(*p)) {
        ++p;
    }
    if (*p == '\0') {
        *cursor = p;
        return nullptr;
    }
    char* field = p;
    while (*p != '\0' && !IsSeparator(*p)) {
        ++p;
    }
    if (*p != '\0') {
        *p++ = '\0';
    }
    *cursor = p;
    return field;
}

}  // namespace

bool DictCompanionName(const char* path, const char* extension, char* out) {
    PathParts parts;
    if (!SplitPath(path, &parts, dictFileSystem->isLeadByte)) {
        out[0] = '\0';
        return false;
    }
    return JoinPath(out, DICT_PATH_SIZE, parts, extension);
}

bool DictKeptAsideName(const char* path, int number, char* out) {
    PathParts parts;
    if (!SplitPath(path, &parts, dictFileSystem->isLeadByte)) {
        out[0] = '\0';
        return false;
    }
    char extension[sizeof parts.ext + 32];
    if (number > 1) {
        snprintf(extension, sizeof extension, ".original-%d%s", number, parts.ext);
    } else {
        snprintf(extension, sizeof extension, ".original%s", parts.ext);
    }
    return JoinPath(out, DICT_PATH_SIZE, parts, extension);
}

bool DictFreeKeptAsideName(const char* path, char* out) {
    for (int number = 1; number <= KEPT_ASIDE_TRIES; ++number) {
        if (!DictKeptAsideName(path, number, out)) {
            return false;
        }
        if (!dictFileSystem->exists(out)) {
            return true;
        }
    }
    out[0] = '\0';
    return false;
}

namespace {

// One piece of the file as the reader takes it, split into its fields.
struct Piece {
    char* word;       // null: no field
    char* reading;    // null: fewer than two fields
    bool extraField;  // a third field, which the table drops
    bool hasNul;      // a NUL byte, which hides the rest of the piece
};

Piece SplitPiece(char* line, size_t length) {
    Piece piece = {};
    piece.hasNul = memchr(line, '\0', length) != nullptr;
    char* cursor = line;
    piece.word = NextField(&cursor);
    piece.reading = piece.word != nullptr ? NextField(&cursor) : nullptr;
    piece.extraField = piece.reading != nullptr && NextField(&cursor) != nullptr;
    return piece;
}

// A piece whose text the table keeps as it is: none at all, or exactly two fields.
bool PieceIsWhole(const Piece& piece) {
    return !piece.hasNul && !piece.extraField && (piece.word == nullptr || piece.reading != nullptr);
}

// Registers a pair of the file; false when the table does not keep it as the file has it
// (a second, different reading of a known word, or no room for it).
bool RegisterLoadedPair(const char* word, const char* reading) {
    int known = DictFindWord(word);
    if (known >= 0) {
        DictRegister(word, reading);
        return strcmp(DictTable[known].reading, reading) == 0;
    }
    return DictRegister(word, reading) == 1;
}

}  // namespace

DictLoadNote dictLoadNote;
DictDiskState dictDisk;

void DictNoteLoad(const char* path, bool lossy, bool fromBackup) {
    dictLoadNote.lossy = lossy;
    if (lossy) {
        dictLoadNote.keepAsidePending = true;
        dictLoadNote.fromBackup = fromBackup;
        DictFreeKeptAsideName(path, dictLoadNote.keptAsidePath);
    }
}

bool DictFileChanged(const char* path, DictFileStamp* now) {
    return dictFileSystem->stamp(path, now) && !SameFileStamp(*now, dictDisk.stamp);
}

bool DictLoadStream(FILE* file) {
    LineReader reader = {file, 0, 0, false};
    char line[DICT_LINE_SIZE];
    int32_t pairs = 0;
    bool lossy = false;
    bool continuation = false;  // the piece before was cut from a longer line
    DictBeginBulkRegistration();
    size_t length;
    while ((length = ReadLine(reader, line)) > 0) {
        bool cut = length == DICT_LINE_SIZE - 1 && line[length - 1] != '\n';
        Piece piece = SplitPiece(line, length);
        bool holdsText = piece.word != nullptr || piece.hasNul;
        if (pairs == DICT_CAPACITY) {
            // The table is full and reads nothing more: it only looks whether more was there.
            if (holdsText) {
                lossy = true;
                break;
            }
            continue;
        }
        lossy = lossy || (continuation && holdsText) || !PieceIsWhole(piece);
        if (piece.reading != nullptr) {
            lossy = !RegisterLoadedPair(piece.word, piece.reading) || lossy;
            ++pairs;
        }
        continuation = cut;
        if (lossy && pairs == DICT_CAPACITY) {
            break;
        }
    }
    DictEndBulkRegistration();
    DictRenumber(pairs);
    return lossy;
}

int DictLoad(const char* path) {
    DictFileStamp before;
    dictFileSystem->stamp(path, &before);
    FILE* file = dictFileSystem->open(path, "rb");
    bool fromBackup = false;
    if (file == nullptr && !dictFileSystem->exists(path)) {
        char backup[DICT_PATH_SIZE];
        if (DictCompanionName(path, ".bak", backup)) {
            file = dictFileSystem->open(backup, "rb");
            fromBackup = true;
        }
    }
    if (file == nullptr) {
        return 0;
    }
    bool lossy = DictLoadStream(file);
    dictFileSystem->close(file);
    DictNoteLoad(path, lossy, fromBackup);
    // Taken before the file was opened: a change while it was read shows as a change.
    dictDisk.stamp = before;
    dictDisk.savedMark = orderCounter;
    return 1;
}
