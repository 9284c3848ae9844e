// The operating system as tokloc sees it. One POSIX and one Win32
// implementation sit behind this header; the build picks one. Everything
// above this layer is portable code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Code pages are passed by their Windows numbers (see text/code_page.h).

// How the platform hands over the program's arguments.
struct TRawCommandLineRec {
  // True when the platform passes one command-line string (Win32): Line
  // holds it as UTF-16, program name included, and Args is empty. False
  // when the arguments arrive already split (POSIX): Args is argv[1..],
  // ArgCount long, bytes in the ANSI code page, which live as long as the
  // process.
  bool IsOneString = false;
  std::u16string Line;
  int ArgCount = 0;
  char* const* Args = nullptr;
};

// Records argc/argv for the POSIX layer; the Win32 layer ignores them and
// reads the process command line instead. Call once, first thing in main.
void PlatformStart(int argc, char** argv);

// The arguments as the platform delivers them.
TRawCommandLineRec ReadRawCommandLine();

// Full path of the running executable, whatever its length, as UTF-16: on
// Win32 as the system holds it; on POSIX decoded from the locale's
// encoding, a byte that is no valid text kept as its byte escape. Empty if
// the platform cannot tell.
std::u16string ExecutablePath();

enum class TStdStream { Output, Error };

// What a single write call achieved.
struct TWriteResultRec {
  enum TKind { Written, Interrupted, ReaderGone, Failed } Kind = Failed;
  size_t Count = 0;  // bytes taken when Kind is Written; may be short or 0
};

// One raw write to a standard stream: no retry, no loop. Returns Written
// with the count the OS took, Interrupted when a signal cut the call short
// before anything was written or when a non-blocking stream was full (the
// call has then waited until it takes more), ReaderGone when the stream is
// a pipe whose reading end is closed, Failed on any other error, a
// file-size limit included.
TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size);

// True when a write to the stream reports the characters it took rather
// than the bytes: only a Win32 console in a Unicode code page does. Where it
// is false, a short count is a short write, to be continued.
bool WriteCountsCharacters(TStdStream stream);

// True when no other process's writes can land between two writes to the
// stream: a regular file not opened for appending, or a device that is no
// terminal (the null device). Pipes, terminals and files opened for
// appending are shared: there only a write of up to 4 KiB stays whole.
bool StreamIsUnshared(TStdStream stream);

// Cuts the last count bytes off the file the stream writes, where nothing
// but this process can have written them: a regular file, not opened for
// appending (on Win32, where a handle does not tell, one whose end is where
// our last write ended). Elsewhere (a pipe, a device, a file shared with
// other writers) it does nothing. For a failed write, so that a reader of
// the file finds whole lines.
void CutStreamEnd(TStdStream stream, uint64_t count);

// What a single read of standard input achieved.
struct TReadResultRec {
  enum TKind { Read, Interrupted, Failed } Kind = Failed;
  size_t Count = 0;  // bytes read when Kind is Read; 0 at the end of input
};

// A source of input bytes: standard input, or a file opened for reading.
struct TInputRec {
  intptr_t Handle = 0;   // the system's own: a file descriptor or a HANDLE
  bool Standard = true;  // standard input, which is never closed here
};

// Standard input as a source.
TInputRec StandardInput();

// Opens a file for reading by its name: on POSIX its bytes as given, on
// Win32 its UTF-16 form, through the wide API. False, with the system's
// words for why in reason (in the ANSI code page), where it cannot be
// opened. A folder may open and fail at its first read.
bool OpenInputFile(std::string_view bytesName, const std::u16string& wideName, TInputRec& input, std::string& reason);

// Closes a file that OpenInputFile opened; standard input stays open.
void CloseInput(TInputRec& input);

// The size of the regular file a source reads, or 0 where it reads none
// (a pipe, a terminal, a device) or the system does not tell.
uint64_t InputFileSize(const TInputRec& input);

