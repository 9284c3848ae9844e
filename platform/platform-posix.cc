// POSIX implementation of the platform layer.
#include "platform/platform.h"

#include <climits>
#include <clocale>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cerrno>
#include <langinfo.h>
#include <malloc.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include "platform/charset.h"
#include "platform/langinfo_items.h"

namespace {

int SavedArgc = 0;
char** SavedArgv = nullptr;

// 0 stands for "the locale's own multibyte encoding", served by the C
// library's mbrtowc/wcrtomb; ~0 means not decided yet.
constexpr uint32_t CodePageLocale = 0;
constexpr uint32_t CodePageUndecided = ~0u;
uint32_t CachedCodePage = CodePageUndecided;

// The value that decides a locale category, by the POSIX precedence rules.
const char* EffectiveLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const char* value = getenv(name);
    if (value && *value) return value;
  }
  return "";
}
// The C, POSIX and C.UTF-8 locales' items are fixed and are what the C
// library answers before setlocale; loading the environment's locale is
// needed only when one of the categories we read names another locale.
bool IsBuiltInLocale(const char* name) {
  return !*name || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0 ||
         strcmp(name, "C.UTF-8") == 0 || strcmp(name, "C.utf8") == 0;
}

// Loading locale data costs about half a process start, so skip it when the
// environment alone settles the answer: the C locale and any ".UTF-8" locale
// are UTF-8 (a missing UTF-8 locale falls back to C, which counts as UTF-8).
uint32_t DecideCodePage() {
  const char* locale = EffectiveLocale("LC_CTYPE");
  if (IsBuiltInLocale(locale)) return CodePageUtf8;
  if (const char* dot = strchr(locale, '.')) {
    const char* at = strchr(dot, '@');
    std::string_view charset(dot + 1, at ? static_cast<size_t>(at - dot - 1) : strlen(dot + 1));
    if (CodePageFromCharsetName(charset) == CodePageUtf8) return CodePageUtf8;
  }
  if (!setlocale(LC_CTYPE, "")) return CodePageUtf8;
  const uint32_t cp = CodePageFromCharsetName(nl_langinfo(CODESET));
  return cp != 0 ? cp : CodePageLocale;
}

std::u16string LocaleToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  mbstate_t state{};
  size_t i = 0;
  while (i < text.size()) {
    wchar_t wc;
    const size_t r = mbrtowc(&wc, text.data() + i, text.size() - i, &state);
    if (r == static_cast<size_t>(-1) || r == static_cast<size_t>(-2)) {
      out.push_back(0xFFFD);
      state = mbstate_t{};
      ++i;
      continue;
    }
    const char32_t c = static_cast<char32_t>(wc);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(c > 0xFFFF ? u'\xFFFD' : static_cast<char16_t>(c));
    }
    i += r == 0 ? 1 : r;
  }
  return out;
}

std::string WideToLocale(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  mbstate_t state{};
  char buf[MB_LEN_MAX];
  size_t width;
  for (size_t i = 0; i < text.size(); i += width) {
    const char32_t c = CodePointAt(text, i, width);
    if (IsSurrogate(c)) {
      out.push_back('?');
      continue;
    }
    const size_t r = wcrtomb(buf, static_cast<wchar_t>(c), &state);
    if (r == static_cast<size_t>(-1)) {
      out.push_back('?');
      state = mbstate_t{};
    } else {
      out.append(buf, r);
    }
  }
  return out;
}

bool LocaleLoaded = false;

void LoadEnvironmentLocale() {
  if (LocaleLoaded) return;
  LocaleLoaded = true;
  if (IsBuiltInLocale(EffectiveLocale("LC_TIME")) && IsBuiltInLocale(EffectiveLocale("LC_NUMERIC")) &&
      IsBuiltInLocale(EffectiveLocale("LC_MONETARY")))
    return;
  setlocale(LC_ALL, "");
}

std::string Langinfo(nl_item item) { return nl_langinfo(item); }

// localeconv's CHAR_MAX means "not available in this locale".
bool ConvNumber(char value, std::string& text) {
  if (value == CHAR_MAX) return false;
  text = std::to_string(static_cast<int>(value));
  return true;
}

