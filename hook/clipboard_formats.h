// What of the clipboard is kept during a commit, so that it can be given back once the word
// has been pasted, and how long the hook tries to open a clipboard that another program holds.
// No Windows headers.
//
// The system synthesizes some formats from others and lists them after the format the owner
// really put there: CF_TEXT, CF_OEMTEXT and CF_UNICODETEXT from each other (with CF_LOCALE),
// CF_DIB, CF_DIBV5 and CF_BITMAP from each other (and CF_PALETTE from a DIB), CF_ENHMETAFILE
// and CF_METAFILEPICT from each other. Of each of those groups the first one listed is the
// real one: giving it back brings the others back. Text keeps CF_UNICODETEXT as well, wherever
// it is listed, so that no character that the ANSI forms cannot hold is lost.
#pragma once

#include <cstdint>

// Standard clipboard formats (the values of CF_*).
constexpr unsigned FORMAT_TEXT = 1;
constexpr unsigned FORMAT_BITMAP = 2;
constexpr unsigned FORMAT_METAFILE_PICTURE = 3;
constexpr unsigned FORMAT_OEM_TEXT = 7;
constexpr unsigned FORMAT_DIB = 8;
constexpr unsigned FORMAT_PALETTE = 9;
constexpr unsigned FORMAT_UNICODE_TEXT = 13;
constexpr unsigned FORMAT_ENHANCED_METAFILE = 14;
constexpr unsigned FORMAT_FILE_LIST = 15;  // CF_HDROP
constexpr unsigned FORMAT_LOCALE = 16;
constexpr unsigned FORMAT_DIBV5 = 17;
constexpr unsigned FORMAT_OWNER_DISPLAY = 0x80;
constexpr unsigned FORMAT_DISPLAY_TEXT = 0x81;
constexpr unsigned FORMAT_DISPLAY_BITMAP = 0x82;
constexpr unsigned FORMAT_DISPLAY_METAFILE_PICTURE = 0x83;
constexpr unsigned FORMAT_DISPLAY_ENHANCED_METAFILE = 0x8E;
constexpr unsigned FORMAT_PRIVATE_FIRST = 0x200;
constexpr unsigned FORMAT_GDI_OBJECT_LAST = 0x3FF;  // CF_PRIVATEFIRST .. CF_GDIOBJLAST
constexpr unsigned FORMAT_REGISTERED_FIRST = 0xC000;

enum FormatKeep {
    KEEP_MEMORY,              // global memory: its bytes are copied
    KEEP_AS_DIB,              // a bitmap handle: kept as the CF_DIB the system makes of it
    KEEP_ENHANCED_METAFILE,   // copied with CopyEnhMetaFile
    KEEP_METAFILE_PICTURE,    // the record copied, with its metafile (CopyMetaFile)
    LEAVE_SYNTHESIZED,        // the system makes it again from a format that is kept
    LEAVE_UNCOPYABLE,         // no copy can be made of it (below); it is not given back
};

// The formats of a clipboard in the order EnumClipboardFormats lists them, with the name of
// each registered one (null for the others): how each is kept, into plan[count].
// Not copied: CF_OWNERDISPLAY (drawn by the owner, which no longer owns the clipboard), the
// display forms of GDI data (CF_DSPBITMAP, CF_DSPMETAFILEPICT, CF_DSPENHMETAFILE), the private
// and GDI object ranges (handles of a kind only their owner knows), CF_PALETTE when no picture
// is kept, and OLE's "DataObject" and "Ole Private Data", which point at the owner's own data
// object. Every other format, registered ones included, is global memory.
void PlanClipboardKeep(const unsigned* formats, const char* const* names, int count, FormatKeep* plan);

// The clipboard is opened at once; while another program holds it, the hook tries again a few
// times, a millisecond apart, within CLIPBOARD_OPEN_BUDGET_US in all.
constexpr int CLIPBOARD_OPEN_ATTEMPTS = 5;
constexpr uint32_t CLIPBOARD_OPEN_BUDGET_US = 5000;
// Whether to try again after failedAttempts failed attempts, elapsedUs after the first.
bool TryClipboardAgain(int failedAttempts, uint32_t elapsedUs);

// How long the hook waits for the answer of a clipboard owner of another thread before it
// takes the clipboard: reading its formats or emptying the clipboard waits on the owner, and
// an owner that does not answer this probe leaves the clipboard unavailable.
constexpr unsigned CLIPBOARD_OWNER_TIMEOUT_MS = 100;
