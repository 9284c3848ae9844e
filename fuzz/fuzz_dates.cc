// Date reading and formatting: any text and pattern is safe, and whatever
// reads as a date and time writes out and reads back as the same moment.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/date_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  TFormatSettings s = DefaultFormatSettings();
  const char seps[] = "/.-: ";
  s.DateSeparator = seps[data[0] % 5];
  s.TimeSeparator = data[1] & 1 ? ':' : '.';
  s.DecimalSeparator = data[1] & 2 ? '.' : ',';
  const char* orders[] = {"yyyy/mm/dd", "mm/dd/yyyy", "dd/mm/yy", "m/d/yyyy"};
  s.ShortDateFormat = orders[data[2] % 4];
  const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);

  TDateTime value;
  if (TextToDateTime(text, "mm/dd/yyyy", s, value)) {
    TFormatSettings fixed = DefaultFormatSettings();
    fixed.ShortDateFormat = "yyyy/mm/dd";
    const std::string written = FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", value, fixed);
    TDateTime again;
    if (!TryReadDateTime(written, fixed, again) || std::fabs(again - value) > 1e-6) abort();
  }
  // The input as a pattern, for a moment taken from the input's first bytes.
  const double moment = (data[2] | data[3] << 8) * 3.7 - 20000;
  FormatDateTime(text, moment, s);
  return 0;
}
