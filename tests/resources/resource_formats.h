// Readers for the binary resource formats that ZELVO's resources are made of: the .res
// file that windres writes, dialog templates, icon groups and images, version records.
// Plain byte parsing (little-endian), no Windows headers, so native and Windows tests
// share them. Every reader returns false on data that is cut short or malformed.
#ifndef ZELVO_TESTS_RESOURCE_FORMATS_H
#define ZELVO_TESTS_RESOURCE_FORMATS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A resource type, name or dialog field that is either a number or a UTF-16 string.
struct NameOrOrdinal {
  bool isOrdinal = false;
  uint16_t ordinal = 0;
  std::u16string name;
};

bool IsOrdinal(const NameOrOrdinal& n, uint16_t ordinal);
bool IsName(const NameOrOrdinal& n, const std::u16string& name);  // case-insensitive ASCII

// One entry of a .res file.
struct ResEntry {
  NameOrOrdinal type;
  NameOrOrdinal name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};
bool ParseResFile(const std::vector<uint8_t>& file, std::vector<ResEntry>* entries);

struct DialogItem {
  uint32_t style = 0, exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
  uint16_t extraBytes = 0;
};
struct DialogTemplate {
  uint32_t style = 0, exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string title;
  bool hasFont = false;
  std::vector<DialogItem> items;
};
// The classic template (DIALOG statement); the extended form is refused.
bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate* out);

struct IconGroupEntry {
  uint8_t width = 0, height = 0, colourCount = 0;
  uint16_t planes = 0, bitCount = 0;
  uint32_t bytes = 0;
  uint16_t iconId = 0;
};
bool ParseIconGroup(const uint8_t* data, size_t size, std::vector<IconGroupEntry>* entries);

// The BITMAPINFOHEADER that starts an icon image (height counts colour and mask).
struct IconImageHeader {
  int32_t width = 0, height = 0;
  uint16_t planes = 0, bitCount = 0;
  uint32_t compression = 0, coloursUsed = 0;
};
bool ParseIconImageHeader(const uint8_t* data, size_t size, IconImageHeader* out);

// One node of a version record (VS_VERSIONINFO and the blocks and values inside it).
struct VersionNode {
  std::u16string key;
  bool isText = false;
  std::vector<uint8_t> value;  // binary value
  std::u16string text;         // text value, without its NUL
  std::vector<VersionNode> children;
};
bool ParseVersionNode(const uint8_t* data, size_t size, VersionNode* out);
// The child reached by a path of keys, or null.
const VersionNode* FindVersionNode(const VersionNode& root,
                                   const std::vector<std::u16string>& path);

#endif
