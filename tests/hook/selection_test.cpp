#include "selection.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(MoveOfSelectionKey, PageByMappedKeyThenDownByEitherElseUp) {
    const struct {
        unsigned keyCode;
        unsigned mappedKey;
        SelectionMove move;
    } cases[] = {
        {0xE5, 0x22, SELECTION_PAGE}, {0xE5, 0x21, SELECTION_PAGE}, {0x28, 0x28, SELECTION_DOWN},
        {0xE5, 0x28, SELECTION_DOWN}, {0x28, 0x00, SELECTION_DOWN}, {0x26, 0x26, SELECTION_UP},
        {0xE5, 0x26, SELECTION_UP},   {0x26, 0x28, SELECTION_DOWN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MoveOfSelectionKey(c.keyCode, c.mappedKey), c.move)
            << std::hex << "K=" << c.keyCode << " M=" << c.mappedKey;
    }
}

TEST(NextSelection, MovesOneItemAndLeavesNoSelectionAlone) {
    const struct {
        int current;
        SelectionMove move;
        bool changes;
        int next;
    } cases[] = {
        {-1, SELECTION_DOWN, true, 0},   // from no selection to the first item
        {0, SELECTION_DOWN, true, 1},
        {6, SELECTION_DOWN, true, 7},
        {-5, SELECTION_DOWN, true, 0},   // any negative index is no selection
        {INT_MAX, SELECTION_DOWN, false, 0},
        {3, SELECTION_UP, true, 2},
        {0, SELECTION_UP, true, -1},     // up from the first item: nothing selected
        {-1, SELECTION_UP, false, 0},    // up with nothing selected changes nothing
        {2, SELECTION_PAGE, false, 0},   // the list box moves by pages itself
    };
    for (const auto& c : cases) {
        int next = 12345;
        EXPECT_EQ(NextSelection(c.current, c.move, &next), c.changes)
            << c.current << " move " << c.move;
        EXPECT_EQ(next, c.changes ? c.next : 12345) << c.current << " move " << c.move;
    }
}

TEST(KeyUpLParam, SetsBit31AndKeepsTheRest) {
    const struct {
        std::uint32_t keyDown;
        std::uint32_t keyUp;
    } cases[] = {
        {0x01510001u, 0x81510001u},
        {0x80000000u, 0x80000000u},
        {0x00000000u, 0x80000000u},
        {0x41510001u, 0xC1510001u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyUpLParam(c.keyDown), c.keyUp) << std::hex << c.keyDown;
    }
}

TEST(ConsumesSelectionKey, OnlyCtrlInTheWordWindowLetsTheKeyThrough) {
    const struct {
        bool control;
        const char* windowClass;
        bool consumed;
    } cases[] = {
        {true, "_WwG", false}, {false, "_WwG", true}, {true, "_wwg", true},
        {true, "_WwG2", true}, {true, "Edit", true},  {false, "Edit", true},
        {true, "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConsumesSelectionKey(c.control, c.windowClass), c.consumed)
            << c.control << " " << c.windowClass;
    }
}

}  // namespace
