// The tray menu's texts are Shift-JIS byte strings: decoded from code page 932 they must
// read exactly as the menu shows them.
#include <gtest/gtest.h>

#include <string>

#include "cp932.h"
#include "menu_texts.h"

namespace {

struct MenuText {
  const char* shiftJis;
  const char* utf8;
};

// The second column is UTF-8 whatever the compiler's execution character set.
const MenuText kMenuTexts[] = {
    {MENU_TEXT_EXIT, u8"常駐解除(&Z)"},
    {MENU_TEXT_ABOUT, u8"Zelvoについて(&A)"},
};

TEST(MenuTexts, DecodeFromCodePage932) {
  for (const MenuText& t : kMenuTexts) {
    std::string decoded;
    ASSERT_TRUE(Cp932ToUtf8(t.shiftJis, &decoded)) << t.utf8;
    EXPECT_EQ(decoded, t.utf8);
  }
}

}  // namespace
