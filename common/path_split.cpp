#include "path_split.h"

#include <cstring>

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Copies [begin, end) into a field of fieldSize bytes; false when it had to be cut.
static bool CopyPart(char* field, size_t fieldSize, const char* begin, const char* end) {
    size_t length = static_cast<size_t>(end - begin);
    bool fits = length < fieldSize;
    if (!fits) {
        length = fieldSize - 1;
    }
    memcpy(field, begin, length);
    field[length] = '\0';
    return fits;
}

bool SplitPath(const char* path, PathParts* parts, LeadBytePredicate isLeadByte) {
    const char* start = path;
    if (path[0] != '\0' && path[1] == ':') {
        start = path + 2;
    }
    const char* dirEnd = start;    // just after the last separator
    const char* lastDot = nullptr;
    const char* p = start;
    while (*p != '\0') {
        unsigned char byte = static_cast<unsigned char>(*p);
        if (isLeadByte(byte) && p[1] != '\0') {
            p += 2;
            continue;
        }
        if (byte == '\\' || byte == '/') {
            dirEnd = p + 1;
        } else if (byte == '.') {
            lastDot = p;
        }
        ++p;
    }
    const char* extBegin = (lastDot != nullptr && lastDot >= dirEnd) ? lastDot : p;

    bool whole = CopyPart(parts->drive, sizeof parts->drive, path, start);
    whole = CopyPart(parts->dir, sizeof parts->dir, start, dirEnd) && whole;
    whole = CopyPart(parts->name, sizeof parts->name, dirEnd, extBegin) && whole;
    whole = CopyPart(parts->ext, sizeof parts->ext, extBegin, p) && whole;
    return whole;
}

bool JoinPath(char* out, size_t size, const PathParts& parts, const char* newExtension) {
    const char* pieces[] = {parts.drive, parts.dir, parts.name, newExtension};
    size_t used = 0;
    for (const char* piece : pieces) {
        size_t length = strlen(piece);
        if (length >= size - used) {
            if (size > 0) {
                out[0] = '\0';
            }
            return false;
        }
        memcpy(out + used, piece, length);
        used += length;
    }
    out[used] = '\0';
    return true;
}
