// POSIX implementation of the platform layer. Two places need more than
// POSIX, and say so: the executable's path comes from Linux's /proc, and
// the heap is tuned with glibc's mallopt.
#include "platform/platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/langinfo-posix.h"
#include "text/ascii.h"
#include "text/codecs.h"
#include "text/utf16.h"

namespace {

int SavedArgc = 0;
char** SavedArgv = nullptr;

// ~0 means not decided yet.
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
  return !*name || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0 || strcmp(name, "C.UTF-8") == 0 ||
         strcmp(name, "C.utf8") == 0;
}

// Loading locale data costs about half a process start, so skip it when the
// environment alone settles the answer: the C locale and any ".UTF-8" locale
// are UTF-8 (a missing UTF-8 locale falls back to C, which counts as UTF-8).
// Only the codeset's name is taken from the C library, never a converter:
// tokloc decodes what it knows itself and lets other bytes stand for
// themselves, so nothing depends on the C library's converter modules.
uint32_t DecideCodePage() {
  const char* locale = EffectiveLocale("LC_CTYPE");
  if (IsBuiltInLocale(locale)) return CodePageUtf8;
  if (const char* dot = strchr(locale, '.')) {
    const char* at = strchr(dot, '@');
    std::string_view charset(dot + 1, at ? static_cast<size_t>(at - dot - 1) : strlen(dot + 1));
    if (CodePageFromCharsetName(charset) == CodePageUtf8) return CodePageUtf8;
  }
  if (!setlocale(LC_CTYPE, "")) return CodePageUtf8;
  return CodePageFromCharsetName(nl_langinfo(CODESET));
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

// The environment locale's answer for a Win32 locale item, in the encoding
// of the locale category it comes from; category names that category.
bool PosixLocaleItem(uint32_t item, std::string& text, const char*& category) {
  LoadEnvironmentLocale();
  category = "LC_TIME";
  if (item >= LocaleSAbbrevMonthName1 && item < LocaleSAbbrevMonthName1 + 12) {
    text = Langinfo(ABMON_1 + static_cast<int>(item - LocaleSAbbrevMonthName1));
    return true;
  }
  if (item >= LocaleSMonthName1 && item < LocaleSMonthName1 + 12) {
    text = Langinfo(MON_1 + static_cast<int>(item - LocaleSMonthName1));
    return true;
  }
  // Win32 counts days from Monday (item 7 of each run is Sunday), POSIX
  // from Sunday.
  if (item >= LocaleSAbbrevDayName1 && item < LocaleSAbbrevDayName1 + 7) {
    text = Langinfo(ABDAY_1 + static_cast<int>((item - LocaleSAbbrevDayName1 + 1) % 7));
    return true;
  }
  if (item >= LocaleSDayName1 && item < LocaleSDayName1 + 7) {
    text = Langinfo(DAY_1 + static_cast<int>((item - LocaleSDayName1 + 1) % 7));
    return true;
  }
  switch (item) {
    case LocaleSDate: text = SeparatorFromStrftime(Langinfo(D_FMT)); return !text.empty();
    case LocaleSTime: text = SeparatorFromStrftime(Langinfo(T_FMT)); return !text.empty();
    case LocaleSShortDate: text = PictureFromStrftime(Langinfo(D_FMT)); return !text.empty();
    case LocaleITime: text = ClockItem(Langinfo(T_FMT)); return true;
    case LocaleITLZero: text = HourLeadingZeroItem(Langinfo(T_FMT)); return true;
    case LocaleS1159: text = Langinfo(AM_STR); return true;
    case LocaleS2359: text = Langinfo(PM_STR); return true;
    default: break;
  }
  category = "LC_NUMERIC";
  if (item == LocaleSDecimal) {
    text = Langinfo(RADIXCHAR);
    return true;
  }
  if (item == LocaleSThousand) {
    text = Langinfo(THOUSEP);
    return true;
  }
  category = "LC_MONETARY";
  const lconv* conv = localeconv();
  switch (item) {
    case LocaleSCurrency: {
      // The first character says where the symbol goes; the rest is it.
      const std::string symbol = Langinfo(CRNCYSTR);
      text = symbol.empty() ? symbol : symbol.substr(1);
      return true;
    }
    case LocaleICurrDigits: return ConvNumber(conv->frac_digits, text);
    case LocaleICurrency:
      if (conv->p_cs_precedes == CHAR_MAX || conv->p_sep_by_space == CHAR_MAX) return false;
      text = std::to_string(PositiveCurrencyFormat(conv->p_cs_precedes, conv->p_sep_by_space));
      return true;
    case LocaleINegCurr:
      if (conv->n_cs_precedes == CHAR_MAX || conv->n_sep_by_space == CHAR_MAX) return false;
      text = std::to_string(NegativeCurrencyFormat(conv->n_cs_precedes, conv->n_sep_by_space,
                                                   conv->n_sign_posn == CHAR_MAX ? 1 : conv->n_sign_posn));
      return true;
    default: return false;  // the long date and the list separator have no POSIX item
  }
}

// Text of a locale category in that category's own codeset, which need not
// be LC_CTYPE's (LANG=C.UTF-8 with LC_TIME=fr_FR.ISO-8859-1): the C library
// hands over the category's bytes as they are stored. LC_CTYPE is switched
// to the category's locale while the text is decoded (static glibc's
// newlocale reports the wrong codeset for that), then put back.
std::u16string CategoryTextToWide(const std::string& text, const char* category) {
  const char* name = EffectiveLocale(category);
  if (IsAsciiText(text) || strcmp(name, EffectiveLocale("LC_CTYPE")) == 0) return NarrowToWide(text, AnsiCodePage());
  const std::string saved = setlocale(LC_CTYPE, nullptr);
  std::u16string wide;
  if (setlocale(LC_CTYPE, name)) {
    const uint32_t cp = CodePageFromCharsetName(nl_langinfo(CODESET));
    wide = DecodeFromCodePage(text, cp);
    // Bytes of a codeset without a codec mean nothing in the output's
    // codeset: they are characters that cannot be shown.
    if (cp != AnsiCodePage())
      for (char16_t& unit : wide)
        if (IsByteEscape(unit)) unit = 0xFFFD;
  } else {
    wide = NarrowToWide(text, AnsiCodePage());
  }
  setlocale(LC_CTYPE, saved.c_str());
  return wide;
}

}  // namespace

