#include "caret_choice.h"

constexpr unsigned long CARET_BLINKING = 1;  // GUI_CARETBLINKING

bool AcceptsCompositionPosition(int x, int y) {
    return x != 0 || y != 0;
}

bool AcceptsCandidatePosition(int x, int y) {
    return x > 4 && y > 4;
}

bool AcceptsThreadCaret(unsigned long flags, bool caretInTarget) {
    return (flags & CARET_BLINKING) != 0 && caretInTarget;
}

// Adds without overflow: a position near the end of the int range stays at its end.
static int Shift(int value, int offset) {
    constexpr int MAX = 0x7FFFFFFF;
    return value > MAX - offset ? MAX : value + offset;
}

CaretPoint OffsetCaretPoint(CaretSource source, int x, int y) {
    switch (source) {
    case CARET_FROM_CANDIDATE:
        return {Shift(x, 20), Shift(y, 20)};
    case CARET_FROM_THREAD:
        return {Shift(x, 20), Shift(y, 25)};
    case CARET_FROM_COMPOSITION:
    case CARET_FROM_CARET:
    default:
        return {Shift(x, 20), Shift(y, 15)};
    }
}

CaretPoint LastResortCaretPoint(bool caretRead, int x, int y) {
    return caretRead ? OffsetCaretPoint(CARET_FROM_CARET, x, y)
                     : OffsetCaretPoint(CARET_FROM_CARET, 0, 0);
}
