#include "core/line_input.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "text/code_page.h"

namespace {

// Bytes asked for at each read.
constexpr size_t ReadSize = 256 * 1024;
constexpr size_t BulkRoomSize = 2 << 20;

struct TByteOrderMarkRec {
  const char* Bytes;
  size_t Size;
  uint32_t CodePage;
};
constexpr TByteOrderMarkRec ByteOrderMarks[] = {{"\xEF\xBB\xBF", 3, CodePageUtf8}, {"\xFF\xFE", 2, CodePageUtf16}};

// Reads up to size bytes of the input into buffer, retrying interrupted
// reads; returns the count, 0 at the end of the input. A failed read ends
// the run with the failure report ("Disk read error" in place of "Disk
// Full"), or the input with its reason. The report names this function and
// its caller, so it stays a function of its own.
__attribute__((noinline)) size_t ReadSource(TLineInputRec& in, char* buffer, size_t size) {
  for (;;) {
    const TReadResultRec r = ReadInput(in.Source, buffer, size);
    if (r.Kind == TReadResultRec::Read && r.Count <= size) return r.Count;
    if (r.Kind == TReadResultRec::Interrupted) continue;
    if (in.HaltOnReadFailure)
      HaltWithReport("EInOutError: Disk read error", reinterpret_cast<uintptr_t>(&ReadSource),
                     reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
    in.ReadFailed = true;
    in.FailureReason = LastErrorText();
    return 0;
  }
}

}  // namespace

size_t AfterLastLineEnd(std::string_view bytes) {
  const char* const data = bytes.data();
  size_t end = bytes.size();
  const __m128i lf = _mm_set1_epi8('\n');
  for (; end >= 16; end -= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + end - 16));
    if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))))
      return end - 16 + static_cast<size_t>(31 - __builtin_clz(mask)) + 1;
  }
  if (end > 0 && bytes.size() >= 16) {
    // The first bytes, less than sixteen: a block from the start, the rest
    // of it masked off.
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf))) & ((1u << end) - 1);
    return mask ? static_cast<size_t>(31 - __builtin_clz(mask)) + 1 : 0;
  }
  while (end > 0 && data[end - 1] != '\n') --end;
  return end;
}

size_t CountLineEnds(std::string_view bytes) {
  const char* const data = bytes.data();
  const size_t size = bytes.size();
  size_t count = 0, i = 0;
  const __m128i lf = _mm_set1_epi8('\n');
  while (size - i >= 16) {
    // Up to 255 blocks counted in bytes (each match takes one off), then
    // summed.
    const size_t blocks = std::min<size_t>((size - i) / 16, 255);
    __m128i counts = _mm_setzero_si128();
    for (size_t b = 0; b < blocks; ++b, i += 16)
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), lf));
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    count += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
  if (i == size) return count;
  if (size < 16) {
    for (; i < size; ++i) count += data[i] == '\n';
    return count;
  }
  // The last bytes, less than sixteen: the last block, less what was
  // counted.
  const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + size - 16));
  unsigned tail = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(last, lf))) >> (16 - (size - i));
  tail = tail - ((tail >> 1) & 0x5555);
  tail = (tail & 0x3333) + ((tail >> 2) & 0x3333);
  tail = (tail + (tail >> 4)) & 0x0F0F;
  return count + ((tail + (tail >> 8)) & 0x1F);
}

void OpenLineInput(TLineInputRec& in, TTextChannelRec& output, const TInputRec& source, bool haltOnReadFailure) {
  in = TLineInputRec();
  in.CodePage = source.Standard ? InputCodePage() : AnsiCodePage();
  in.Output = &output;
  in.Source = source;
  in.HaltOnReadFailure = haltOnReadFailure;
}

void ReadByteOrderMark(TLineInputRec& in) {
  while (!TakeByteOrderMark(in)) ReadMoreInput(in);
}

void CloseLineInput(TLineInputRec& in) {
  std::free(in.Data);
  in = TLineInputRec();
}

