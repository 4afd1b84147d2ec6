#include "message_route.h"

#include <gtest/gtest.h>

namespace {

TEST(IsRemovedMessage, OnlyActionCodeWithRemoval) {
    const struct {
        int code;
        unsigned long removal;
        bool acted;
    } cases[] = {{0, 1, true}, {0, 0, false}, {3, 1, false}, {-1, 1, false}, {0, 2, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsRemovedMessage(c.code, c.removal), c.acted) << c.code << " " << c.removal;
    }
}

TEST(RouteOfMessage, FixedNumbersThenCommitThenMove) {
    const unsigned COMMIT = 0xC123;
    const unsigned MOVE = 0xC124;
    const struct {
        unsigned message;
        unsigned commit;
        unsigned move;
        HookRoute route;
    } cases[] = {
        {0x0100, COMMIT, MOVE, ROUTE_KEY_DOWN},
        {0x0101, COMMIT, MOVE, ROUTE_KEY_OTHER},  // key-ups and system keys: only their order
        {0x0104, COMMIT, MOVE, ROUTE_KEY_OTHER},
        {0x0105, COMMIT, MOVE, ROUTE_KEY_OTHER},
        {0x0102, COMMIT, MOVE, ROUTE_NONE},  // characters come from keys already let through
        {0x0106, COMMIT, MOVE, ROUTE_NONE},
        {0x010F, COMMIT, MOVE, ROUTE_COMPOSITION},
        {0x010D, COMMIT, MOVE, ROUTE_NONE},  // start of composition
        {0x0202, COMMIT, MOVE, ROUTE_REFRESH},
        {0x0201, COMMIT, MOVE, ROUTE_NONE},
        {0x0204, COMMIT, MOVE, ROUTE_HIDE},
        {0x0207, COMMIT, MOVE, ROUTE_HIDE},
        {0x020A, COMMIT, MOVE, ROUTE_HIDE},
        {0x020E, COMMIT, MOVE, ROUTE_NONE},  // horizontal wheel
        {COMMIT, COMMIT, MOVE, ROUTE_COMMIT},
        {MOVE, COMMIT, MOVE, ROUTE_MOVE},
        {COMMIT, COMMIT, COMMIT, ROUTE_COMMIT},  // commit is tested before move
        {0x0100, 0x0100, MOVE, ROUTE_KEY_DOWN},  // fixed numbers first
        {0, 0, 0, ROUTE_NONE},                   // failed registrations never match
        {0, COMMIT, 0, ROUTE_NONE},
        {0x0000, 0, MOVE, ROUTE_NONE},
        {0xC125, COMMIT, MOVE, ROUTE_NONE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RouteOfMessage(c.message, c.commit, c.move), c.route)
            << std::hex << c.message << " commit " << c.commit << " move " << c.move;
    }
}

TEST(ActsOnWindowOf, OnlyWindowsOfTheHooksOwnProcess) {
    const struct {
        const char* what;
        unsigned long windowProcess;
        unsigned long ownProcess;
        bool acted;
    } cases[] = {
        {"a window of this process", 0x1F4, 0x1F4, true},
        {"a window of an application of the other width", 0x2A8, 0x1F4, false},
        {"no window, or one that is gone", 0, 0x1F4, false},
        {"a process id past 2^31", 0x80000010, 0x80000010, true},
        {"ids that differ in the high bits only", 0x100001F4, 0x1F4, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ActsOnWindowOf(c.windowProcess, c.ownProcess), c.acted) << c.what;
    }
}

}  // namespace
