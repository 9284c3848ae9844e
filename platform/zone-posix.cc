#include "platform/zone-posix.h"

#include "text/civil_date.h"

namespace {

constexpr int64_t SecondsPerDay = 86400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A zone name: letters, or anything between "<" and ">".
bool SkipName(std::string_view s, size_t& i) {
  const size_t start = i;
  if (i < s.size() && s[i] == '<') {
    while (i < s.size() && s[i] != '>') ++i;
    if (i >= s.size()) return false;
    ++i;
    return true;
  }
  while (i < s.size() && IsAlpha(s[i])) ++i;
  return i > start;
}

// Up to max, from digits at s[i].
bool ReadNumber(std::string_view s, size_t& i, int64_t max, int64_t& value) {
  if (i >= s.size() || !IsDigit(s[i])) return false;
  value = 0;
  while (i < s.size() && IsDigit(s[i])) {
    value = value * 10 + (s[i++] - '0');
    if (value > max) return false;
  }
  return true;
}

// [+-]hh[:mm[:ss]] in seconds.
bool ReadClock(std::string_view s, size_t& i, int64_t maxHours, int64_t& seconds) {
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int64_t h, m = 0, sec = 0;
  if (!ReadNumber(s, i, maxHours, h)) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!ReadNumber(s, i, 59, m)) return false;
    if (i < s.size() && s[i] == ':') {
      ++i;
      if (!ReadNumber(s, i, 59, sec)) return false;
    }
  }
  seconds = (h * 3600 + m * 60 + sec) * (negative ? -1 : 1);
  return true;
}

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// A change of rule: its day within a year and its time of day.
struct TChangeRec {
  char Kind = 'M';        // 'J' day 1-365 without Feb 29, 'D' day 0-365, 'M' month, week, weekday
  int64_t Day = 0, Month = 0, Week = 0, Weekday = 0;
  int64_t Time = 7200;    // local time of day, default 02:00
};

bool ReadChange(std::string_view s, size_t& i, TChangeRec& c) {
  if (i < s.size() && s[i] == 'M') {
    ++i;
    c.Kind = 'M';
    if (!ReadNumber(s, i, 12, c.Month) || c.Month < 1 || i >= s.size() || s[i++] != '.' ||
        !ReadNumber(s, i, 5, c.Week) || c.Week < 1 || i >= s.size() || s[i++] != '.' ||
        !ReadNumber(s, i, 6, c.Weekday))
      return false;
  } else if (i < s.size() && s[i] == 'J') {
    ++i;
    c.Kind = 'J';
    if (!ReadNumber(s, i, 365, c.Day) || c.Day < 1) return false;
  } else {
    c.Kind = 'D';
    if (!ReadNumber(s, i, 365, c.Day)) return false;
  }
  if (i < s.size() && s[i] == '/') {
    ++i;
    if (!ReadClock(s, i, 167, c.Time)) return false;
  }
  return true;
}

// Seconds since 1970 of the change in year, in the local time it is given in.
int64_t ChangeMoment(const TChangeRec& c, int64_t year) {
  int64_t day;
  if (c.Kind == 'J') {
    day = DaysFromCivil(year, 1, 1) + c.Day - 1 + (IsLeap(year) && c.Day >= 60 ? 1 : 0);
  } else if (c.Kind == 'D') {
    day = DaysFromCivil(year, 1, 1) + c.Day;
  } else {
    const int64_t first = DaysFromCivil(year, c.Month, 1);
    const int64_t next = c.Month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, c.Month + 1, 1);
    const int64_t weekday = ((first + 4) % 7 + 7) % 7;  // 1970-01-01 was a Thursday
    day = first + (c.Weekday - weekday + 7) % 7 + (c.Week - 1) * 7;
    while (day >= next) day -= 7;  // week 5 is the last such weekday
  }
  return day * SecondsPerDay + c.Time;
}

uint64_t BigEndian(std::string_view data, size_t at, size_t bytes) {
  uint64_t v = 0;
  for (size_t k = 0; k < bytes; ++k) v = (v << 8) | static_cast<unsigned char>(data[at + k]);
  return v;
}

}  // namespace

