#include "clipboard_formats.h"

#include <cstring>

enum FormatGroup { GROUP_NONE, GROUP_TEXT, GROUP_PICTURE, GROUP_METAFILE };

static FormatGroup GroupOf(unsigned format) {
    switch (format) {
    case FORMAT_TEXT:
    case FORMAT_OEM_TEXT:
    case FORMAT_UNICODE_TEXT:
        return GROUP_TEXT;
    case FORMAT_BITMAP:
    case FORMAT_DIB:
    case FORMAT_DIBV5:
        return GROUP_PICTURE;
    case FORMAT_ENHANCED_METAFILE:
    case FORMAT_METAFILE_PICTURE:
        return GROUP_METAFILE;
    default:
        return GROUP_NONE;
    }
}

// The group member that the owner put there, kept as it is (a bitmap handle as its DIB).
static FormatKeep KeepOfRealMember(unsigned format) {
    switch (format) {
    case FORMAT_BITMAP:
        return KEEP_AS_DIB;
    case FORMAT_ENHANCED_METAFILE:
        return KEEP_ENHANCED_METAFILE;
    case FORMAT_METAFILE_PICTURE:
        return KEEP_METAFILE_PICTURE;
    default:
        return KEEP_MEMORY;
    }
}

static bool TiedToOwner(unsigned format, const char* name) {
    if (format >= FORMAT_REGISTERED_FIRST) {
        return name != nullptr && (strcmp(name, "DataObject") == 0 || strcmp(name, "Ole Private Data") == 0);
    }
    return format == FORMAT_OWNER_DISPLAY || format == FORMAT_DISPLAY_BITMAP ||
           format == FORMAT_DISPLAY_METAFILE_PICTURE || format == FORMAT_DISPLAY_ENHANCED_METAFILE ||
           (format >= FORMAT_PRIVATE_FIRST && format <= FORMAT_GDI_OBJECT_LAST);
}

void PlanClipboardKeep(const unsigned* formats, const char* const* names, int count, FormatKeep* plan) {
    bool realSeen[GROUP_METAFILE + 1] = {};
    for (int i = 0; i < count; ++i) {
        unsigned format = formats[i];
        FormatGroup group = GroupOf(format);
        if (TiedToOwner(format, names[i])) {
            plan[i] = LEAVE_UNCOPYABLE;
        } else if (group == GROUP_NONE) {
            plan[i] = format == FORMAT_PALETTE ? LEAVE_UNCOPYABLE : KEEP_MEMORY;
        } else if (!realSeen[group]) {
            realSeen[group] = true;
            plan[i] = KeepOfRealMember(format);
        } else {
            plan[i] = format == FORMAT_UNICODE_TEXT ? KEEP_MEMORY : LEAVE_SYNTHESIZED;
        }
    }
    // A palette comes back with a kept picture: the system makes it from the DIB's colours.
    for (int i = 0; i < count; ++i) {
        if (formats[i] == FORMAT_PALETTE && plan[i] == LEAVE_UNCOPYABLE && realSeen[GROUP_PICTURE]) {
            plan[i] = LEAVE_SYNTHESIZED;
        }
    }
}

bool TryClipboardAgain(int failedAttempts, uint32_t elapsedUs) {
    return failedAttempts < CLIPBOARD_OPEN_ATTEMPTS && elapsedUs < CLIPBOARD_OPEN_BUDGET_US;
}
