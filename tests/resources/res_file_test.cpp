// Reads the .res file compiled from ZELVO's resource script and checks what the program
// will find in it: the About box template, the icon group and the version record.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cp932.h"
#include "required_resources.h"
#include "resource_checks.h"
#include "resource_formats.h"

namespace {

constexpr uint16_t kRtIcon = 3, kRtDialog = 5, kRtGroupIcon = 14, kRtVersion = 16;

class ResFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(ZELVO_RES_PATH, std::ios::binary);
    ASSERT_TRUE(in) << ZELVO_RES_PATH;
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    ASSERT_TRUE(ParseResFile(file, &entries_));
  }

  const ResEntry* Find(uint16_t type, uint16_t id) const {
    for (const ResEntry& e : entries_)
      if (IsOrdinal(e.type, type) && IsOrdinal(e.name, id)) return &e;
    return nullptr;
  }

  const ResEntry* FindNamed(uint16_t type, const std::u16string& name) const {
    for (const ResEntry& e : entries_)
      if (IsOrdinal(e.type, type) && IsName(e.name, name)) return &e;
    return nullptr;
  }

  std::vector<ResEntry> entries_;
};

std::u16string Widen(const char* ascii) { return std::u16string(ascii, ascii + strlen(ascii)); }

std::string Cp932(const std::u16string& text) {
  std::string bytes;
  EXPECT_TRUE(Utf16ToCp932(text, &bytes)) << "not representable in code page 932";
  return bytes;
}

std::string TextOf(const VersionNode& root, const char* key) {
  const VersionNode* node =
      FindVersionNode(root, {u"StringFileInfo", Widen(required::kStringTable), Widen(key)});
  EXPECT_NE(node, nullptr) << key;
  if (!node) return std::string();
  EXPECT_TRUE(node->isText) << key;
  return Cp932(node->text);
}

uint32_t U32At(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}

TEST_F(ResFileTest, EveryResourceIsJapanese) {
  ASSERT_FALSE(entries_.empty());
  for (const ResEntry& e : entries_) EXPECT_EQ(e.language, required::kJapanese);
}

TEST_F(ResFileTest, AboutBoxTemplate) {
  const ResEntry* e = FindNamed(kRtDialog, Widen(required::kAboutTemplate));
  ASSERT_NE(e, nullptr);
  const ResEntry* v = Find(kRtVersion, 1);
  ASSERT_NE(v, nullptr);
  VersionNode version;
  ASSERT_TRUE(ParseVersionNode(v->data.data(), v->data.size(), &version));
  CheckAboutTemplate(e->data.data(), e->data.size(), TextOf(version, "ProductName"));
}

TEST_F(ResFileTest, IconGroupHasBothSizesIn16Colours) {
  const ResEntry* group = Find(kRtGroupIcon, required::kIconGroup);
  ASSERT_NE(group, nullptr);
  CheckIconGroup(group->data.data(), group->data.size(),
                 [this](uint16_t id, std::vector<uint8_t>* data) {
                   const ResEntry* icon = Find(kRtIcon, id);
                   if (icon) *data = icon->data;
                   return icon != nullptr;
                 });
}

TEST_F(ResFileTest, VersionRecord) {
  const ResEntry* v = Find(kRtVersion, 1);
  ASSERT_NE(v, nullptr);
  VersionNode root;
  ASSERT_TRUE(ParseVersionNode(v->data.data(), v->data.size(), &root));
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  ASSERT_GE(root.value.size(), 52u);  // VS_FIXEDFILEINFO
  EXPECT_EQ(U32At(root.value, 0), 0xFEEF04BDu);
  EXPECT_EQ(U32At(root.value, 8), required::kVersionHigh);    // file version
  EXPECT_EQ(U32At(root.value, 12), required::kVersionLow);
  EXPECT_EQ(U32At(root.value, 16), required::kVersionHigh);   // product version
  EXPECT_EQ(U32At(root.value, 20), required::kVersionLow);

  EXPECT_EQ(TextOf(root, "FileVersion"), required::kVersionText);
  EXPECT_EQ(TextOf(root, "ProductVersion"), required::kVersionText);
  EXPECT_EQ(TextOf(root, "InternalName"), required::kInternalName);
  EXPECT_EQ(TextOf(root, "OriginalFilename"), required::kOriginalFilename);
  std::string name = TextOf(root, "ProductName");
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(TextOf(root, "FileDescription"), name);

  const VersionNode* translation = FindVersionNode(root, {u"VarFileInfo", u"Translation"});
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value.size(), 4u);
  EXPECT_EQ(translation->value[0] | translation->value[1] << 8, required::kTranslationLanguage);
  EXPECT_EQ(translation->value[2] | translation->value[3] << 8, required::kTranslationCodePage);
}

}  // namespace
