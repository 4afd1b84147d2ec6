// Where the candidates go: the sources of a caret position, in the order they are asked,
// when each answer is usable, and the offset added to each. Points are in client
// coordinates of the target window.
#pragma once

struct CaretPoint {
    int x;
    int y;
};

enum CaretSource {
    CARET_FROM_COMPOSITION,  // the IME's composition window
    CARET_FROM_CANDIDATE,    // the IME's candidate window 0
    CARET_FROM_THREAD,       // the caret rectangle of the GUI thread information
    CARET_FROM_CARET,        // the thread's caret position: the last resort
};

// The composition window's position is used unless it is (0, 0).
bool AcceptsCompositionPosition(int x, int y);

// The candidate window's position is used when both coordinates are 5 or more.
bool AcceptsCandidatePosition(int x, int y);

// The thread's caret is used when it blinks (flag bit 1) in the target window itself.
bool AcceptsThreadCaret(unsigned long flags, bool caretInTarget);

// The position found by a source, shifted to where the candidates' corner goes. For the
// thread information, x is the caret rectangle's left and y its bottom.
CaretPoint OffsetCaretPoint(CaretSource source, int x, int y);

// The last resort: the caret position when it could be read, else the client origin,
// each shifted like a caret position.
CaretPoint LastResortCaretPoint(bool caretRead, int x, int y);
