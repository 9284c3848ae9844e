#include "text/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/utf16.h"

namespace {

// Decodes the bytes of s (n in all) from i until stop, putting units at o;
// i and o move on.
void DecodeUtf8Block(const unsigned char* s, size_t n, size_t& i, size_t stop, char16_t*& o) {
  while (i < stop) {
    // ASCII, the common case, goes eight bytes at a time.
    while (stop - i >= 8) {
      uint64_t word;
      std::memcpy(&word, s + i, 8);
      if (word & 0x8080808080808080u) break;
      for (int k = 0; k < 8; ++k) o[k] = s[i + k];
      o += 8;
      i += 8;
    }
    while (i < stop && s[i] < 0x80) *o++ = s[i++];
    if (i >= stop) break;
    const unsigned char b = s[i];
    int need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the 2nd byte
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;  // no overlongs
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;  // no overlongs
      if (b == 0xF4) hi = 0x8F;  // nothing past U+10FFFF
    } else {
      *o++ = ByteEscape(b);
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= need; ++k) {
      const unsigned char min = k == 1 ? lo : 0x80, max = k == 1 ? hi : 0xBF;
      if (i + k >= n || s[i + k] < min || s[i + k] > max) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (!ok) {
      *o++ = ByteEscape(b);
      ++i;
      continue;
    }
    o = PutUtf16(o, cp);
    i += static_cast<size_t>(need) + 1;
  }
}

}  // namespace

std::u16string DecodeUtf8(std::string_view text) {
  // Never more units than bytes: room for them all is kept once, but sized
  // (and so touched) a block at a time and cut after each, so that memory
  // holds the units the text takes, not twice its bytes.
  constexpr size_t Block = 65536;
  std::u16string out;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  out.reserve(n + 4);
  size_t i = 0;
  while (i < n) {
    const size_t stop = std::min(n, i + Block);  // the last sequence may run past it
    const size_t at = out.size();
    out.resize(at + (stop - i) + 3);
    char16_t* o = out.data() + at;
    DecodeUtf8Block(s, n, i, stop, o);
    out.resize(static_cast<size_t>(o - out.data()));
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t width;
  for (size_t i = 0; i < text.size(); i += width) {
    const char32_t c = EncodableCodePointAt(text, i, width);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}
