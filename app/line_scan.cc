#include "app/line_scan.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/line_input.h"

namespace {

constexpr size_t Block = 64;

// The rest from searchFrom on, the slower way: the token by FindBytes, and
// the line ends from countFrom up to it counted apart.
void FinishHitLine(const TTokenRec<char>& token, std::string_view bytes, size_t searchFrom, size_t countFrom,
                   TLineHitRec& found) {
  const size_t rest = FindBytes(token, bytes.substr(searchFrom));
  const size_t stop = rest == NoHit ? bytes.size() : searchFrom + rest;
  const std::string_view counted = bytes.substr(countFrom, stop - countFrom);
  if (const size_t after = AfterLastLineEnd(counted)) {
    found.Lines += CountLineEnds(counted.substr(0, after));
    found.LineStart = countFrom + after;
  }
  if (rest == NoHit) return;
  found.Hit = stop;
  if (const void* lf = std::memchr(bytes.data() + stop, '\n', bytes.size() - stop))
    found.LineEnd = static_cast<size_t>(static_cast<const char*>(lf) - bytes.data());
}

// The 64 bits of four 16-byte comparisons.
inline uint64_t Bits(__m128i a, __m128i b, __m128i c, __m128i d) {
  return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(a))) |
         static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(b))) << 16 |
         static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(c))) << 32 |
         static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(d))) << 48;
}

inline __m128i Load(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// The bits set in x: the C library's popcount is a call on the baseline
// x86-64, where this is a dozen instructions inline.
inline size_t CountBits(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555);
  x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0F;
  return static_cast<size_t>((x * 0x0101010101010101) >> 56);
}

// The sum of a block of byte counts.
inline size_t SumBytes(__m128i counts) {
  const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
}

// A block of 64 bytes costs four comparisons for its line ends, counted in
// byte lanes (no mask made), and eight for the pair's places; the masks
// are made only where a pair stands. Where Fold, the text's byte with the
// pair's fold bits set is compared.
template <bool Fold>
TLineHitRec FindHitLineIn(const TTokenRec<char>& token, std::string_view bytes) {
  TLineHitRec found;
  const TRarePairRec& pair = token.Pair;
  const char* const h = bytes.data();
  const size_t size = bytes.size(), l = token.Units.size();
  // A block's scan reads this far past its start.
  const size_t reach = Block + std::max(pair.Index1, pair.Index2);
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i byte1 = _mm_set1_epi8(static_cast<char>(pair.Byte1));
  const __m128i byte2 = _mm_set1_epi8(static_cast<char>(pair.Byte2));
  const __m128i fold1 = _mm_set1_epi8(static_cast<char>(pair.Fold1));
  const __m128i fold2 = _mm_set1_epi8(static_cast<char>(pair.Fold2));
  const char* const at1 = h + pair.Index1;
  const char* const at2 = h + pair.Index2;
  const auto pairAt = [&](size_t i) {
    __m128i a = Load(at1 + i), b = Load(at2 + i);
    if constexpr (Fold) a = _mm_or_si128(a, fold1), b = _mm_or_si128(b, fold2);
    return _mm_and_si128(_mm_cmpeq_epi8(a, byte1), _mm_cmpeq_epi8(b, byte2));
  };
  const auto endsAt = [&](size_t i) { return _mm_cmpeq_epi8(Load(h + i), lf); };
  const auto EndsOf = [&](size_t i) { return Bits(endsAt(i), endsAt(i + 16), endsAt(i + 32), endsAt(i + 48)); };
  // Line ends counted in byte lanes: each block adds at most four to a
  // lane, so the lanes are summed every 63 blocks.
  __m128i counts = _mm_setzero_si128();
  int blocks = 0;
  size_t i = 0, work = 0;
  for (; size >= reach && i <= size - reach; i += Block) {
    const __m128i p0 = pairAt(i), p1 = pairAt(i + 16), p2 = pairAt(i + 32), p3 = pairAt(i + 48);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(p0, p1), _mm_or_si128(p2, p3))) != 0) {
      for (uint64_t starts = Bits(p0, p1, p2, p3); starts != 0; starts &= starts - 1) {
        const int k = std::countr_zero(starts);
        const size_t start = i + static_cast<size_t>(k);
        if (start + l <= size && TokenBytesAt(token, h + start)) {
          // The line's ends from the line ends of this block and the
          // blocks beside it, chosen without a branch: whether the line
          // starts or ends in this block is as likely as not.
          const uint64_t ends = EndsOf(i);
          const uint64_t before = ends & ((uint64_t{1} << k) - 1);
          const uint64_t earlier = i >= Block ? EndsOf(i - Block) : 0;
          found.Lines += SumBytes(counts) + CountBits(before);
          found.LineStart = before    ? i + Block - static_cast<size_t>(std::countl_zero(before))
                            : earlier ? i - static_cast<size_t>(std::countl_zero(earlier))
                                      : 0;
          if ((before | earlier) == 0 && i > Block) found.LineStart = AfterLastLineEnd(bytes.substr(0, i - Block));
          found.Hit = start;
          const uint64_t after = ends & ~((uint64_t{2} << k) - 1);
          const uint64_t later = i + 2 * Block <= size ? EndsOf(i + Block) : 0;
          found.LineEnd = after   ? i + static_cast<size_t>(std::countr_zero(after))
                          : later ? i + Block + static_cast<size_t>(std::countr_zero(later))
                                  : NoHit;
          if ((after | later) == 0 && i + Block < size) {
            if (const void* end = std::memchr(h + i + Block, '\n', size - i - Block))
              found.LineEnd = static_cast<size_t>(static_cast<const char*>(end) - h);
          }
          return found;
        }
        work += l;
        if (work > 4 * (i + Block + l)) {
          found.Lines += SumBytes(counts);
          found.LineStart = AfterLastLineEnd(bytes.substr(0, i));
          FinishHitLine(token, bytes, start + 1, i, found);
          return found;
        }
      }
    }
    counts = _mm_sub_epi8(counts, endsAt(i));
    counts = _mm_sub_epi8(counts, endsAt(i + 16));
    counts = _mm_sub_epi8(counts, endsAt(i + 32));
    counts = _mm_sub_epi8(counts, endsAt(i + 48));
    if (++blocks == 63) {
      found.Lines += SumBytes(counts);
      counts = _mm_setzero_si128();
      blocks = 0;
    }
  }
  found.Lines += SumBytes(counts);
  if (i > 0) found.LineStart = AfterLastLineEnd(bytes.substr(0, i));
  FinishHitLine(token, bytes, i, i, found);
  return found;
}

}  // namespace

TLineHitRec FindHitLine(const TTokenRec<char>& token, std::string_view bytes) {
  return token.FoldAscii ? FindHitLineIn<true>(token, bytes) : FindHitLineIn<false>(token, bytes);
}
