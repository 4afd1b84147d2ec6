// The order of the keys typed right after a commit. The synthetic Ctrl+V of a commit goes to
// the end of the input queue, behind keys the user typed after Enter; left alone, those keys
// would reach the application before the word. Instead, while events of Zelvo's own are on
// their way to a thread, every other key that thread retrieves is typed again (through the
// input queue, so the IME sees it as if it was typed after the paste) and taken from the
// application. Each event sent carries a mark (its extra information) with a serial, and the
// order lists the serials still on their way in the order the application is to get them: the
// paste first, then the keys typed after the Enter that committed it, in their order. An event
// that arrives before its turn goes to the back again. Keys are never held in the hook: each
// one is in the system's input queue all the time. No Windows headers.
#pragma once

#include <cstdint>

// Events on their way at most; more and the order is given up (nothing is lost; a paste then
// on its way does not count as through, since it may still come).
constexpr int INPUT_ORDER_CAPACITY = 64;
// A key typed this long after the newest event was sent, while events are still listed, shows
// that they went to another thread (the queue is first in, first out): the order is given up.
constexpr uint32_t INPUT_ORDER_BOUND_MS = 300;

// One thread's order; all zero is the empty order.
struct InputOrder {
    uint16_t nextSerial;
    uint16_t count;
    uint16_t serials[INPUT_ORDER_CAPACITY];  // on their way, in the order they are to be taken
    uint32_t newestTick;                     // GetTickCount when the newest of them was sent
    bool pasteOnItsWay;                      // the last event of a paste is still listed
    uint16_t pasteLast;                      // its serial
};

// The extra information of an event Zelvo sends for the thread threadId: a tag, 8 bits of the
// thread id and the serial.
uint32_t InputMark(uint32_t threadId, uint16_t serial);
// True when extra (GetMessageExtraInfo) is a mark for this thread; *serial is then its serial.
bool ReadInputMark(uint64_t extra, uint32_t threadId, uint16_t* serial);

// Notes count events of a paste, sent at tick now right after this call with the serials from
// *first on: they are taken before every event still on its way. When those leave no room, the
// order is given up first (they go on as they come). False only for a count that never fits.
bool OrderPaste(InputOrder* order, int count, uint32_t now, uint16_t* first);

enum OrderAction {
    ORDER_PASS,    // the key goes on to the application now
    ORDER_RETYPE,  // the key is typed again, marked with serial, and taken from the application
};

struct OrderStep {
    OrderAction action;
    uint16_t serial;    // ORDER_RETYPE: the serial of the mark of the event typed again
    bool pasteThrough;  // the paste's events have all been taken, or went to another thread:
                        // what the clipboard held can be given back
};

// A key message that the thread retrieves. marked: it carries a mark for this thread, with
// serial; eventTime: the message's time; now: GetTickCount. An ORDER_RETYPE step is already
// noted: if typing the key again fails, DropOrder.
OrderStep OrderRetrievedKey(InputOrder* order, bool marked, uint16_t serial, uint32_t eventTime,
                            uint32_t now);

// Gives the order up: every event still on its way goes on as it comes. Returns whether the end
// of a paste was among them (the clipboard can then be given back).
bool DropOrder(InputOrder* order);

// True when nothing is on its way.
bool OrderIsEmpty(const InputOrder* order);

// Whether a key (virtual-key code) may be typed again. Not the keys whose effect the system
// applies as they are typed, which a second press would repeat: the lock keys, the IME's mode
// keys, the Windows keys, Print Screen; and not VK_PACKET, whose character the message does
// not hold. Those go on to the application when they come.
bool KeyTypedAgain(unsigned virtualKey);
