#include "text/code_page.h"

#include <string>

#include "text/ascii.h"

uint32_t CodePageFromCharsetName(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    key.push_back(AsciiLower(c));
  }
  struct TCharsetRec {
    const char* Key;
    uint32_t CodePage;
  };
  static constexpr TCharsetRec Charsets[] = {
      {"utf8", CodePageUtf8},          {"ansix3.41968", CodePageUtf8},
      {"ascii", CodePageUtf8},         {"usascii", CodePageUtf8},
      {"iso88591", CodePageLatin1},    {"latin1", CodePageLatin1},
      {"iso885915", CodePageLatin9},   {"latin9", CodePageLatin9},
      {"cp1252", CodePageWindows1252}, {"windows1252", CodePageWindows1252},
      {"gb18030", CodePageGb18030},    {"gbk", CodePageGbk},
      {"cp936", CodePageGbk},          {"gb2312", CodePageGbk},
      {"euccn", CodePageGbk},          {"big5", CodePageBig5},
      {"cp950", CodePageBig5},         {"euckr", CodePageEucKr},
      {"eucjp", CodePageEucJp},        {"shiftjis", CodePageShiftJis},
      {"sjis", CodePageShiftJis},
  };
  for (const TCharsetRec& charset : Charsets)
    if (key == charset.Key) return charset.CodePage;
  return CodePageBytes;
}

bool CodePageKeepsAscii(uint32_t cp) {
  if (cp == CodePageBytes || cp == CodePageUtf8 || cp == 874 || (cp >= 1250 && cp <= 1258)) return true;
  if (IsDoubleBytePage(cp) || cp == 949) return true;
  if (cp == 437 || cp == 720 || cp == 737 || cp == 775 || (cp >= 850 && cp <= 869 && cp != 864)) return true;
  return cp >= 28591 && cp <= 28606;
}

bool IsDoubleBytePage(uint32_t cp) {
  return cp == CodePageShiftJis || cp == CodePageGbk || cp == CodePageBig5 || cp == CodePageEucJp ||
         cp == CodePageEucKr || cp == CodePageGb18030;
}
