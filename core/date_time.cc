#include "core/date_time.h"

#include <algorithm>
#include <cmath>

#include "core/replace_text.h"
#include "platform/platform.h"
#include "text/ascii.h"

namespace {

// Howard Hinnant's algorithms: eras of 400 years, years from March.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr int64_t MsPerDay = 86400000;

constexpr int64_t DayZeroFromEpoch = 25569;  // 1970-01-01 is day 25569

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : Days[m - 1];
}

bool IsBlank(char c) { return c == ' '; }
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AppendPadded(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(static_cast<size_t>(width) - digits.size(), '0');
  out += digits;
}

std::string_view TrimWhite(std::string_view s) {
  while (!s.empty() && IsWhite(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsWhite(s.back())) s.remove_suffix(1);
  return s;
}

struct TNumberRec {
  int Value = 0;
  int Digits = 0;
};

// Reads up to nine digits at text[i]; false if there is no digit there.
bool ReadNumber(std::string_view text, size_t& i, TNumberRec& number) {
  number = TNumberRec();
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (number.Digits == 9) return false;
    number.Value = number.Value * 10 + (text[i] - '0');
    ++number.Digits;
    ++i;
  }
  return number.Digits > 0;
}

// Where y, m and d first stand in the short date format: their reading order.
void DateOrder(const std::string& format, char order[3]) {
  size_t found[3];
  const char letters[3] = {'y', 'm', 'd'};
  for (int k = 0; k < 3; ++k) {
    found[k] = std::string::npos;
    for (size_t i = 0; i < format.size(); ++i)
      if (AsciiLower(format[i]) == letters[k]) {
        found[k] = i;
        break;
      }
  }
  int slot[3] = {0, 1, 2};
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b)
      if (found[slot[b]] < found[slot[a]]) std::swap(slot[a], slot[b]);
  for (int k = 0; k < 3; ++k) order[k] = letters[slot[k]];
}

int ExpandTwoDigitYear(int year, int digits, const TFormatSettings& settings, int currentYear) {
  if (year >= 100 || digits > 2) return year;
  const int pivot = currentYear - settings.TwoDigitYearCenturyWindow;
  year += pivot / 100 * 100;
  if (year < pivot) year += 100;
  return year;
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  value = static_cast<TDateTime>(DaysFromCivil(year, month, day) + DayZeroFromEpoch);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  value = static_cast<TDateTime>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MsPerDay;
  return true;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) { return date >= 0 ? date + time : date - time; }

TDateTimePartsRec DecodeDateTime(TDateTime value) {
  TDateTimePartsRec parts;
  int64_t whole = static_cast<int64_t>(std::trunc(value));
  int64_t ms = std::llround(std::fabs(value - static_cast<TDateTime>(whole)) * MsPerDay);
  if (ms >= MsPerDay) {  // rounding reached the next day
    ms -= MsPerDay;
    whole += value >= 0 ? 1 : -1;
  }
  CivilFromDays(whole - DayZeroFromEpoch, parts.Year, parts.Month, parts.Day);
  parts.DayOfWeek = static_cast<int>(((whole % 7) + 7 + 6) % 7);
  parts.Hour = static_cast<int>(ms / 3600000);
  parts.Minute = static_cast<int>(ms / 60000 % 60);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.Millisecond = static_cast<int>(ms % 1000);
  return parts;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value, const TFormatSettings& settings) {
  const TDateTimePartsRec t = DecodeDateTime(value);
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      const size_t close = pattern.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? pattern.size() : close;
      out.append(pattern.substr(i + 1, end - i - 1));
      i = end == pattern.size() ? end : end + 1;
      continue;
    }
    if (c == '/') {
      out.push_back(settings.DateSeparator);
      ++i;
      continue;
    }
    if (c == ':') {
      out.push_back(settings.TimeSeparator);
      ++i;
      continue;
    }
    const char letter = AsciiLower(c);
    size_t run = 1;
    while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == letter) ++run;
    switch (letter) {
      case 'y':
        if (run <= 2)
          AppendPadded(out, t.Year % 100, 2);
        else
          AppendPadded(out, t.Year, 4);
        break;
      case 'm':
        if (run >= 4)
          out += settings.LongMonthNames[static_cast<size_t>(t.Month - 1)];
        else if (run == 3)
          out += settings.ShortMonthNames[static_cast<size_t>(t.Month - 1)];
        else
          AppendPadded(out, t.Month, static_cast<int>(run));
        break;
      case 'd':
        if (run >= 4)
          out += settings.LongDayNames[static_cast<size_t>(t.DayOfWeek)];
        else if (run == 3)
          out += settings.ShortDayNames[static_cast<size_t>(t.DayOfWeek)];
        else
          AppendPadded(out, t.Day, static_cast<int>(run));
        break;
      case 'h': AppendPadded(out, t.Hour, run >= 2 ? 2 : 1); break;
      case 'n': AppendPadded(out, t.Minute, run >= 2 ? 2 : 1); break;
      case 's': AppendPadded(out, t.Second, run >= 2 ? 2 : 1); break;
      case 'z':
        if (run >= 3) {
          AppendPadded(out, t.Millisecond, 3);
          run = 3;
        } else {
          AppendPadded(out, t.Millisecond, 1);
          run = 1;
        }
        break;
      default: run = 1; out.push_back(AsciiUpper(c));
    }
    i += run;
  }
  return out;
}

