// The order of keys typed right after a commit, against a model of one thread's input queue:
// first in, first out, the user's keys arriving at the back at any moment, every event the
// order sends again going to the back too. Whatever the moment each key arrives, the
// application must get the keys in the order they were typed, with the paste of each commit
// in the place of its Enter.
#include "input_order.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

const uint32_t THREAD = 0x1234;

struct Event {
    char key;         // a user key, or 'p' for one of the paste's four events
    bool marked;
    uint16_t serial;
    uint32_t time;
};

struct Model {
    InputOrder order = {};
    std::deque<Event> queue;
    std::string delivered;     // what the application got; the paste's four events as "[p]"
    int pasteEvents = 0;
    int pastesThrough = 0;
    uint32_t now = 1000;
    bool pasteGoesElsewhere = false;  // the paste's events reach another thread

    void Type(const std::string& keys) {
        for (char key : keys) {
            queue.push_back({key, false, 0, now});
        }
    }

    // 'E' is an Enter that commits: the hook takes it and sends the paste.
    void Deliver(const Event& event) {
        if (event.key == 'E') {
            uint16_t first = 0;
            ASSERT_TRUE(OrderPaste(&order, 4, now, &first));
            for (uint16_t i = 0; i < 4; ++i) {
                if (!pasteGoesElsewhere) {
                    queue.push_back({'p', true, static_cast<uint16_t>(first + i), now});
                }
            }
            return;
        }
        if (event.key == 'p') {
            if (++pasteEvents % 4 == 0) {
                delivered += "[p]";
            }
            return;
        }
        delivered += event.key;
    }

    // The thread retrieves the next event of its queue.
    void RetrieveOne() {
        Event event = queue.front();
        queue.pop_front();
        now += 1;
        OrderStep step = OrderRetrievedKey(&order, event.marked, event.serial, event.time, now);
        if (step.pasteThrough) {
            ++pastesThrough;
        }
        if (step.action == ORDER_RETYPE) {
            queue.push_back({event.key, true, step.serial, now});
        } else {
            Deliver(event);
        }
    }

    // Runs until the queue is empty and nothing more is typed; arrivals[n] is typed after the
    // n-th step (a retrieval, or a moment with nothing in the queue).
    void Run(const std::map<int, std::string>& arrivals) {
        for (int steps = 0; steps < 1000; ++steps) {
            auto typed = arrivals.find(steps);
            if (typed != arrivals.end()) {
                Type(typed->second);
            }
            if (!queue.empty()) {
                RetrieveOne();
            } else if (arrivals.upper_bound(steps) == arrivals.end()) {
                return;
            } else {
                now += 1;
            }
        }
        ADD_FAILURE() << "the events never settle";
    }
};

struct OrderCase {
    const char* what;
    const char* typedFirst;              // in the queue before the first retrieval
    std::map<int, std::string> arrivals;  // typed later, after that many retrievals
    const char* expected;                // what the application gets
};

TEST(InputOrder, KeysTypedAfterEnterComeAfterThePasteInTheirOrder) {
    const OrderCase cases[] = {
        {"nothing typed after Enter", "E", {}, "[p]"},
        {"keys typed with Enter at once", "E123", {}, "[p]123"},
        {"keys before Enter stay before it", "ab" "E" "12", {}, "ab[p]12"},
        {"a key typed while the paste is on its way", "E1", {{1, "2"}}, "[p]12"},
        {"keys typed while earlier ones are sent again", "E12", {{2, "3"}, {3, "4"}, {5, "5"}}, "[p]12345"},
        {"keys typed long after settle in order", "E1", {{20, "2"}}, "[p]12"},
        {"a second commit among the keys typed ahead", "E1E2", {}, "[p]1[p]2"},
        {"a second commit with keys arriving in between", "E1E2", {{1, "3"}, {4, "4"}, {7, "5"}},
         "[p]1[p]2345"},
        {"three commits typed at once", "EaEbEc", {}, "[p]a[p]b[p]c"},
        {"a commit typed while earlier keys are on their way", "E12", {{3, "E3"}}, "[p]12[p]3"},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.what);
        Model model;
        model.Type(c.typedFirst);
        model.Run(c.arrivals);
        EXPECT_EQ(model.delivered, c.expected);
        EXPECT_TRUE(OrderIsEmpty(&model.order));
        EXPECT_EQ(model.pastesThrough * 4, model.pasteEvents) << "each paste ends once";
    }
}

// The paste reaches another thread (the focus moved): keys must not wait for it for ever, and
// the clipboard is given back once it is clear that the paste is not coming.
TEST(InputOrder, APasteThatGoesElsewhereReleasesTheKeysAndEndsThePaste) {
    Model model;
    model.pasteGoesElsewhere = true;
    model.Type("E12");
    model.Run({});
    EXPECT_EQ(model.delivered, "12");
    EXPECT_EQ(model.pastesThrough, 1);
    EXPECT_TRUE(OrderIsEmpty(&model.order));
}

