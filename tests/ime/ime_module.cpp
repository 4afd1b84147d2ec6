// ZTESTIME.IME: the shell of the test IME. It keeps one ImeComposition in each input
// context's private block, feeds it the keys the IME manager hands over, writes the
// composition block and reports each change with IME messages (ime_engine.cpp decides).
// An ANSI IME by default; a Unicode IME, with UTF-16 strings and a conversion to a word that
// Shift-JIS cannot hold, when the installer asked for one (SetTestImeUnicode).
#include <cstdio>
#include <cstring>
#include <string>

#include "comp_string.h"
#include "ime_engine.h"
#include "imm_ddk.h"
#include "install_ime.h"

namespace {

HINSTANCE moduleInstance;
const char UI_CLASS[] = "ZelvoTestImeUI";  // at most 16 characters
const WCHAR UI_CLASS_WIDE[] = L"ZelvoTestImeUI";

// A Unicode IME (IME_PROP_UNICODE, WCHAR strings) when the installer asked for one; read once,
// when the IME manager loads the IME into a process.
bool unicodeIme = false;

bool UnicodeAsked() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TEST_IME_LAYOUT_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    bool asked = RegQueryValueExA(key, TEST_IME_UNICODE_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                  &size) == ERROR_SUCCESS &&
                 type == REG_DWORD && value == 1;
    RegCloseKey(key);
    return asked;
}

// Shift-JIS to UTF-16, as a Unicode IME keeps its strings.
std::u16string Wide(const char* sjis) {
    WCHAR wide[IME_TEXT_SIZE] = {};
    MultiByteToWideChar(932, 0, sjis, -1, wide, IME_TEXT_SIZE);
    return std::u16string(reinterpret_cast<const char16_t*>(wide));
}

// The UI window draws nothing: applications show the composition themselves.
LRESULT CALLBACK UiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
    case WM_IME_CONTROL:
    case WM_IME_COMPOSITIONFULL:
    case WM_IME_SELECT:
    case WM_IME_CHAR:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterUiClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_IME;
    wc.lpfnWndProc = UiWindowProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);  // the IME manager keeps the context there
    wc.hInstance = moduleInstance;
    wc.lpszClassName = UI_CLASS;
    RegisterClassExA(&wc);
}

// 64-bit Wine up to 8.0 reads the entries of ImeToAsciiEx's message list from byte 4 (just
// after the count) while on x86_64 they start at byte 8: there the entries go where Wine
// looks for them.
bool WineMisplacesMessageList() {
#ifdef _WIN64
    using VersionFunction = const char*(CDECL*)();
    FARPROC proc = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    if (!proc) return false;
    auto version = reinterpret_cast<VersionFunction>(reinterpret_cast<void (*)()>(proc));
    int major = 0;
    int minor = 0;
    if (sscanf(version(), "%d.%d", &major, &minor) < 1) return false;
    return major < 8 || (major == 8 && minor == 0);
#else
    return false;
#endif
}

size_t MessageListOffset() {
    static const size_t offset =
        WineMisplacesMessageList() ? sizeof(DWORD) : offsetof(IME_TRANSMSGLIST, TransMsg);
    return offset;
}

IME_TRANSMSG ToTransMsg(const ImeMessage& m) {
    IME_TRANSMSG entry;
    entry.message = m.message;
    entry.wParam = m.wParam;
    entry.lParam = static_cast<LPARAM>(m.lParam);
    return entry;
}

// An input context with its composition, locked for the length of one call.
struct LockedContext {
    HIMC himc;
    IME_INPUTCONTEXT* context;
    ImeComposition* comp;
};

bool LockContext(HIMC himc, LockedContext* locked) {
    locked->himc = himc;
    locked->context = himc ? ImmLockIMC(himc) : nullptr;
    if (!locked->context) return false;
    locked->comp = nullptr;
    if (ImmGetIMCCSize(locked->context->hPrivate) >= sizeof(ImeComposition))
        locked->comp = static_cast<ImeComposition*>(ImmLockIMCC(locked->context->hPrivate));
    if (locked->comp) return true;
    ImmUnlockIMC(himc);
    return false;
}

void UnlockContext(LockedContext* locked) {
    ImmUnlockIMCC(locked->context->hPrivate);
    ImmUnlockIMC(locked->himc);
}

// The block of a Unicode IME: its strings in UTF-16, a word without a Shift-JIS form as itself.
std::vector<uint8_t> BuildWideBlock(const CompStringContent& content, const ImeComposition* comp,
                                    const ImeOutcome* committed) {
    const char16_t* compositionWord = comp->converted ? ImeWideOnlyWord(comp->wideOnly) : nullptr;
    const char16_t* resultWord = committed ? ImeWideOnlyWord(committed->wideResult) : nullptr;
    std::u16string composition = compositionWord ? compositionWord : Wide(content.composition);
    std::u16string reading = Wide(content.reading);
    std::u16string result = resultWord ? resultWord : Wide(content.result);
    std::u16string resultReading = Wide(content.resultReading);
    return BuildWideCompString({composition.c_str(), reading.c_str(), content.attribute, result.c_str(),
                                resultReading.c_str()});
}