bool TryReadDate(std::string_view text, const TFormatSettings& settings, TDateTime& value) {
  const char sep = settings.DateSeparator;
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  TNumberRec numbers[3];
  int count = 0;
  size_t i = 0;
  auto skipBlanks = [&] {
    if (sep != ' ')
      while (i < text.size() && IsBlank(text[i])) ++i;
  };
  for (;;) {
    skipBlanks();
    if (count == 3 || !ReadNumber(text, i, numbers[count])) return false;
    ++count;
    skipBlanks();
    if (i >= text.size()) break;
    if (text[i] != sep) return false;
    ++i;
  }

  // Only a date that leaves out its year or month, or writes the year
  // with two digits, needs the clock: a full date never reads it.
  char order[3];
  DateOrder(settings.ShortDateFormat, order);
  int year = 0, month = 0, day = 0, yearDigits = 4;
  if (count == 1) {
    day = numbers[0].Value;
  } else {
    int k = 0;
    for (char letter : order) {
      if (count == 2 && letter == 'y') continue;
      const TNumberRec& n = numbers[k++];
      if (letter == 'y') {
        year = n.Value;
        yearDigits = n.Digits;
      } else if (letter == 'm')
        month = n.Value;
      else
        day = n.Value;
    }
  }
  if (count < 3 || (year < 100 && yearDigits <= 2)) {
    const TSystemTimeRec now = LocalTime();
    if (count < 3) year = now.Year;
    if (count < 2) month = now.Month;
    year = ExpandTwoDigitYear(year, yearDigits, settings, now.Year);
  }
  return TryEncodeDate(year, month, day, value);
}

bool TryReadTime(std::string_view text, const TFormatSettings& settings, TDateTime& value) {
  text = TrimWhite(text);
  size_t i = 0;
  TNumberRec hour, minute, second, ms;
  if (!ReadNumber(text, i, hour) || i >= text.size() || text[i] != settings.TimeSeparator) return false;
  ++i;
  if (!ReadNumber(text, i, minute)) return false;
  if (i < text.size() && text[i] == settings.TimeSeparator) {
    ++i;
    if (!ReadNumber(text, i, second)) return false;
    if (i < text.size() && text[i] == settings.DecimalSeparator) {
      ++i;
      if (!ReadNumber(text, i, ms)) return false;
    }
  }
  if (i != text.size()) return false;
  return TryEncodeTime(hour.Value, minute.Value, second.Value, ms.Value, value);
}

bool TryReadDateTime(std::string_view text, const TFormatSettings& settings, TDateTime& value) {
  text = TrimWhite(text);
  size_t white = 0;
  while (white < text.size() && !IsWhite(text[white])) ++white;
  if (white == text.size()) {
    if (text.find(settings.TimeSeparator) != std::string_view::npos) return TryReadTime(text, settings, value);
    return TryReadDate(text, settings, value);
  }
  TDateTime date, time;
  if (!TryReadDate(text.substr(0, white), settings, date) || !TryReadTime(text.substr(white), settings, time))
    return false;
  value = ComposeDateTime(date, time);
  return true;
}

bool TextToDateTime(std::string_view text, std::string_view fallbackDateFormat, const TFormatSettings& settings,
                    TDateTime& value) {
  const size_t dot = text.find('.');
  std::string_view frac;
  if (dot != std::string_view::npos) {
    const size_t next = text.find('.', dot + 1);
    frac = text.substr(dot + 1, next == std::string_view::npos ? std::string_view::npos : next - dot - 1);
  }
  bool ok;
  if (frac.empty()) {
    ok = TryReadDateTime(text, settings, value);
  } else {
    // The fraction of a second is read as milliseconds: exactly three digits.
    std::string joined(text.substr(0, dot));
    joined += '.';
    joined.append(frac.substr(0, 3));
    joined.append(3 - std::min<size_t>(frac.size(), 3), '0');
    ok = TryReadDateTime(joined, settings, value);
  }
  if (!ok) return false;

  std::string check;
  if (value < 0) check.push_back('-');
  check += FormatDateTime("mm/dd/yyyy hh:nn:ss.zzz", value, settings);
  const std::string_view dayZero = "12/30/1899";
  if (check.compare(0, dayZero.size(), dayZero) == 0 && text.find(dayZero) == std::string_view::npos) {
    // A time without a date: put today in place of day 0 and read it again.
    const TSystemTimeRec now = LocalTime();
    TDateTime today = 0;
    TryEncodeDate(now.Year, now.Month, now.Day, today);
    const std::string todayText = FormatDateTime(fallbackDateFormat, today, settings);
    return TryReadDateTime(ReplaceTextIgnoreCase(check, std::string(dayZero), todayText, false), settings, value);
  }
  return true;
}
