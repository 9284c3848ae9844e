// The code-page codecs: any bytes decode, valid text survives the round
// trip, and any UTF-16 (lone surrogates too) encodes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/code_page.h"
#include "text/utf16.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (uint32_t cp : {CodePageUtf8, CodePageWindows1252, CodePageLatin1, CodePageLatin9}) {
    const std::u16string wide = DecodeFromCodePage(bytes, cp);
    if (wide.size() > bytes.size()) abort();  // never more units than bytes
    const std::string back = EncodeToCodePage(wide, cp);
    const bool valid = cp != CodePageUtf8 || wide.find(u'\xFFFD') == std::u16string::npos;
    if (valid && back != bytes) abort();
    if (UpperCaseSameLength(bytes, cp).size() != bytes.size()) abort();
  }
  // The same bytes read as UTF-16 units: encoding never fails and UTF-8
  // output always decodes without replacement.
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const std::string utf8 = EncodeToCodePage(units, CodePageUtf8);
  if (DecodeFromCodePage(utf8, CodePageUtf8).find(u'\xFFFD') != std::u16string::npos &&
      units.find(u'\xFFFD') == std::u16string::npos)
    abort();
  return 0;
}
