#include "dict_file.h"

#include <cstdlib>
#include <cstring>

#include "dict_table.h"
#include "file_system.h"
#include "path_split.h"

namespace {

constexpr size_t IO_CHUNK_SIZE = 64 * 1024;
char ioChunk[IO_CHUNK_SIZE];  // one stream at a time: the library runs on one thread

// Hands out the lines of a stream exactly as fgets with a DICT_LINE_SIZE buffer would:
// up to and including the next LF, never more than DICT_LINE_SIZE - 1 bytes. Reads the
// stream in large chunks, which costs far less than a library call per line.
struct LineReader {
    FILE* file;
    size_t position;
    size_t end;
    bool finished;
};

bool ReadLine(LineReader& reader, char* line) {
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
    return used > 0;
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

// Collects written bytes into ioChunk and hands them to the file system in large writes.
struct ChunkWriter {
    FILE* file;
    size_t used;
    bool failed;
};

void Flush(ChunkWriter& writer) {
    if (!writer.failed && writer.used > 0 &&
        !dictFileSystem->write(ioChunk, writer.used, writer.file)) {
        writer.failed = true;
    }
    writer.used = 0;
}

void Append(ChunkWriter& writer, const char* data, size_t size) {
    if (size > IO_CHUNK_SIZE - writer.used) {
        Flush(writer);
        if (size > IO_CHUNK_SIZE) {
            writer.failed = writer.failed || !dictFileSystem->write(data, size, writer.file);
            return;
        }
    }
    memcpy(ioChunk + writer.used, data, size);
    writer.used += size;
}

// Writes every entry, most recent first; false when a write failed.
bool WriteEntries(FILE* file) {
    static int indices[DICT_CAPACITY];
    int count = DictCount();
    for (int slot = 0; slot < count; ++slot) {
        indices[slot] = slot;
    }
    qsort(indices, static_cast<size_t>(count), sizeof indices[0], CompareOrderDesc);

    ChunkWriter writer = {file, 0, false};
    for (int i = 0; i < count && !writer.failed; ++i) {
        const DictEntry& entry = DictTable[indices[i]];
        Append(writer, entry.word, strlen(entry.word));
        Append(writer, "\t", 1);
        Append(writer, entry.reading, strlen(entry.reading));
        Append(writer, "\r\n", 2);
    }
    Flush(writer);
    return !writer.failed;
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

void DictLoadStream(FILE* file) {
    LineReader reader = {file, 0, 0, false};
    char line[DICT_LINE_SIZE];
    int32_t pairs = 0;
    DictBeginBulkRegistration();
    while (pairs < DICT_CAPACITY && ReadLine(reader, line)) {
        char* cursor = line;
        char* word = NextField(&cursor);
        char* reading = word != nullptr ? NextField(&cursor) : nullptr;
        if (reading != nullptr) {
            DictRegister(word, reading);
            ++pairs;
        }
    }
    DictEndBulkRegistration();
    DictRenumber(pairs);
}

int DictLoad(const char* path) {
    FILE* file = dictFileSystem->open(path, "rb");
    if (file == nullptr && !dictFileSystem->exists(path)) {
        char backup[DICT_PATH_SIZE];
        if (DictCompanionName(path, ".bak", backup)) {
            file = dictFileSystem->open(backup, "rb");
        }
    }
    if (file == nullptr) {
        return 0;
    }
    DictLoadStream(file);
    dictFileSystem->close(file);
    return 1;
}

int DictSave(const char* path) {
    char temporary[DICT_PATH_SIZE];
    char backup[DICT_PATH_SIZE];
    if (!DictCompanionName(path, ".tmp", temporary) || !DictCompanionName(path, ".bak", backup)) {
        return 0;
    }
    FILE* file = dictFileSystem->open(temporary, "wb");
    if (file == nullptr) {
        return 0;
    }
    // The new content must be on the disk before it takes the dictionary's name.
    if (!WriteEntries(file) || !dictFileSystem->flushToDisk(file)) {
        dictFileSystem->close(file);
        return 0;
    }
    if (dictFileSystem->close(file) != 0) {
        return 0;
    }
    // The backup makes room for the current file. Without a current file (a first save, or
    // one after the backup was loaded) the backup is the only copy and stays.
    if (dictFileSystem->exists(path)) {
        dictFileSystem->remove(backup);
        if (!dictFileSystem->renameNoReplace(path, backup)) {
            return 0;
        }
    }
    return dictFileSystem->renameNoReplace(temporary, path) ? 1 : 0;
}
