#include "resource_checks.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "cp932.h"
#include "required_resources.h"
#include "resource_formats.h"

namespace {

std::string Cp932(const std::u16string& text) {
  std::string bytes;
  EXPECT_TRUE(Utf16ToCp932(text, &bytes)) << "a text that code page 932 cannot hold";
  return bytes;
}

void CheckControlText(const DialogItem& item, const required::Control& want,
                      const std::string& displayName) {
  if (want.textKind == required::Text::IconOrdinal) {
    EXPECT_TRUE(IsOrdinal(item.text, static_cast<uint16_t>(want.icon)));
    return;
  }
  ASSERT_FALSE(item.text.isOrdinal);
  std::string text = Cp932(item.text.name);
  switch (want.textKind) {
    case required::Text::Exact:
      EXPECT_EQ(text, want.text);
      break;
    case required::Text::VersionLine:
      EXPECT_FALSE(displayName.empty());
      EXPECT_EQ(text, displayName + required::kVersionLineTail);
      break;
    case required::Text::FreeLine:
      EXPECT_FALSE(text.empty());
      break;
    case required::Text::IconOrdinal:
      break;
  }
}

}  // namespace

void CheckAboutTemplate(const uint8_t* data, size_t size, const std::string& displayName) {
  DialogTemplate t;
  ASSERT_TRUE(ParseDialogTemplate(data, size, &t));
  EXPECT_EQ(t.style, required::kAboutStyle);
  EXPECT_EQ(t.exStyle, 0u);
  EXPECT_EQ(t.x, required::kAboutX);
  EXPECT_EQ(t.y, required::kAboutY);
  EXPECT_EQ(t.cx, required::kAboutWidth);
  EXPECT_EQ(t.cy, required::kAboutHeight);
  EXPECT_FALSE(t.hasFont) << "the box uses the system font";
  EXPECT_TRUE(!t.menu.isOrdinal && t.menu.name.empty());
  EXPECT_TRUE(!t.windowClass.isOrdinal && t.windowClass.name.empty());
  EXPECT_EQ(Cp932(t.title), required::kAboutCaption);

  ASSERT_EQ(t.items.size(), std::size(required::kAboutControls));
  for (size_t i = 0; i < t.items.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const DialogItem& item = t.items[i];
    const required::Control& want = required::kAboutControls[i];
    EXPECT_EQ(static_cast<int16_t>(item.id), want.id);
    bool button = want.windowClass == required::Class::Button;
    EXPECT_TRUE(IsOrdinal(item.windowClass,
                          button ? required::kButtonOrdinal : required::kStaticOrdinal) ||
                IsName(item.windowClass, button ? u"Button" : u"Static"));
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.width);
    EXPECT_EQ(item.cy, want.height);
    EXPECT_EQ(item.style, want.style);
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.extraBytes, 0);
    CheckControlText(item, want, displayName);
  }
}

void CheckIconGroup(const uint8_t* data, size_t size, const IconDataLookup& iconData) {
  std::vector<IconGroupEntry> images;
  ASSERT_TRUE(ParseIconGroup(data, size, &images));
  std::multiset<int> sizes;
  for (const IconGroupEntry& image : images) {
    SCOPED_TRACE("icon image " + std::to_string(image.iconId));
    sizes.insert(image.width);
    EXPECT_EQ(image.height, image.width);
    EXPECT_EQ(image.colourCount, required::kIconColours);
    EXPECT_EQ(image.planes, 1);
    EXPECT_EQ(image.bitCount, required::kIconBits);
    std::vector<uint8_t> icon;
    ASSERT_TRUE(iconData(image.iconId, &icon));
    EXPECT_EQ(icon.size(), image.bytes);
    IconImageHeader header;
    ASSERT_TRUE(ParseIconImageHeader(icon.data(), icon.size(), &header));
    EXPECT_EQ(header.width, image.width);
    EXPECT_EQ(header.height, 2 * image.width);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitCount, required::kIconBits);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_TRUE(header.coloursUsed == 0 || header.coloursUsed == 16u) << header.coloursUsed;
    // Header, 16-entry palette, then colour bits and mask with rows padded to 32 bits.
    size_t w = image.width;
    size_t colourRow = (w * 4 + 31) / 32 * 4, maskRow = (w + 31) / 32 * 4;
    EXPECT_EQ(icon.size(), 40 + 16 * 4 + w * (colourRow + maskRow));
  }
  EXPECT_EQ(sizes, std::multiset<int>(std::begin(required::kIconSizes),
                                      std::end(required::kIconSizes)));
}