bool TzRuleUtcOffset(std::string_view rule, int64_t utc, int32_t& offset) {
  size_t i = 0;
  int64_t stdWest, dstWest;
  if (!SkipName(rule, i) || !ReadClock(rule, i, 24, stdWest)) return false;
  if (i == rule.size()) {
    offset = static_cast<int32_t>(-stdWest);
    return true;
  }
  if (!SkipName(rule, i)) return false;
  dstWest = stdWest - 3600;
  if (i < rule.size() && rule[i] != ',' && !ReadClock(rule, i, 24, dstWest)) return false;
  TChangeRec start, end;
  if (i == rule.size()) {
    start.Month = 3; start.Week = 2;  // no dates given: the US rules
    end.Month = 11; end.Week = 1;
  } else if (rule[i] != ',' || !ReadChange(rule, ++i, start) || i >= rule.size() || rule[i] != ',' ||
             !ReadChange(rule, ++i, end) || i != rule.size()) {
    return false;
  }
  int year, month, day;
  CivilFromDays((utc - stdWest) / SecondsPerDay - ((utc - stdWest) % SecondsPerDay < 0), year, month, day);
  // The start is given in standard time, the end in daylight saving time.
  const int64_t startUtc = ChangeMoment(start, year) + stdWest;
  const int64_t endUtc = ChangeMoment(end, year) + dstWest;
  const bool dst = startUtc < endUtc ? startUtc <= utc && utc < endUtc : !(endUtc <= utc && utc < startUtc);
  offset = static_cast<int32_t>(-(dst ? dstWest : stdWest));
  return true;
}

bool TzifUtcOffset(std::string_view data, int64_t utc, int32_t& offset) {
  constexpr size_t HeaderSize = 44;
  if (data.size() < HeaderSize || data.substr(0, 4) != "TZif") return false;
  const auto count = [&](size_t base, int k) { return static_cast<size_t>(BigEndian(data, base + 20 + 4 * k, 4)); };
  // Version 2 and later repeat the data with 64-bit times, then a rule.
  size_t base = 0, timeSize = 4;
  if (data[4] >= '2') {
    const size_t v1 = count(0, 3) * 5 + count(0, 4) * 6 + count(0, 5) + count(0, 2) * 8 + count(0, 1) + count(0, 0);
    base = HeaderSize + v1;
    timeSize = 8;
    if (data.size() < base + HeaderSize || data.substr(base, 4) != "TZif") return false;
  }
  const size_t times = count(base, 3), types = count(base, 4);
  const size_t timeAt = base + HeaderSize, indexAt = timeAt + times * timeSize, typeAt = indexAt + times;
  const size_t end = typeAt + types * 6 + count(base, 5) + count(base, 2) * (timeSize + 4) + count(base, 1) +
                     count(base, 0);
  if (types == 0 || data.size() < end) return false;
  size_t type = 0;
  if (times > 0) {
    const auto timeOf = [&](size_t k) {
      const uint64_t raw = BigEndian(data, timeAt + k * timeSize, timeSize);
      return timeSize == 8 ? static_cast<int64_t>(raw) : static_cast<int64_t>(static_cast<int32_t>(raw));
    };
    if (utc >= timeOf(times - 1) && timeSize == 8 && end + 1 < data.size() && data[end] == '\n') {
      const size_t close = data.find('\n', end + 1);
      if (close != std::string_view::npos && close > end + 1 &&
          TzRuleUtcOffset(data.substr(end + 1, close - end - 1), utc, offset))
        return true;
    }
    // The last transition at or before utc: a binary search.
    size_t lo = 0, hi = times;
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (timeOf(mid) <= utc) lo = mid + 1; else hi = mid;
    }
    if (lo > 0) type = static_cast<unsigned char>(data[indexAt + lo - 1]);
  }
  if (type >= types) return false;
  offset = static_cast<int32_t>(static_cast<uint32_t>(BigEndian(data, typeAt + type * 6, 4)));
  return true;
}
