#include "input_order.h"

static const uint32_t MARK_TAG = 0x5A000000u;  // 'Z' in the top byte
static const uint32_t MARK_TAG_MASK = 0xFF000000u;

// Serials grow by one per event sent and are compared across their wrap.
static bool SentBefore(uint16_t a, uint16_t b) {
    return static_cast<int16_t>(static_cast<uint16_t>(a - b)) < 0;
}

static uint32_t ThreadTag(uint32_t threadId) {
    return ((threadId >> 2) & 0xFFu) << 16;  // thread ids are multiples of four
}

uint32_t InputMark(uint32_t threadId, uint16_t serial) {
    return MARK_TAG | ThreadTag(threadId) | serial;
}

bool ReadInputMark(uint64_t extra, uint32_t threadId, uint16_t* serial) {
    if (extra > 0xFFFFFFFFull) {
        return false;
    }
    uint32_t value = static_cast<uint32_t>(extra);
    if ((value & MARK_TAG_MASK) != MARK_TAG || (value & 0x00FF0000u) != ThreadTag(threadId)) {
        return false;
    }
    *serial = static_cast<uint16_t>(value & 0xFFFFu);
    return true;
}

bool OrderIsEmpty(const InputOrder* order) {
    return order->count == 0;
}

bool DropOrder(InputOrder* order) {
    bool pasteWasOnItsWay = order->pasteOnItsWay;
    order->count = 0;
    order->pasteOnItsWay = false;
    return pasteWasOnItsWay;
}

static uint16_t TakeSerial(InputOrder* order, uint32_t now) {
    order->newestTick = now;
    return order->nextSerial++;
}

bool OrderPaste(InputOrder* order, int count, uint32_t now, uint16_t* first) {
    if (count <= 0 || count > INPUT_ORDER_CAPACITY) {
        return false;
    }
    if (order->count + count > INPUT_ORDER_CAPACITY) {
        DropOrder(order);
    }
    for (int i = order->count - 1; i >= 0; --i) {
        order->serials[i + count] = order->serials[i];
    }
    *first = order->nextSerial;
    for (int i = 0; i < count; ++i) {
        order->serials[i] = TakeSerial(order, now);
    }
    order->count = static_cast<uint16_t>(order->count + count);
    order->pasteOnItsWay = true;
    order->pasteLast = static_cast<uint16_t>(*first + count - 1);
    return true;
}

static int IndexOf(const InputOrder* order, uint16_t serial) {
    for (int i = 0; i < order->count; ++i) {
        if (order->serials[i] == serial) {
            return i;
        }
    }
    return -1;
}

// Removes the entry at index; true when it was the end of the paste.
static bool RemoveAt(InputOrder* order, int index) {
    bool pasteEnd = order->pasteOnItsWay && order->serials[index] == order->pasteLast;
    for (int i = index + 1; i < order->count; ++i) {
        order->serials[i - 1] = order->serials[i];
    }
    order->count = static_cast<uint16_t>(order->count - 1);
    if (pasteEnd) {
        order->pasteOnItsWay = false;
    }
    return pasteEnd;
}

// The input queue is first in, first out: events sent before the one that just arrived and
// still listed never came to this thread. Returns true when the end of the paste was one.
static bool ForgetSentBefore(InputOrder* order, uint16_t serial) {
    bool pasteEnd = false;
    for (int i = order->count - 1; i >= 0; --i) {
        if (SentBefore(order->serials[i], serial)) {
            pasteEnd = RemoveAt(order, i) || pasteEnd;
        }
    }
    return pasteEnd;
}

OrderStep OrderRetrievedKey(InputOrder* order, bool marked, uint16_t serial, uint32_t eventTime,
                            uint32_t now) {
    OrderStep step = {ORDER_PASS, 0, false};
    if (order->count == 0) {
        return step;
    }
    if (marked && IndexOf(order, serial) >= 0) {
        step.pasteThrough = ForgetSentBefore(order, serial);
        int index = IndexOf(order, serial);
        if (index == 0) {
            step.pasteThrough = RemoveAt(order, 0) || step.pasteThrough;
            return step;
        }
        // Its turn has not come: it goes to the back again and keeps its place in the order.
        order->serials[index] = TakeSerial(order, now);
        step.action = ORDER_RETYPE;
        step.serial = order->serials[index];
        return step;
    }
    // A key of the user (or a mark the order does not know): typed after everything listed.
    bool typedLongAfter = static_cast<int32_t>(eventTime - order->newestTick) > static_cast<int32_t>(INPUT_ORDER_BOUND_MS);
    if (typedLongAfter) {
        step.pasteThrough = DropOrder(order);
        return step;
    }
    if (order->count == INPUT_ORDER_CAPACITY) {
        DropOrder(order);  // a paste listed may still come: it is not through
        return step;
    }
    step.action = ORDER_RETYPE;
    step.serial = TakeSerial(order, now);
    order->serials[order->count++] = step.serial;
    return step;
}

bool KeyTypedAgain(unsigned virtualKey) {
    switch (virtualKey) {
    case 0x00:
    case 0xFF:
    case 0x14:  // VK_CAPITAL
    case 0x2C:  // VK_SNAPSHOT
    case 0x5B:  // VK_LWIN
    case 0x5C:  // VK_RWIN
    case 0x90:  // VK_NUMLOCK
    case 0x91:  // VK_SCROLL
    case 0xE5:  // VK_PROCESSKEY whose key the IME did not tell
    case 0xE7:  // VK_PACKET
        return false;
    default:
        break;
    }
    bool imeModeKey = (virtualKey >= 0x15 && virtualKey <= 0x1A) ||  // kana, IME on, junja, final, kanji, IME off
                      (virtualKey >= 0x1C && virtualKey <= 0x1F) ||  // convert, nonconvert, accept, mode change
                      (virtualKey >= 0xF0 && virtualKey <= 0xF6);    // alphanumeric, katakana, hiragana, half/full width, roman
    return !imeModeKey;
}
