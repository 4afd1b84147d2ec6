// The clipboard during a commit: what it held is kept, the word goes on it for the paste, and
// once the word is pasted the earlier content is given back, unless someone changed the
// clipboard in between or the user keeps the word there. The target window is the owner
// throughout, so that emptying the clipboard later never waits on another program.
#include <cstring>

#include "clipboard_formats.h"
#include "hook_operations.h"
#include "paste_class.h"

// Movable, zero-filled, shareable memory: the word, its NUL and nine zero bytes.
static const UINT CLIPBOARD_BLOCK_FLAGS = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE;
static_assert(CLIPBOARD_BLOCK_FLAGS == 0x2042, "clipboard block flags");

// Registered formats that ask clipboard history, cloud clipboard and clipboard monitors to
// leave the word alone; each carries a DWORD 0.
static const char* const WORD_MARK_FORMATS[] = {
    "ExcludeClipboardContentFromMonitorProcessing",
    "CanIncludeInClipboardHistory",
    "CanUploadToCloudClipboard",
};
static const int WORD_MARK_COUNT = sizeof WORD_MARK_FORMATS / sizeof WORD_MARK_FORMATS[0];

static const int FORMAT_NAME_SIZE = 128;

// The user's choice, published by the resident program in its status record; without it the
// earlier content is given back.
static bool WordStaysOnClipboard() {
    if (!OpenExchangeView(EXCHANGE_FOR_STATUS)) {
        return false;
    }
    const volatile ExchangeStatus* status =
        reinterpret_cast<const volatile ExchangeStatus*>(hookProcess.exchangeView + EXCHANGE_STATUS_OFFSET);
    return status->size >= offsetof(ExchangeStatus, keepWordOnClipboard) + sizeof status->keepWordOnClipboard &&
           status->keepWordOnClipboard != 0;
}

// Reading a format that its owner renders late, and emptying the clipboard, both wait on the
// owner: an owner of another thread that does not answer a bounded probe leaves the clipboard
// unavailable.
static bool OwnerAnswers() {
    HWND owner = GetClipboardOwner();
    if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId()) {
        return true;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                               CLIPBOARD_OWNER_TIMEOUT_MS, &result) != 0;
}

static uint32_t MicrosecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint32_t>((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}

// Opens the clipboard for owner, trying again a few times while another program holds it.
static bool OpenClipboardSoon(HWND owner) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int failed = 0;; Sleep(1)) {
        if (OpenClipboard(owner)) {
            return true;
        }
        if (!TryClipboardAgain(++failed, MicrosecondsSince(start))) {
            TraceTo(TraceViewer(), "clipboard busy ");
            return false;
        }
    }
}

static HGLOBAL CopyMemoryBlock(HANDLE data) {
    SIZE_T size = data != nullptr ? GlobalSize(data) : 0;
    const void* from = size > 0 ? GlobalLock(data) : nullptr;
    if (from == nullptr) {
        return nullptr;
    }
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy != nullptr ? GlobalLock(copy) : nullptr;
    if (to != nullptr) {
        memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy != nullptr) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(data);
    return copy;
}

static HGLOBAL CopyMetafilePicture(HANDLE data) {
    const METAFILEPICT* picture = data != nullptr ? static_cast<const METAFILEPICT*>(GlobalLock(data)) : nullptr;
    if (picture == nullptr) {
        return nullptr;
    }
    METAFILEPICT copied = *picture;
    GlobalUnlock(data);
    copied.hMF = CopyMetaFile(copied.hMF, nullptr);
    HGLOBAL copy = copied.hMF != nullptr ? GlobalAlloc(GMEM_MOVEABLE, sizeof copied) : nullptr;
    void* to = copy != nullptr ? GlobalLock(copy) : nullptr;
    if (to == nullptr) {
        if (copy != nullptr) {
            GlobalFree(copy);
        }
        if (copied.hMF != nullptr) {
            DeleteMetaFile(copied.hMF);
        }
        return nullptr;
    }
    memcpy(to, &copied, sizeof copied);
    GlobalUnlock(copy);
    return copy;
}

static void FreeKeptFormat(const KeptFormat& kept) {
    switch (kept.keep) {
    case KEEP_ENHANCED_METAFILE:
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(kept.data));
        break;
    case KEEP_METAFILE_PICTURE:
        if (const METAFILEPICT* picture = static_cast<const METAFILEPICT*>(GlobalLock(kept.data))) {
            DeleteMetaFile(picture->hMF);
            GlobalUnlock(kept.data);
        }
        GlobalFree(kept.data);
        break;
    default:
        GlobalFree(kept.data);
        break;
    }
}

void ReleaseKeptClipboard(KeptClipboard* kept) {
    for (int i = 0; i < kept->count; ++i) {
        FreeKeptFormat(kept->formats[i]);
    }
    kept->count = 0;
    kept->held = false;
}

