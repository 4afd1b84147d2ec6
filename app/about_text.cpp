#include "about_text.h"

#include <cstring>

// Neither ':' nor the blank can be the second byte of a Shift-JIS character, so a plain byte
// search finds the label's end.
static const char LABEL_END[] = ": ";

bool DictionaryLine(const char* templateLine, const char* path, char* out, size_t outSize) {
    const char* labelEnd = strstr(templateLine, LABEL_END);
    if (path[0] == '\0' || labelEnd == nullptr) {
        return false;
    }
    size_t labelLength = static_cast<size_t>(labelEnd - templateLine) + strlen(LABEL_END);
    size_t pathLength = strlen(path);
    if (labelLength + pathLength + 1 > outSize) {
        return false;
    }
    memcpy(out, templateLine, labelLength);
    memcpy(out + labelLength, path, pathLength + 1);
    return true;
}
