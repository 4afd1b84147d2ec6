// What ZELVO's resources must contain: the About box as the program shows it, the icon
// formats and the version record. Texts are the Shift-JIS bytes the program sees through
// the ANSI calls; style bits carry the platform's values.
#ifndef ZELVO_TESTS_REQUIRED_RESOURCES_H
#define ZELVO_TESTS_REQUIRED_RESOURCES_H

#include <cstdint>

namespace required {

constexpr uint16_t kJapanese = 0x0411;

// Window and control styles.
constexpr uint32_t kWsPopup = 0x80000000, kWsChild = 0x40000000, kWsVisible = 0x10000000,
                   kWsClipSiblings = 0x04000000, kWsCaption = 0x00C00000,
                   kWsSysMenu = 0x00080000, kWsGroup = 0x00020000, kWsTabStop = 0x00010000,
                   kDsModalFrame = 0x80, kDs3dLook = 0x4;
constexpr uint32_t kBsPushButton = 0x0, kBsGroupBox = 0x7;
constexpr uint32_t kSsLeft = 0x0, kSsIcon = 0x3, kSsLeftNoWordWrap = 0xC;
constexpr uint32_t kEveryControl = kWsChild | kWsVisible | kWsClipSiblings;

// Predefined window classes, as template ordinals and as names.
enum class Class { Button, Static };
constexpr uint16_t kButtonOrdinal = 0x80, kStaticOrdinal = 0x82;

constexpr const char* kAboutTemplate = "ABOUTDLG";
// "バージョン情報" (version information).
constexpr const char* kAboutCaption = "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1";
constexpr uint32_t kAboutStyle = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDs3dLook;
constexpr int kAboutX = 0, kAboutY = 0, kAboutWidth = 244, kAboutHeight = 69;

// How a control's text is given.
enum class Text {
  Exact,        // the bytes in `text`
  IconOrdinal,  // the icon resource `icon`
  VersionLine,  // the product's display name, two blanks, "Version0.81"
  FreeLine,     // open content: any non-empty line that code page 932 can hold
};
constexpr const char* kVersionLineTail = "  Version0.81";

struct Control {
  int id;
  Class windowClass;
  int x, y, width, height;
  uint32_t style;
  Text textKind;
  const char* text;
  int icon;
};

constexpr Control kAboutControls[] = {
    // "ＯＫ" in full-width letters.
    {1, Class::Button, 192, 6, 45, 14, kEveryControl | kBsPushButton | kWsGroup | kWsTabStop,
     Text::Exact, "\x82\x6e\x82\x6a", 0},
    {4000, Class::Static, 8, 7, 16, 14, kEveryControl | kSsIcon, Text::IconOrdinal, nullptr,
     100},
    {-1, Class::Static, 41, 8, 144, 9, kEveryControl | kWsGroup | kSsLeft, Text::VersionLine,
     nullptr, 0},
    {-1, Class::Static, 41, 20, 152, 9, kEveryControl | kWsGroup | kSsLeftNoWordWrap,
     Text::FreeLine, nullptr, 0},
    {-1, Class::Static, 39, 43, 148, 9, kEveryControl | kWsGroup | kSsLeftNoWordWrap,
     Text::FreeLine, nullptr, 0},
    {-1, Class::Static, 39, 55, 201, 9, kEveryControl | kWsGroup | kSsLeftNoWordWrap,
     Text::FreeLine, nullptr, 0},
    {-1, Class::Button, 29, 32, 205, 4, kEveryControl | kBsGroupBox, Text::Exact, "", 0},
};

// Icon group 100: one 32 x 32 and one 16 x 16 image, 16 colours (4 bits per pixel).
constexpr int kIconGroup = 100;
constexpr int kIconSizes[] = {32, 16};
constexpr int kIconColours = 16;
constexpr int kIconBits = 4;

// Tray menu commands.
constexpr int kMenuExit = 200, kMenuAbout = 201;

// Version record.
constexpr uint32_t kVersionHigh = 0x00000009;  // 0.9
constexpr uint32_t kVersionLow = 0x00000000;   // .0.0
constexpr const char* kVersionText = "0, 9, 0, 0";
constexpr const char* kStringTable = "041104B0";
constexpr uint16_t kTranslationLanguage = 0x0411, kTranslationCodePage = 1200;
constexpr const char* kInternalName = "ZELVO";
constexpr const char* kOriginalFilename = "ZELVO.EXE";

}  // namespace required

#endif