char* InputRoom(TLineInputRec& in, size_t size) {
  if (in.Start > 0) {
    std::memmove(in.Data, in.Data + in.Start, in.End - in.Start);
    in.End -= in.Start;
    in.Start = 0;
  }
  if (in.Capacity - in.End < size) {
    // Only a line longer than what is held makes it grow. Large blocks are
    // mapped by the C library, so realloc moves no bytes and never holds
    // the old and the new block at once.
    // The first room of a large file on standard input is for bulk input:
    // a small input's start would pay for its first touch, and --files
    // would pay a system call for each file it asked.
    const bool bulk = in.Capacity == 0 && in.Source.Standard && InputFileSize(in.Source) >= 4 * ReadSize;
    size_t capacity = bulk ? BulkRoomSize : in.Capacity == 0 ? 2 * ReadSize : 2 * in.Capacity;
    if (capacity - in.End < size) capacity = in.End + size;
    char* data = static_cast<char*>(bulk ? AllocateBulkRoom(capacity) : std::realloc(in.Data, capacity));
    if (!data) HaltOnOutOfMemory();
    in.Data = data;
    in.Capacity = capacity;
  }
  return in.Data + in.End;
}

bool TakeByteOrderMark(TLineInputRec& in) {
  if (in.MarkDecided) return true;
  const std::string_view held = HeldInput(in);
  for (const TByteOrderMarkRec& mark : ByteOrderMarks) {
    const std::string_view bytes(mark.Bytes, mark.Size);
    if (held.substr(0, mark.Size) == bytes) {
      in.Start += mark.Size;
      in.CodePage = mark.CodePage;
      in.MarkDecided = true;
      return true;
    }
    // Too few bytes to tell, and more may come.
    if (held.size() < mark.Size && bytes.substr(0, held.size()) == held && !in.AtEnd) return false;
  }
  in.MarkDecided = true;
  return true;
}

TLineStep TakeLine(TLineInputRec& in, std::string_view& line) {
  const char* data = in.Data;
  const bool units = in.CodePage == CodePageUtf16;
  size_t at = in.Start + in.Scanned;
  while (at < in.End) {
    const void* hit = std::memchr(data + at, '\n', in.End - at);
    if (!hit) {
      at = in.End;
      break;
    }
    const size_t lf = static_cast<size_t>(static_cast<const char*>(hit) - data);
    if (!units) {
      line = TakeByteLine(in, lf);
      return TLineStep::Line;
    }
    // UTF-16LE: a 0A byte ends a line only as the first byte of a unit
    // 0A 00; U+0A41 holds one too.
    if ((lf - in.Start) % 2 == 0) {
      if (lf + 1 == in.End) {
        at = lf;  // its second byte is yet to come
        break;
      }
      if (data[lf + 1] == 0) {
        const bool cr = lf >= in.Start + 2 && data[lf - 2] == '\r' && data[lf - 1] == 0;
        line = std::string_view(data + in.Start, (cr ? lf - 2 : lf) - in.Start);
        in.Start = lf + 2;
        in.Scanned = 0;
        return TLineStep::Line;
      }
    }
    at = lf + 1;
  }
  in.Scanned = at - in.Start;
  if (!in.AtEnd) return TLineStep::NeedMore;
  if (in.Start == in.End) return TLineStep::NoMore;
  line = HeldInput(in);
  in.Start = in.End;
  in.Scanned = 0;
  return TLineStep::Line;
}

bool ReadMoreInput(TLineInputRec& in) {
  if (in.AtEnd) return false;
  if (in.Output) FlushChannel(*in.Output);
  const size_t n = ReadSource(in, InputRoom(in, ReadSize), ReadSize);
  in.End += n;
  in.AtEnd = n == 0;
  return n > 0;
}

bool ReadInputLine(TLineInputRec& in, std::string_view& line) {
  ReadByteOrderMark(in);
  for (;;) {
    switch (TakeLine(in, line)) {
      case TLineStep::Line: return true;
      case TLineStep::NoMore: return false;
      case TLineStep::NeedMore: ReadMoreInput(in); break;
    }
  }
}