// A copy of one format of the open clipboard, as plan says; false when none can be made.
static bool CopyFormat(UINT format, FormatKeep plan, KeptFormat* kept) {
    UINT read = plan == KEEP_AS_DIB ? CF_DIB : format;
    HANDLE data = GetClipboardData(read);  // a format rendered late is rendered now
    if (data == nullptr) {
        return false;
    }
    kept->format = read;
    kept->keep = plan == KEEP_AS_DIB ? KEEP_MEMORY : plan;
    switch (plan) {
    case KEEP_MEMORY:
    case KEEP_AS_DIB:
        kept->data = CopyMemoryBlock(data);
        break;
    case KEEP_ENHANCED_METAFILE:
        kept->data = CopyEnhMetaFile(static_cast<HENHMETAFILE>(data), nullptr);
        break;
    case KEEP_METAFILE_PICTURE:
        kept->data = CopyMetafilePicture(data);
        break;
    default:
        return false;
    }
    return kept->data != nullptr;
}

// Copies what the open clipboard holds into kept. A format whose copy fails is left out.
static void KeepClipboard(KeptClipboard* kept) {
    UINT formats[KEPT_FORMATS_MAX];
    char nameBuffers[KEPT_FORMATS_MAX][FORMAT_NAME_SIZE];
    const char* names[KEPT_FORMATS_MAX];
    int count = 0;
    for (UINT format = EnumClipboardFormats(0); format != 0 && count < KEPT_FORMATS_MAX;
         format = EnumClipboardFormats(format)) {
        names[count] = nullptr;
        if (format >= FORMAT_REGISTERED_FIRST &&
            GetClipboardFormatNameA(format, nameBuffers[count], FORMAT_NAME_SIZE) > 0) {
            names[count] = nameBuffers[count];
        }
        formats[count++] = format;
    }
    FormatKeep plan[KEPT_FORMATS_MAX];
    PlanClipboardKeep(formats, names, count, plan);
    kept->count = 0;
    for (int i = 0; i < count; ++i) {
        bool copied = plan[i] != LEAVE_SYNTHESIZED && plan[i] != LEAVE_UNCOPYABLE &&
                      CopyFormat(formats[i], plan[i], &kept->formats[kept->count]);
        if (copied) {
            ++kept->count;
        } else if (plan[i] != LEAVE_SYNTHESIZED) {
            TraceTo(TraceViewer(), "not kept %x ", formats[i]);
        }
    }
    kept->held = true;
}

static HGLOBAL MakeBlock(const void* bytes, size_t length, size_t size) {
    HGLOBAL block = GlobalAlloc(CLIPBOARD_BLOCK_FLAGS, size);
    void* to = block != nullptr ? GlobalLock(block) : nullptr;
    if (to == nullptr) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        return nullptr;
    }
    memcpy(to, bytes, length);
    GlobalUnlock(block);
    return block;
}

// The word as CF_TEXT, then its marks. The clipboard is open and empty.
static void SetWordData(HGLOBAL text) {
    SetClipboardData(CF_TEXT, text);
    const DWORD zero = 0;
    for (const char* name : WORD_MARK_FORMATS) {
        UINT format = RegisterClipboardFormatA(name);
        HGLOBAL mark = format != 0 ? MakeBlock(&zero, sizeof zero, sizeof zero) : nullptr;
        if (mark != nullptr && SetClipboardData(format, mark) == nullptr) {
            GlobalFree(mark);
        }
    }
}

bool PutOnClipboard(HWND owner, const char* word) {
    HookThreadState* state = ThreadState(true);
    if (state != nullptr && state->order.pasteOnItsWay) {
        TraceTo(TraceViewer(), "paste on its way ");  // its word would be replaced under it
        return false;
    }
    KeptClipboard* kept = state != nullptr && !WordStaysOnClipboard() ? &state->kept : nullptr;
    size_t length = strlen(word);
    HGLOBAL text = MakeBlock(word, length + 1, ClipboardBlockSize(length));
    if (text == nullptr) {
        return false;
    }
    if (!OwnerAnswers() || !OpenClipboardSoon(owner)) {
        GlobalFree(text);
        return false;
    }
    if (kept != nullptr) {
        ReleaseKeptClipboard(kept);  // nothing is left from an earlier commit, but be sure
        KeepClipboard(kept);
    }
    // The earlier content is discarded only now, after the new text is ready.
    EmptyClipboard();
    SetWordData(text);
    CloseClipboard();
    if (kept != nullptr) {
        kept->owner = owner;
        kept->sequence = GetClipboardSequenceNumber();
    }
    return true;
}

void GiveClipboardBack(KeptClipboard* kept) {
    if (!kept->held) {
        return;
    }
    // Without its window the clipboard could only be opened without an owner, which leaves
    // nothing to set: the word stays.
    if (!IsWindow(kept->owner) || !OpenClipboardSoon(kept->owner)) {
        TraceTo(TraceViewer(), "clipboard not given back ");
    } else {
        if (GetClipboardSequenceNumber() != kept->sequence) {
            TraceTo(TraceViewer(), "clipboard changed ");  // someone else's content stays
        } else {
            EmptyClipboard();
            int given = 0;
            for (int i = 0; i < kept->count; ++i) {
                const KeptFormat& format = kept->formats[i];
                if (SetClipboardData(format.format, format.data) != nullptr) {
                    ++given;  // the system owns the data now
                } else {
                    FreeKeptFormat(format);
                }
            }
            kept->count = 0;
            TraceTo(TraceViewer(), "clipboard given back %d ", given);
        }
        CloseClipboard();
    }
    ReleaseKeptClipboard(kept);
}