// Room for input read in bulk: size bytes that std::realloc and std::free
// take, backed by the system's large pages where it gives them to a
// program unasked (Linux's transparent huge pages: the room is aligned to
// 2 MiB and advised so; elsewhere plain malloc). Fewer pages make the
// system's copy of each read cheaper; the first touch costs more. nullptr
// when memory runs out.
void* AllocateBulkRoom(size_t size);

// One raw read of a source: no retry, no loop. Returns Read with the count
// (0 at the end of the input, a closed pipe included), Interrupted when a
// signal cut the call short or a non-blocking stream had nothing yet (the
// call has then waited for input), Failed on an error, a standard input
// that is closed or missing included.
TReadResultRec ReadInput(const TInputRec& input, char* buffer, size_t size);

// The system's words for why the last call that failed did, in the ANSI
// code page, without a full stop or line end.
std::string LastErrorText();

// The code page standard input's bytes are in: on Win32 the console's
// input code page when standard input is a console, else the ANSI code
// page; on POSIX the locale's encoding.
uint32_t InputCodePage();

// The code page that text written to the standard streams is encoded in:
// the console's output code page read at process start, or the ANSI code
// page when the process has no console. The same answer for the whole run,
// whatever another process does to the console meanwhile; this is the one
// place that keeps it.
uint32_t OutputCodePage();

// The ANSI code page: the encoding arguments arrive in. Read once.
uint32_t AnsiCodePage();

// Narrow text in code page cp to UTF-16. Never fails: a byte that does not
// start a valid character becomes its byte escape (text/utf16.h).
std::u16string NarrowToWide(std::string_view text, uint32_t cp);

// UTF-16 to narrow text in code page cp. Never fails: a character the code
// page lacks, a lone surrogate and a byte escape become a best-fit
// look-alike or the page's default character.
std::string WideToNarrow(std::u16string_view text, uint32_t cp);

// Upper-cases text in the ANSI code page by the platform's rules. The result
// has the same length in bytes, so positions found in it hold for text too.
std::string UpperCaseAnsi(const std::string& text);

// The system-default locale (LOCALE_SYSTEM_DEFAULT).
constexpr uint32_t LocaleSystemDefault = 0x0800;

// Locale items by their Win32 LCTYPE numbers.
enum TLocaleItem : uint32_t {
  LocaleSList = 12,
  LocaleSDecimal = 14,
  LocaleSThousand = 15,
  LocaleSCurrency = 20,
  LocaleICurrDigits = 25,
  LocaleICurrency = 27,
  LocaleINegCurr = 28,
  LocaleSDate = 29,
  LocaleSTime = 30,
  LocaleSShortDate = 31,
  LocaleSLongDate = 32,
  LocaleITime = 35,
  LocaleITLZero = 37,
  LocaleS1159 = 40,
  LocaleS2359 = 41,
  LocaleSDayName1 = 42,          // Monday, up to LocaleSDayName7 = 48, Sunday
  LocaleSAbbrevDayName1 = 49,    // Monday, up to 55, Sunday
  LocaleSMonthName1 = 56,        // January, up to 67
  LocaleSAbbrevMonthName1 = 68,  // January, up to 79
};

// One item of a locale's data, as UTF-16 text. False when the locale does
// not supply it.
bool ReadLocaleText(uint32_t locale, uint32_t item, std::u16string& text);

// The same item as ANSI bytes, for single-character items. False when the
// locale does not supply it or it takes more than 3 bytes.
bool ReadLocaleChars(uint32_t locale, uint32_t item, std::string& chars);

// The operating system's identifier of this process.
uint32_t CurrentProcessId();

struct TSystemTimeRec {
  uint16_t Year = 0, Month = 0, Day = 0;
  uint16_t Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// The local date and time now.
TSystemTimeRec LocalTime();

// Ends the process at once with the given exit code. Nothing buffered by
// the program is written; the caller flushes its channels first.
[[noreturn]] void EndProcess(int32_t exitCode);
