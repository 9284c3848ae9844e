// Loading date, time and number settings from the operating system's locale
// data.
#pragma once

#include <cstdint>

#include "core/format_settings.h"

// The system-default locale (LOCALE_SYSTEM_DEFAULT).
constexpr uint32_t LocaleSystemDefault = 0x0800;

// Reads every item of settings from the locale: texts in the ANSI code page,
// separators as their first byte, numbers from their decimal text. An item
// the locale does not supply takes its default ("/", "m/d/yy", "AM", ...);
// month and day names keep the names already held. The date patterns get
// "/" wherever the locale's own date separator stood.
void LoadLocaleSettings(uint32_t locale, TFormatSettings& settings);
