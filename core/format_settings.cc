#include "core/format_settings.h"

// Built on first use: the texts would otherwise cost every run a static
// initialiser, while only the banner reads them.
TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}
