// Window class names that change what the hook does in a window.
#pragma once

// Equal apart from the case of ASCII letters; other bytes must match exactly.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);

// "_WwG", exactly: the document window of a word processor that places candidates at once
// and keeps Ctrl plus a selection key for itself as well.
bool IsWordWindowClass(const char* windowClass);

// "RICHEDIT" in any case: placed from the thread's caret, never from the IME.
bool IsRichEditClass(const char* windowClass);
