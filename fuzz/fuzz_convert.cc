// The code-page codecs: any bytes decode and come back byte for byte, and
// any UTF-16 (lone surrogates too) encodes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text_conversion.h"
#include "text/codecs.h"
#include "text/double_byte.h"
#include "text/utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (uint32_t cp : {CodePageUtf8, CodePageWindows1252, CodePageLatin1, CodePageLatin9, CodePageBytes, CodePageGb18030,
                      CodePageGbk, CodePageBig5, CodePageEucKr, CodePageEucJp, CodePageShiftJis}) {
    const std::u16string wide = DecodeFromCodePage(bytes, cp);
    if (wide.size() > bytes.size()) abort();  // never more units than bytes
    // Whatever the bytes, they come back: valid text re-encoded, the rest
    // from its escapes. Big5 alone has characters with two codes.
    const std::string back = NarrowFromWide(wide, cp, cp);
    if (cp == CodePageBig5 ? DecodeFromCodePage(back, cp) != wide : back != bytes) abort();
    if (UpperCaseSameLength(bytes, cp).size() != bytes.size()) abort();
  }
  // The same bytes read as UTF-16 units: encoding never fails and UTF-8
  // output is always valid text.
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const std::u16string decoded = DecodeFromCodePage(EncodeToCodePage(units, CodePageUtf8), CodePageUtf8);
  for (size_t i = 0; i < decoded.size(); ++i)
    if (IsByteEscape(decoded[i]) && !SplitsPairAt(decoded, i)) abort();  // a pair's half is no escape
  return 0;
}
