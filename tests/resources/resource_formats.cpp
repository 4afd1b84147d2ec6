#include "resource_formats.h"

namespace {

// A bounds-checked little-endian reader over one buffer; offsets are from its start,
// which is also the origin of the DWORD alignment.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  bool ok = true;

  bool Need(size_t n) {
    if (!ok || n > size || pos > size - n) ok = false;
    return ok;
  }
  uint8_t U8() { return Need(1) ? data[pos++] : 0; }
  uint16_t U16() {
    if (!Need(2)) return 0;
    uint16_t v = static_cast<uint16_t>(data[pos] | data[pos + 1] << 8);
    pos += 2;
    return v;
  }
  uint32_t U32() {
    uint32_t low = U16();
    return low | static_cast<uint32_t>(U16()) << 16;
  }
  int16_t S16() { return static_cast<int16_t>(U16()); }
  void Align4() {
    size_t aligned = (pos + 3) & ~static_cast<size_t>(3);
    pos = aligned <= size ? aligned : size;
  }
  std::u16string Sz() {
    std::u16string s;
    for (char16_t c = static_cast<char16_t>(U16()); ok && c != 0;
         c = static_cast<char16_t>(U16()))
      s += c;
    return s;
  }
  NameOrOrdinal SzOrOrd() {
    NameOrOrdinal n;
    uint16_t first = U16();
    if (first == 0xFFFF) {
      n.isOrdinal = true;
      n.ordinal = U16();
    } else if (first != 0) {
      n.name = static_cast<char16_t>(first);
      n.name += Sz();
    }
    return n;
  }
};

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

}  // namespace

bool IsOrdinal(const NameOrOrdinal& n, uint16_t ordinal) {
  return n.isOrdinal && n.ordinal == ordinal;
}

bool IsName(const NameOrOrdinal& n, const std::u16string& name) {
  if (n.isOrdinal || n.name.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (UpperAscii(n.name[i]) != UpperAscii(name[i])) return false;
  return true;
}

bool ParseResFile(const std::vector<uint8_t>& file, std::vector<ResEntry>* entries) {
  entries->clear();
  Reader r{file.data(), file.size()};
  while (r.ok && r.pos < file.size()) {
    size_t start = r.pos;
    uint32_t dataSize = r.U32();
    uint32_t headerSize = r.U32();
    ResEntry e;
    e.type = r.SzOrOrd();
    e.name = r.SzOrOrd();
    r.Align4();
    r.U32();  // data version
    r.U16();  // memory flags
    e.language = r.U16();
    r.U32();  // version
    r.U32();  // characteristics
    if (!r.ok || headerSize < r.pos - start) return false;
    r.pos = start + headerSize;
    if (!r.Need(dataSize)) return false;
    e.data.assign(file.data() + r.pos, file.data() + r.pos + dataSize);
    r.pos += dataSize;
    r.Align4();
    // The file opens with an empty entry that only marks the format.
    if (!(dataSize == 0 && IsOrdinal(e.type, 0))) entries->push_back(std::move(e));
  }
  return r.ok;
}

bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate* out) {
  Reader r{data, size};
  *out = DialogTemplate();
  out->style = r.U32();
  if ((out->style & 0xFFFF0000u) == 0xFFFF0000u && (out->style & 0xFFFF) == 1)
    return false;  // DLGTEMPLATEEX
  out->exStyle = r.U32();
  uint16_t count = r.U16();
  out->x = r.S16();
  out->y = r.S16();
  out->cx = r.S16();
  out->cy = r.S16();
  out->menu = r.SzOrOrd();
  out->windowClass = r.SzOrOrd();
  out->title = r.Sz();
  const uint32_t dsSetFont = 0x40;
  out->hasFont = (out->style & dsSetFont) != 0;
  if (out->hasFont) {
    r.U16();
    r.Sz();
  }
  for (uint16_t i = 0; r.ok && i < count; ++i) {
    r.Align4();
    DialogItem item;
    item.style = r.U32();
    item.exStyle = r.U32();
    item.x = r.S16();
    item.y = r.S16();
    item.cx = r.S16();
    item.cy = r.S16();
    item.id = r.U16();
    item.windowClass = r.SzOrOrd();
    item.text = r.SzOrOrd();
    item.extraBytes = r.U16();
    if (r.Need(item.extraBytes)) r.pos += item.extraBytes;
    out->items.push_back(item);
  }
  return r.ok;
}

bool ParseIconGroup(const uint8_t* data, size_t size, std::vector<IconGroupEntry>* entries) {
  Reader r{data, size};
  entries->clear();
  uint16_t reserved = r.U16();
  uint16_t type = r.U16();
  uint16_t count = r.U16();
  if (!r.ok || reserved != 0 || type != 1) return false;
  for (uint16_t i = 0; r.ok && i < count; ++i) {
    IconGroupEntry e;
    e.width = r.U8();
    e.height = r.U8();
    e.colourCount = r.U8();
    r.U8();
    e.planes = r.U16();
    e.bitCount = r.U16();
    e.bytes = r.U32();
    e.iconId = r.U16();
    entries->push_back(e);
  }
  return r.ok && r.pos == size;
}

bool ParseIconImageHeader(const uint8_t* data, size_t size, IconImageHeader* out) {
  Reader r{data, size};
  uint32_t headerSize = r.U32();
  out->width = static_cast<int32_t>(r.U32());
  out->height = static_cast<int32_t>(r.U32());
  out->planes = r.U16();
  out->bitCount = r.U16();
  out->compression = r.U32();
  r.U32();  // image size
  r.U32();  // pixels per metre, x
  r.U32();  // pixels per metre, y
  out->coloursUsed = r.U32();
  return r.ok && headerSize == 40;
}

namespace {

bool ParseVersionNodeAt(Reader& outer, VersionNode* out) {
  size_t start = outer.pos;
  uint16_t length = outer.U16();
  if (!outer.ok || length < 6 || !outer.Need(length - 2u)) return false;
  Reader r{outer.data, start + length, start + 2};
  uint16_t valueLength = r.U16();
  out->isText = r.U16() == 1;
  out->key = r.Sz();
  r.Align4();
  if (out->isText) {
    // The length counts characters here, the NUL included; read up to the NUL.
    size_t end = r.pos + 2u * valueLength;
    out->text = valueLength ? r.Sz() : std::u16string();
    if (r.pos < end) r.pos = end;
  } else if (r.Need(valueLength)) {
    out->value.assign(r.data + r.pos, r.data + r.pos + valueLength);
    r.pos += valueLength;
  }
  r.Align4();
  while (r.ok && r.pos < r.size) {
    VersionNode child;
    if (!ParseVersionNodeAt(r, &child)) return false;
    out->children.push_back(std::move(child));
    r.Align4();
  }
  outer.pos = start + length;
  return r.ok;
}

}  // namespace

bool ParseVersionNode(const uint8_t* data, size_t size, VersionNode* out) {
  Reader r{data, size};
  *out = VersionNode();
  return ParseVersionNodeAt(r, out);
}

const VersionNode* FindVersionNode(const VersionNode& root,
                                   const std::vector<std::u16string>& path) {
  const VersionNode* node = &root;
  for (const std::u16string& key : path) {
    const VersionNode* next = nullptr;
    for (const VersionNode& child : node->children)
      if (child.key == key) next = &child;
    if (!next) return nullptr;
    node = next;
  }
  return node;
}
