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
    {MENU_TEXT_PAUSE, u8"学習を一時停止(&P)"},
    {MENU_TEXT_EXCLUDE_BEFORE, u8"「"},
    {MENU_TEXT_EXCLUDE_AFTER, u8"」では使わない(&X)"},
    {MENU_TEXT_EXCLUDED, u8"使わないプログラム(&U)"},
    {MENU_TEXT_OPEN_DICTIONARY, u8"辞書ファイルを開く(&E)"},
    {MENU_TEXT_CLEAN_UP, u8"古い単語を整理…(&O)"},
};

TEST(MenuTexts, DecodeFromCodePage932) {
  for (const MenuText& t : kMenuTexts) {
    std::string decoded;
    ASSERT_TRUE(Cp932ToUtf8(t.shiftJis, &decoded)) << t.utf8;
    EXPECT_EQ(decoded, t.utf8);
  }
}

}  // namespace