// Writes the composition block: the current composition and, after a commit, the result.
bool StoreCompString(IME_INPUTCONTEXT* context, const ImeComposition* comp,
                     const ImeOutcome* committed) {
    char text[IME_TEXT_SIZE];
    char reading[IME_TEXT_SIZE];
    ImeCompositionText(comp, text);
    ImeReadingText(comp, reading);
    CompStringContent content = {text, reading, ImeAttribute(comp), "", ""};
    if (committed) {
        content.result = committed->result;
        content.resultReading = committed->resultReading;
    }
    std::vector<uint8_t> block =
        unicodeIme ? BuildWideBlock(content, comp, committed) : BuildCompString(content);
    HIMCC resized = ImmReSizeIMCC(context->hCompStr, static_cast<DWORD>(block.size()));
    if (!resized) return false;
    context->hCompStr = resized;
    void* target = ImmLockIMCC(resized);
    if (!target) return false;
    memcpy(target, block.data(), block.size());
    ImmUnlockIMCC(resized);
    return true;
}

// Queues messages in the context's own buffer, for ImmGenerateMessage or for a message
// list too small to hold them.
bool QueueMessages(IME_INPUTCONTEXT* context, const ImeMessage* messages, int count) {
    DWORD total = context->dwNumMsgBuf + static_cast<DWORD>(count);
    HIMCC resized = ImmReSizeIMCC(context->hMsgBuf, total * sizeof(IME_TRANSMSG));
    if (!resized) return false;
    context->hMsgBuf = resized;
    auto* entries = static_cast<IME_TRANSMSG*>(ImmLockIMCC(resized));
    if (!entries) return false;
    for (int i = 0; i < count; ++i) entries[context->dwNumMsgBuf + i] = ToTransMsg(messages[i]);
    ImmUnlockIMCC(resized);
    context->dwNumMsgBuf = total;
    return true;
}

// Hands messages back through ImeToAsciiEx's list, so that the IME manager posts them.
UINT ReturnMessages(IME_TRANSMSGLIST* list, IME_INPUTCONTEXT* context,
                    const ImeMessage* messages, int count) {
    if (count == 0) return 0;
    if (!list || static_cast<UINT>(count) > list->uMsgCount) {
        QueueMessages(context, messages, count);
        return static_cast<UINT>(count);
    }
    BYTE* first = reinterpret_cast<BYTE*>(list) + MessageListOffset();
    for (int i = 0; i < count; ++i) {
        IME_TRANSMSG entry = ToTransMsg(messages[i]);
        memcpy(first + i * sizeof(IME_TRANSMSG), &entry, sizeof(entry));
    }
    return static_cast<UINT>(count);
}

// A key-like request from NotifyIME: applies it and sends the messages at once.
BOOL ApplyAndGenerate(HIMC himc, unsigned vk) {
    LockedContext locked;
    if (!LockContext(himc, &locked)) return FALSE;
    BOOL applied = FALSE;
    if (locked.comp->active) {
        ImeOutcome outcome = ImeApplyKey(locked.comp, vk, unicodeIme);
        StoreCompString(locked.context, locked.comp,
                        outcome.change == IME_COMMITTED ? &outcome : nullptr);
        ImeMessage messages[IME_MAX_MESSAGES];
        QueueMessages(locked.context, messages, ImeMessagesFor(outcome, locked.comp, messages));
        applied = TRUE;
    }
    UnlockContext(&locked);
    if (applied) ImmGenerateMessage(himc);
    return applied;
}

BOOL CancelAndGenerate(HIMC himc) {
    LockedContext locked;
    if (!LockContext(himc, &locked)) return FALSE;
    bool cancelled = ImeCancel(locked.comp);
    if (cancelled) {
        StoreCompString(locked.context, locked.comp, nullptr);
        ImeMessage messages[IME_MAX_MESSAGES];
        QueueMessages(locked.context, messages, ImeCancelMessages(messages));
    }
    UnlockContext(&locked);
    if (cancelled) ImmGenerateMessage(himc);
    return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
        RegisterUiClass();
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterClassA(UI_CLASS, moduleInstance);
    }
    return TRUE;
}