void PlatformStart(int argc, char** argv) {
  SavedArgc = argc;
  SavedArgv = argv;
  // A closed pipe, and a file that reached its size limit (ulimit -f), must
  // show up as a failed write, not kill us silently.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  // glibc only: large arguments make texts of a few hundred KiB; from the
  // heap rather than fresh mappings they cost no mmap/munmap pair each.
  // Only a free of many MiB at the heap's top is given back: the room of a
  // long line of input that moved as it grew, which would otherwise stay
  // beside the line's UTF-16 form.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 16 << 20);
}

TRawCommandLineRec ReadRawCommandLine() {
  TRawCommandLineRec raw;
  if (SavedArgc > 1) {
    raw.ArgCount = SavedArgc - 1;
    raw.Args = SavedArgv + 1;  // no copies
  }
  return raw;
}

// Linux only: /proc/self/exe; elsewhere argv[0] is the best there is.
std::u16string ExecutablePath() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n > 0 && static_cast<size_t>(n) < path.size())
    path.resize(static_cast<size_t>(n));
  else
    path = SavedArgc > 0 && SavedArgv[0] ? SavedArgv[0] : "";
  return NarrowToWide(path, AnsiCodePage());
}

TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size) {
  const int fd = stream == TStdStream::Output ? 1 : 2;
  const ssize_t n = write(fd, data, size);
  if (n >= 0) return {TWriteResultRec::Written, static_cast<size_t>(n)};
  if (errno == EINTR) return {TWriteResultRec::Interrupted, 0};
  if (errno == EPIPE) return {TWriteResultRec::ReaderGone, 0};
  if (errno == EAGAIN || errno == EWOULDBLOCK) {
    // A parent left the stream non-blocking and it is full: wait until it
    // takes more, then the caller tries again.
    pollfd ready = {fd, POLLOUT, 0};
    if (poll(&ready, 1, -1) >= 0 || errno == EINTR) return {TWriteResultRec::Interrupted, 0};
  }
  return {TWriteResultRec::Failed, 0};
}

TInputRec StandardInput() { return TInputRec{0, true}; }