TEST(InputOrder, AKeyTypedLongAfterTheNewestEventGivesTheOrderUp) {
    const struct {
        const char* what;
        uint32_t typedAfter;  // ms after the paste was sent
        OrderAction action;
        bool pasteThrough;
    } cases[] = {
        {"typed at once", 0, ORDER_RETYPE, false},
        {"typed within the bound", INPUT_ORDER_BOUND_MS, ORDER_RETYPE, false},
        {"typed after the bound", INPUT_ORDER_BOUND_MS + 1, ORDER_PASS, true},
        {"a time from before the paste", static_cast<uint32_t>(-50), ORDER_RETYPE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InputOrder order = {};
        order.nextSerial = 0xFFFE;  // serials wrap during the paste
        uint16_t first = 0;
        const uint32_t sent = 0xFFFFFF00u;  // and so does the tick count
        ASSERT_TRUE(OrderPaste(&order, 4, sent, &first));
        OrderStep step = OrderRetrievedKey(&order, false, 0, sent + c.typedAfter, sent + 1);
        EXPECT_EQ(step.action, c.action);
        EXPECT_EQ(step.pasteThrough, c.pasteThrough);
        EXPECT_EQ(OrderIsEmpty(&order), c.action == ORDER_PASS);
    }
}

TEST(InputOrder, TheEventsOfThePasteAreTakenInOrderAndTheLastEndsIt) {
    InputOrder order = {};
    uint16_t first = 0;
    ASSERT_TRUE(OrderPaste(&order, 4, 10, &first));
    // The third arrives first: the two before it went elsewhere, it is taken.
    OrderStep step = OrderRetrievedKey(&order, true, static_cast<uint16_t>(first + 2), 10, 11);
    EXPECT_EQ(step.action, ORDER_PASS);
    EXPECT_FALSE(step.pasteThrough);
    step = OrderRetrievedKey(&order, true, static_cast<uint16_t>(first + 3), 10, 12);
    EXPECT_EQ(step.action, ORDER_PASS);
    EXPECT_TRUE(step.pasteThrough);
    EXPECT_TRUE(OrderIsEmpty(&order));
    // A mark the order no longer lists is an ordinary key.
    step = OrderRetrievedKey(&order, true, first, 10, 13);
    EXPECT_EQ(step.action, ORDER_PASS);
    EXPECT_FALSE(step.pasteThrough);
}

TEST(InputOrder, MoreEventsThanItHoldsGiveTheOrderUp) {
    // Keys typed ahead until the order is full: the next one gives it up.
    InputOrder order = {};
    uint16_t first = 0;
    ASSERT_TRUE(OrderPaste(&order, 4, 10, &first));
    for (int i = 4; i < INPUT_ORDER_CAPACITY; ++i) {
        ASSERT_EQ(OrderRetrievedKey(&order, false, 0, 10, 10).action, ORDER_RETYPE) << i;
    }
    OrderStep step = OrderRetrievedKey(&order, false, 0, 10, 10);
    EXPECT_EQ(step.action, ORDER_PASS);
    EXPECT_FALSE(step.pasteThrough) << "the paste may still come";
    EXPECT_TRUE(OrderIsEmpty(&order));
    // A paste without room beside the keys on their way gives them up and is noted alone.
    ASSERT_TRUE(OrderPaste(&order, 4, 10, &first));
    for (int i = 4; i < INPUT_ORDER_CAPACITY - 2; ++i) {
        ASSERT_EQ(OrderRetrievedKey(&order, false, 0, 10, 10).action, ORDER_RETYPE) << i;
    }
    uint16_t second = 0;
    ASSERT_TRUE(OrderPaste(&order, 4, 10, &second));
    EXPECT_EQ(OrderRetrievedKey(&order, true, static_cast<uint16_t>(second + 3), 10, 11).pasteThrough, true);
    EXPECT_TRUE(OrderIsEmpty(&order));
    EXPECT_FALSE(DropOrder(&order));
    EXPECT_FALSE(OrderPaste(&order, INPUT_ORDER_CAPACITY + 1, 10, &first));
    EXPECT_TRUE(OrderIsEmpty(&order));
}

TEST(InputMark, OnlyMarksOfThisThreadAreRead) {
    const uint32_t mark = InputMark(THREAD, 0xBEEF);
    const struct {
        const char* what;
        uint64_t extra;
        uint32_t thread;
        bool read;
    } cases[] = {
        {"this thread's mark", mark, THREAD, true},
        {"another thread's", mark, THREAD + 4, false},
        {"no extra information", 0, THREAD, false},
        {"a pen's signature", 0xFF515700u, THREAD, false},
        {"the mark with bits beyond 32", 0x100000000ull | mark, THREAD, false},
        {"another tag", mark ^ 0x01000000u, THREAD, false},
    };
    for (const auto& c : cases) {
        uint16_t serial = 0;
        EXPECT_EQ(ReadInputMark(c.extra, c.thread, &serial), c.read) << c.what;
        if (c.read) {
            EXPECT_EQ(serial, 0xBEEF) << c.what;
        }
    }
}

TEST(KeyTypedAgain, KeysWithAnEffectOfTheSystemAreLeftAlone) {
    const struct {
        unsigned key;
        bool again;
    } cases[] = {
        {'A', true},  {'1', true},   {0x0D, true},  {0x10, true},  {0x11, true},  {0x12, true},
        {0x08, true}, {0x20, true},  {0x28, true},  {0xBA, true},  {0x70, true},  {0xA0, true},
        {0x14, false}, {0x90, false}, {0x91, false},  // the lock keys
        {0x15, false}, {0x19, false}, {0x1A, false}, {0x1C, false}, {0x1D, false}, {0x1F, false},
        {0xF0, false}, {0xF3, false}, {0xF4, false}, {0xF6, false},  // the IME's mode keys
        {0x1B, true}, {0xF7, true},
        {0x5B, false}, {0x5C, false}, {0x2C, false},  // Windows keys, Print Screen
        {0xE5, false}, {0xE7, false}, {0x00, false}, {0xFF, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyTypedAgain(c.key), c.again) << std::hex << c.key;
    }
}

}  // namespace