// A Unicode IME gives its UI class name in WCHARs.
BOOL WINAPI ImeInquire(IME_IMEINFO* info, LPSTR uiClass, DWORD) {
    if (!info || !uiClass) return FALSE;
    unicodeIme = UnicodeAsked();
    info->dwPrivateDataSize = sizeof(ImeComposition);
    info->fdwProperty = IME_PROP_AT_CARET | (unicodeIme ? IME_PROP_UNICODE : 0);
    info->fdwConversionCaps = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;
    info->fdwSentenceCaps = IME_SMODE_PLAURALCLAUSE;
    info->fdwUICaps = 0;
    info->fdwSCSCaps = 0;
    info->fdwSelectCaps = SELECT_CAP_CONVERSION;
    if (unicodeIme)
        lstrcpyW(reinterpret_cast<LPWSTR>(uiClass), UI_CLASS_WIDE);
    else
        lstrcpyA(uiClass, UI_CLASS);
    return TRUE;
}

BOOL WINAPI ImeSelect(HIMC himc, BOOL select) {
    if (!select) return TRUE;
    LockedContext locked;
    if (!LockContext(himc, &locked)) return FALSE;
    locked.context->fOpen = TRUE;
    locked.context->fdwConversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;
    locked.context->fdwInit |= INIT_CONVERSION;
    memset(locked.comp, 0, sizeof(*locked.comp));
    BOOL stored = StoreCompString(locked.context, locked.comp, nullptr);
    UnlockContext(&locked);
    return stored;
}

BOOL WINAPI ImeProcessKey(HIMC himc, UINT vk, LPARAM keyData, const BYTE* keyState) {
    if (keyData & 0x80000000) return FALSE;  // key-up: only key-downs drive the IME
    LockedContext locked;
    if (!LockContext(himc, &locked)) return FALSE;
    bool ctrlOrAlt = keyState && ((keyState[VK_CONTROL] | keyState[VK_MENU]) & 0x80);
    BOOL wanted = locked.context->fOpen && ImeWantsKey(locked.comp, vk & 0xFF, ctrlOrAlt);
    UnlockContext(&locked);
    return wanted;
}

UINT WINAPI ImeToAsciiEx(UINT vk, UINT scanCode, const BYTE*, IME_TRANSMSGLIST* list, UINT,
                         HIMC himc) {
    if (scanCode & 0x8000) return 0;  // key-up
    LockedContext locked;
    if (!LockContext(himc, &locked)) return 0;
    ImeOutcome outcome = ImeApplyKey(locked.comp, vk & 0xFF, unicodeIme);
    if (outcome.change != IME_NO_CHANGE)
        StoreCompString(locked.context, locked.comp,
                        outcome.change == IME_COMMITTED ? &outcome : nullptr);
    ImeMessage messages[IME_MAX_MESSAGES];
    int count = ImeMessagesFor(outcome, locked.comp, messages);
    UINT returned = ReturnMessages(list, locked.context, messages, count);
    UnlockContext(&locked);
    return returned;
}

BOOL WINAPI NotifyIME(HIMC himc, DWORD action, DWORD index, DWORD) {
    if (action == NI_CONTEXTUPDATED) return TRUE;
    if (action != NI_COMPOSITIONSTR) return FALSE;
    switch (index) {
    case CPS_CANCEL: return CancelAndGenerate(himc);
    case CPS_COMPLETE: return ApplyAndGenerate(himc, IME_VK_RETURN);
    case CPS_CONVERT: return ApplyAndGenerate(himc, IME_VK_SPACE);
    default: return FALSE;
    }
}

BOOL WINAPI ImeSetActiveContext(HIMC, BOOL) { return TRUE; }

BOOL WINAPI ImeDestroy(UINT) { return TRUE; }

// What follows is not offered: the answers say so to the IME manager.
BOOL WINAPI ImeConfigure(HKL, HWND, DWORD, LPVOID) { return FALSE; }

DWORD WINAPI ImeConversionList(HIMC, LPCSTR, LPCANDIDATELIST, DWORD, UINT) { return 0; }

LRESULT WINAPI ImeEscape(HIMC, UINT, LPVOID) { return 0; }

BOOL WINAPI ImeSetCompositionString(HIMC, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    return FALSE;  // fdwSCSCaps is 0: applications cannot set the composition
}

BOOL WINAPI ImeRegisterWord(LPCSTR, DWORD, LPCSTR) { return FALSE; }

BOOL WINAPI ImeUnregisterWord(LPCSTR, DWORD, LPCSTR) { return FALSE; }

UINT WINAPI ImeGetRegisterWordStyle(UINT, LPSTYLEBUFA) { return 0; }

UINT WINAPI ImeEnumRegisterWord(REGISTERWORDENUMPROCA, LPCSTR, DWORD, LPCSTR, LPVOID) {
    return 0;
}

DWORD WINAPI ImeGetImeMenuItems(HIMC, DWORD, DWORD, LPIMEMENUITEMINFOA, LPIMEMENUITEMINFOA,
                                DWORD) {
    return 0;
}

}  // extern "C"