// The environment locale's answer for a Win32 locale item, in the locale's
// own encoding.
bool PosixLocaleItem(uint32_t item, std::string& text) {
  LoadEnvironmentLocale();
  if (item >= 68 && item <= 79) { text = Langinfo(ABMON_1 + static_cast<int>(item - 68)); return true; }
  if (item >= 56 && item <= 67) { text = Langinfo(MON_1 + static_cast<int>(item - 56)); return true; }
  // Win32 counts days from Monday (item 7 of each run is Sunday), POSIX
  // from Sunday.
  if (item >= 49 && item <= 55) { text = Langinfo(ABDAY_1 + static_cast<int>((item - 49 + 1) % 7)); return true; }
  if (item >= 42 && item <= 48) { text = Langinfo(DAY_1 + static_cast<int>((item - 42 + 1) % 7)); return true; }
  const lconv* conv = localeconv();
  switch (item) {
    case 14: text = Langinfo(RADIXCHAR); return true;
    case 15: text = Langinfo(THOUSEP); return true;
    case 20: {
      // The first character says where the symbol goes; the rest is it.
      const std::string symbol = Langinfo(CRNCYSTR);
      text = symbol.empty() ? symbol : symbol.substr(1);
      return true;
    }
    case 25: return ConvNumber(conv->frac_digits, text);
    case 27:
      if (conv->p_cs_precedes == CHAR_MAX || conv->p_sep_by_space == CHAR_MAX) return false;
      text = std::to_string(PositiveCurrencyFormat(conv->p_cs_precedes, conv->p_sep_by_space));
      return true;
    case 28:
      if (conv->n_cs_precedes == CHAR_MAX || conv->n_sep_by_space == CHAR_MAX) return false;
      text = std::to_string(NegativeCurrencyFormat(conv->n_cs_precedes, conv->n_sep_by_space,
                                                   conv->n_sign_posn == CHAR_MAX ? 1 : conv->n_sign_posn));
      return true;
    case 29: text = SeparatorFromStrftime(Langinfo(D_FMT)); return !text.empty();
    case 30: text = SeparatorFromStrftime(Langinfo(T_FMT)); return !text.empty();
    case 31: text = PictureFromStrftime(Langinfo(D_FMT)); return !text.empty();
    case 35: text = ClockItem(Langinfo(T_FMT)); return true;
    case 37: text = HourLeadingZeroItem(Langinfo(T_FMT)); return true;
    case 40: text = Langinfo(AM_STR); return true;
    case 41: text = Langinfo(PM_STR); return true;
    default: return false;  // the long date (32), the list separator (12), ...
  }
}

}  // namespace

void PlatformStart(int argc, char** argv) {
  SavedArgc = argc;
  SavedArgv = argv;
  // A closed pipe must show up as a failed write, not kill us silently.
  signal(SIGPIPE, SIG_IGN);
  // Large arguments make texts of a few hundred KiB; from the heap rather
  // than fresh mappings they cost no mmap/munmap pair each. The process is
  // short-lived, so nothing is gained by trimming either.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
}

TRawCommandLineRec ReadRawCommandLine() {
  TRawCommandLineRec raw;
  for (int i = 1; i < SavedArgc; ++i) raw.Args.emplace_back(SavedArgv[i]);  // no copies
  return raw;
}

std::string ExecutablePath() {
  char buf[260];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n > 0) return std::string(buf, static_cast<size_t>(n));
  return SavedArgc > 0 && SavedArgv[0] ? std::string(SavedArgv[0]) : std::string();
}

TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size) {
  const ssize_t n = write(stream == TStdStream::Output ? 1 : 2, data, size);
  if (n >= 0) return {TWriteResultRec::Written, static_cast<size_t>(n)};
  if (errno == EINTR) return {TWriteResultRec::Interrupted, 0};
  return {TWriteResultRec::Failed, 0};
}

bool StdStreamIsConsole(TStdStream stream) {
  return isatty(stream == TStdStream::Output ? 1 : 2) == 1;
}

uint32_t AnsiCodePage() {
  if (CachedCodePage == CodePageUndecided) CachedCodePage = DecideCodePage();
  return CachedCodePage;
}

// A terminal shows text in the locale's encoding, so both pages agree.
uint32_t OutputCodePage() { return AnsiCodePage(); }

std::u16string NarrowToWide(std::string_view text, uint32_t cp) {
  return CodePageHasCodec(cp) ? Utf16FromCodePage(text, cp) : LocaleToWide(text);
}

std::string WideToNarrow(std::u16string_view text, uint32_t cp) {
  return CodePageHasCodec(cp) ? CodePageFromUtf16(text, cp) : WideToLocale(text);
}

std::string UpperCaseAnsi(const std::string& text) {
  const uint32_t cp = AnsiCodePage();
  if (CodePageHasCodec(cp)) return UpperCaseSameLength(text, cp);
  // Another multibyte encoding: only ASCII letters are safe to touch.
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

// There is one locale on POSIX: the environment's; it stands for the
// system-default one too.
bool ReadLocaleText(uint32_t, uint32_t item, std::u16string& text) {
  std::string value;
  if (!PosixLocaleItem(item, value)) return false;
  text = NarrowToWide(value, AnsiCodePage());
  return true;
}

bool ReadLocaleChars(uint32_t, uint32_t item, std::string& chars) {
  if (!PosixLocaleItem(item, chars)) return false;
  return chars.size() <= 3;
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(getpid()); }

TSystemTimeRec LocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  TSystemTimeRec t;
  t.Year = static_cast<uint16_t>(local.tm_year + 1900);
  t.Month = static_cast<uint16_t>(local.tm_mon + 1);
  t.Day = static_cast<uint16_t>(local.tm_mday);
  t.Hour = static_cast<uint16_t>(local.tm_hour);
  t.Minute = static_cast<uint16_t>(local.tm_min);
  t.Second = static_cast<uint16_t>(local.tm_sec);
  t.Milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
  return t;
}

void EndProcess(int32_t exitCode) { _exit(exitCode); }
