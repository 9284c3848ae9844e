#include "platform/langinfo-posix.h"

namespace {

// Replaces the composite conversions by what they stand for and drops the
// glibc flags and E/O modifiers but "-" (no padding), leaving "%", maybe
// "-", and one letter.
std::string ExpandStrftime(std::string_view format) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out.push_back(format[i]);
      continue;
    }
    size_t j = i + 1;
    bool unpadded = false;
    while (j < format.size() && std::string_view("-_0^#EO").find(format[j]) != std::string_view::npos)
      unpadded |= format[j++] == '-';
    if (j >= format.size()) break;
    if (unpadded && std::string_view("dmHIMS").find(format[j]) != std::string_view::npos) {
      out += "%-";
      out.push_back(format[j]);
      i = j;
      continue;
    }
    switch (format[j]) {
      case 'D': out += "%m/%d/%y"; break;
      case 'F': out += "%Y-%m-%d"; break;
      case 'T': out += "%H:%M:%S"; break;
      case 'R': out += "%H:%M"; break;
      case 'r': out += "%I:%M:%S %p"; break;
      default: out.push_back('%'); out.push_back(format[j]);
    }
    i = j;
  }
  return out;
}

}  // namespace

std::string PictureFromStrftime(std::string_view format) {
  const std::string expanded = ExpandStrftime(format);
  std::string out;
  for (size_t i = 0; i < expanded.size(); ++i) {
    if (expanded[i] != '%' || i + 1 >= expanded.size()) {
      out.push_back(expanded[i]);
      continue;
    }
    const bool unpadded = expanded[i + 1] == '-' && i + 2 < expanded.size();
    if (unpadded) ++i;
    switch (expanded[++i]) {
      case 'd': out += unpadded ? "d" : "dd"; break;
      case 'e': out += "d"; break;
      case 'm': out += unpadded ? "m" : "mm"; break;
      case 'b':
      case 'h': out += "mmm"; break;
      case 'B': out += "mmmm"; break;
      case 'y': out += "yy"; break;
      case 'Y':
      case 'G': out += "yyyy"; break;
      case 'a': out += "ddd"; break;
      case 'A': out += "dddd"; break;
      case '%': out += "%"; break;
      default: break;  // nothing a date picture can say
    }
  }
  return out;
}

std::string SeparatorFromStrftime(std::string_view format) {
  const std::string expanded = ExpandStrftime(format);
  size_t first = expanded.find('%');
  if (first == std::string::npos || first + 2 > expanded.size()) return std::string();
  if (expanded[first + 1] == '-') ++first;
  const size_t second = expanded.find('%', first + 2);
  std::string run = expanded.substr(first + 2, second == std::string::npos ? std::string::npos : second - first - 2);
  const size_t begin = run.find_first_not_of(' ');
  if (begin != std::string::npos) run = run.substr(begin, run.find_last_not_of(' ') - begin + 1);
  // Separators are single characters; a word such as "時" is no separator.
  if (run.size() != 1 || static_cast<unsigned char>(run[0]) >= 0x80) return std::string();
  return run;
}

std::string HourLeadingZeroItem(std::string_view timeFormat) {
  const std::string expanded = ExpandStrftime(timeFormat);
  for (size_t i = 0; i + 1 < expanded.size(); ++i)
    if (expanded[i] == '%') {
      if (expanded[i + 1] == '-') return "0";
      const char c = expanded[++i];
      if (c == 'H' || c == 'I') return "1";
      if (c == 'k' || c == 'l') return "0";
    }
  return "0";
}

std::string ClockItem(std::string_view timeFormat) {
  const std::string expanded = ExpandStrftime(timeFormat);
  for (size_t i = 0; i + 1 < expanded.size(); ++i)
    if (expanded[i] == '%') {
      if (expanded[i + 1] == '-' && i + 2 < expanded.size()) ++i;
      const char c = expanded[++i];
      if (c == 'I' || c == 'l') return "0";
      if (c == 'H' || c == 'k') return "1";
    }
  return "1";
}

int PositiveCurrencyFormat(int csPrecedes, int sepBySpace) { return (csPrecedes ? 0 : 1) + (sepBySpace ? 2 : 0); }

int NegativeCurrencyFormat(int csPrecedes, int sepBySpace, int signPosn) {
  // Rows: symbol before or after, without or with a space; columns: the
  // sign position (parentheses, before all, after all, before the symbol,
  // after the symbol).
  static const int Formats[4][5] = {
      {4, 5, 7, 6, 7},      // 1.1$
      {15, 8, 10, 13, 10},  // 1.1 $
      {0, 1, 3, 1, 2},      // $1.1
      {14, 9, 11, 9, 12},   // $ 1.1
  };
  if (signPosn < 0 || signPosn > 4) signPosn = 1;
  return Formats[(csPrecedes ? 2 : 0) + (sepBySpace ? 1 : 0)][signPosn];
}