bool OpenInputFile(std::string_view bytesName, const std::u16string&, TInputRec& input, std::string& reason) {
  const std::string name(bytesName);
  int fd;
  do {
    fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    reason = LastErrorText();
    return false;
  }
  input = TInputRec{fd, false};
  return true;
}

void CloseInput(TInputRec& input) {
  if (!input.Standard) close(static_cast<int>(input.Handle));
  input = TInputRec();
}

uint64_t InputFileSize(const TInputRec& input) {
  struct stat st;
  if (fstat(static_cast<int>(input.Handle), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

void* AllocateBulkRoom(size_t size) {
  constexpr size_t HugePage = 2 << 20;
  const size_t rounded = (size + HugePage - 1) / HugePage * HugePage;
  void* room = aligned_alloc(HugePage, rounded);
  // Only a hint: without it the room is plain pages.
  if (room) madvise(room, rounded, MADV_HUGEPAGE);
  return room;
}

TReadResultRec ReadInput(const TInputRec& input, char* buffer, size_t size) {
  const int fd = static_cast<int>(input.Handle);
  const ssize_t n = read(fd, buffer, size);
  if (n >= 0) return {TReadResultRec::Read, static_cast<size_t>(n)};
  if (errno == EINTR) return {TReadResultRec::Interrupted, 0};
  if (errno == EAGAIN || errno == EWOULDBLOCK) {
    // A parent left the stream non-blocking: wait for input.
    pollfd ready = {fd, POLLIN, 0};
    if (poll(&ready, 1, -1) >= 0 || errno == EINTR) return {TReadResultRec::Interrupted, 0};
  }
  // A closed standard input (EBADF) is a failed read too: no input was
  // given, which is not an empty one.
  return {TReadResultRec::Failed, 0};
}

std::string LastErrorText() { return strerror(errno); }

uint32_t InputCodePage() { return AnsiCodePage(); }

// write() counts bytes on every POSIX stream, terminals included.
bool WriteCountsCharacters(TStdStream) { return false; }

bool StreamIsUnshared(TStdStream stream) {
  const int fd = stream == TStdStream::Output ? 1 : 2;
  struct stat st;
  if (fstat(fd, &st) != 0) return false;
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || (flags & O_APPEND)) return false;
  return S_ISREG(st.st_mode) || (S_ISCHR(st.st_mode) && !isatty(fd));
}

void CutStreamEnd(TStdStream stream, uint64_t count) {
  const int fd = stream == TStdStream::Output ? 1 : 2;
  struct stat st;
  const int flags = fcntl(fd, F_GETFL);
  if (count == 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || (flags & O_APPEND)) return;
  // The file ends where our last write ended, or another writer came after
  // us and its bytes stay.
  const off_t end = lseek(fd, 0, SEEK_CUR);
  if (end != st.st_size || static_cast<uint64_t>(end) < count) return;
  (void)!ftruncate(fd, end - static_cast<off_t>(count));
}

uint32_t AnsiCodePage() {
  if (CachedCodePage == CodePageUndecided) CachedCodePage = DecideCodePage();
  return CachedCodePage;
}

// A terminal shows text in the locale's encoding, so both pages agree.
uint32_t OutputCodePage() { return AnsiCodePage(); }

std::u16string NarrowToWide(std::string_view text, uint32_t cp) { return DecodeFromCodePage(text, cp); }

std::string WideToNarrow(std::u16string_view text, uint32_t cp) { return EncodeToCodePage(text, cp); }

std::string UpperCaseAnsi(const std::string& text) { return UpperCaseSameLength(text, AnsiCodePage()); }

// There is one locale on POSIX: the environment's; it stands for the
// system-default one too.
bool ReadLocaleText(uint32_t, uint32_t item, std::u16string& text) {
  std::string value;
  const char* category;
  if (!PosixLocaleItem(item, value, category)) return false;
  text = CategoryTextToWide(value, category);
  return true;
}

bool ReadLocaleChars(uint32_t, uint32_t item, std::string& chars) {
  std::string value;
  const char* category;
  if (!PosixLocaleItem(item, value, category)) return false;
  chars = IsAsciiText(value) ? value : WideToNarrow(CategoryTextToWide(value, category), AnsiCodePage());
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
