#include "key_classify.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    unsigned keyCode;    // K
    unsigned mappedKey;  // M
    HookKey expected;
};

TEST(ClassifyKey, RecognisesKeysByCodeOrByMappedKeyWhileTheImeProcesses) {
    const KeyCase cases[] = {
        {0x28, 0x28, HOOK_KEY_DOWN},
        {0x28, 0x00, HOOK_KEY_DOWN},       // K alone is enough
        {0xE5, 0x28, HOOK_KEY_DOWN},       // IME processing: M tells the key
        {0x10, 0x28, HOOK_KEY_OTHER},      // M counts only while the IME processes
        {0x26, 0x26, HOOK_KEY_UP},
        {0x26, 0x28, HOOK_KEY_UP},         // K is Up, M does not make it Down
        {0xE5, 0x26, HOOK_KEY_UP},
        {0x41, 0x26, HOOK_KEY_OTHER},
        {0xE5, 0x22, HOOK_KEY_PAGE_DOWN},
        {0xE5, 0x21, HOOK_KEY_PAGE_UP},
        {0x22, 0x22, HOOK_KEY_OTHER},      // page keys without the IME reach the application
        {0x21, 0x21, HOOK_KEY_OTHER},
        {0x0D, 0x0D, HOOK_KEY_ENTER},
        {0xE5, 0x0D, HOOK_KEY_ENTER},
        {0x41, 0x0D, HOOK_KEY_ENTER},      // Enter is told by M alone
        {0x0D, 0x00, HOOK_KEY_OTHER},
        {0x28, 0x0D, HOOK_KEY_DOWN},       // a selection key comes before Enter
        {0xE5, 0x41, HOOK_KEY_OTHER},
        {0x00, 0x00, HOOK_KEY_OTHER},
        {0x2E, 0x2E, HOOK_KEY_DELETE},
        {0x2E, 0x00, HOOK_KEY_DELETE},     // K alone is enough
        {0xE5, 0x2E, HOOK_KEY_DELETE},     // IME processing: M tells the key
        {0x6E, 0x2E, HOOK_KEY_OTHER},      // the keypad's decimal point: M counts only for the IME
        {0x2E, 0x0D, HOOK_KEY_ENTER},      // Enter is told by M first
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(ClassifyKey(c.keyCode, c.mappedKey), c.expected)
            << std::hex << "K=" << c.keyCode << " M=" << c.mappedKey;
    }
}

TEST(ClassifyKey, SelectionKeysAreTheFourMovingKeys) {
    const struct {
        HookKey key;
        bool selection;
    } cases[] = {
        {HOOK_KEY_DOWN, true},       {HOOK_KEY_UP, true},     {HOOK_KEY_PAGE_DOWN, true},
        {HOOK_KEY_PAGE_UP, true},    {HOOK_KEY_ENTER, false}, {HOOK_KEY_OTHER, false},
        {HOOK_KEY_DELETE, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSelectionKey(c.key), c.selection) << c.key;
    }
}

TEST(ScanCodeOfKey, TakesBits16To23) {
    const struct {
        std::uint32_t lParam;
        unsigned scanCode;
    } cases[] = {
        {0x01500001u, 0x50},  // Down on the numeric keypad
        {0xC1480001u, 0x48},  // transition and extended bits are not part of it
        {0x0000FFFFu, 0x00},
        {0x00FF0000u, 0xFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScanCodeOfKey(c.lParam), c.scanCode) << std::hex << c.lParam;
    }
}

}  // namespace
