#include "cp932.h"

#include <iconv.h>

#include <vector>

namespace {

bool Convert(const char* to, const char* from, const char* bytes, size_t size,
             std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> buffer(size * 4 + 16);
  char* in = const_cast<char*>(bytes);
  size_t inLeft = size;
  char* dest = buffer.data();
  size_t destLeft = buffer.size();
  bool ok = iconv(cd, &in, &inLeft, &dest, &destLeft) != static_cast<size_t>(-1) &&
            inLeft == 0;
  iconv_close(cd);
  if (ok) out->assign(buffer.data(), dest);
  return ok;
}

}  // namespace

bool Utf16ToCp932(const std::u16string& text, std::string* out) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  // iconv maps some characters that code page 932 lacks onto near ones (U+301C onto
  // the bytes of U+FF5E): only a text that comes back unchanged is exact.
  std::string back;
  return Convert("CP932", "UTF-16LE", bytes.data(), bytes.size(), out) &&
         Convert("UTF-16LE", "CP932", out->data(), out->size(), &back) && back == bytes;
}

bool Cp932ToUtf8(const std::string& text, std::string* out) {
  return Convert("UTF-8", "CP932", text.data(), text.size(), out);
}
