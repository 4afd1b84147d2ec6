#include "class_name.h"

#include <cstring>

static unsigned char FoldAscii(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char left = FoldAscii(static_cast<unsigned char>(*a));
        unsigned char right = FoldAscii(static_cast<unsigned char>(*b));
        if (left != right) {
            return false;
        }
        if (left == '\0') {
            return true;
        }
    }
}

bool IsWordWindowClass(const char* windowClass) {
    return strcmp(windowClass, "_WwG") == 0;
}

bool IsRichEditClass(const char* windowClass) {
    return EqualsIgnoringAsciiCase(windowClass, "RICHEDIT");
}
