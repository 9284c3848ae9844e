#include "app/line_scan.h"

#include <immintrin.h>

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

// The verified hit at i + k, in the block of 64 bytes at i, after the
// lines counted so far, with the line ends of this block (ends) and of
// those before and after it, where they are among the bytes: its line's
// ends are chosen without a branch, since whether the line starts or ends
// in this block is as likely as not.
[[gnu::always_inline]] inline void TakeHit(TLineHitRec& found, std::string_view bytes, size_t i, int k, uint64_t ends,
                                           uint64_t earlier, uint64_t later) {
  const size_t size = bytes.size();
  const uint64_t before = ends & ((uint64_t{1} << k) - 1);
  found.Lines += CountBits(before);
  found.LineStart = before    ? i + Block - static_cast<size_t>(std::countl_zero(before))
                    : earlier ? i - static_cast<size_t>(std::countl_zero(earlier))
                              : 0;
  if ((before | earlier) == 0 && i > Block) found.LineStart = AfterLastLineEnd(bytes.substr(0, i - Block));
  found.Hit = i + static_cast<size_t>(k);
  const uint64_t after = ends & ~((uint64_t{2} << k) - 1);
  found.LineEnd = after   ? i + static_cast<size_t>(std::countr_zero(after))
                  : later ? i + Block + static_cast<size_t>(std::countr_zero(later))
                          : NoHit;
  if ((after | later) == 0 && i + Block < size) {
    if (const void* end = std::memchr(bytes.data() + i + Block, '\n', size - i - Block))
      found.LineEnd = static_cast<size_t>(static_cast<const char*>(end) - bytes.data());
  }
}

// Where candidates have cost more than a few times the bytes passed (a
// text full of the pair but not the token), from the candidate at start in
// the block at i on, the slower way.
[[gnu::always_inline]] inline void LeaveToFindBytes(TLineHitRec& found, const TTokenRec<char>& token,
                                                    std::string_view bytes, size_t i, size_t start) {
  found.LineStart = AfterLastLineEnd(bytes.substr(0, i));
  FinishHitLine(token, bytes, start + 1, i, found);
}

// The candidates of the block at i, one bit each, verified in turn: the
// bit of the first that is the token (0 to 63); NoneVerified; or
// HandedOver where verifying has cost more than a few times the bytes
// passed (work counts it), and FindBytes has settled the pass.
constexpr int NoneVerified = -1, HandedOver = 64;
[[gnu::always_inline]] inline int VerifyCandidates(TLineHitRec& found, const TTokenRec<char>& token,
                                                   std::string_view bytes, size_t i, uint64_t starts, size_t& work) {
  const size_t l = token.Units.size();
  for (; starts != 0; starts &= starts - 1) {
    const int k = std::countr_zero(starts);
    const size_t start = i + static_cast<size_t>(k);
    if (start + l <= bytes.size() && TokenBytesAt(token, bytes.data() + start)) return k;
    work += l;
    if (work > 4 * (i + Block + l)) {
      LeaveToFindBytes(found, token, bytes, i, start);
      return HandedOver;
    }
  }
  return NoneVerified;
}

// Where nothing is counted, the block after the one at i: after a few
// blocks without a candidate (idle counts them), the pair's rarer byte is
// taken for rare, and where leap, the pass leaps to its next place (the C
// library's scan of one byte is the fastest there is), or past the bytes
// where it stands no more. Where the leap is short, the byte is not rare
// here, and blocks are scanned for a while before the next.
[[gnu::always_inline]] inline size_t NextUncountedBlock(const TRarePairRec& pair, std::string_view bytes, size_t i,
                                                        int& idle, bool leap) {
  const size_t from = i + Block + pair.Index1;
  if (!leap || ++idle < 4 || from >= bytes.size()) return i + Block;
  const void* at = std::memchr(bytes.data() + from, pair.Byte1, bytes.size() - from);
  const size_t next =
      at ? static_cast<size_t>(static_cast<const char*>(at) - bytes.data()) - pair.Index1 : bytes.size();
  if (next - i < 4 * Block) idle = -28;
  return next;
}

// The bytes from i on, fewer than a block's scan reads, and the line start
// of those before them.
[[gnu::always_inline]] inline void FinishAfterBlocks(TLineHitRec& found, const TTokenRec<char>& token,
                                                     std::string_view bytes, size_t i) {
  if (i > 0) found.LineStart = AfterLastLineEnd(bytes.substr(0, i));
  FinishHitLine(token, bytes, i, i, found);
}

// A block of 64 bytes costs four comparisons for its line ends, counted in
// byte lanes (no mask made), and eight for the pair's places; the masks
// are made only where a pair stands. Where Fold, the text's byte with the
// pair's fold bits set is compared.
template <bool Fold, bool Count>
TLineHitRec FindHitLineSse2In(const TTokenRec<char>& token, std::string_view bytes) {
  TLineHitRec found;
  const TRarePairRec& pair = token.Pair;
  const char* const h = bytes.data();
  const size_t size = bytes.size();
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
  const auto endsOf = [&](size_t i) { return Bits(endsAt(i), endsAt(i + 16), endsAt(i + 32), endsAt(i + 48)); };
  // Line ends counted in byte lanes: each block adds at most four to a
  // lane, so the lanes are summed every 63 blocks.
  __m128i counts = _mm_setzero_si128();
  int blocks = 0;
  size_t i = 0, work = 0;
  int idle = 0;  // blocks in a row without a candidate
  while (size >= reach && i <= size - reach) {
    const __m128i p0 = pairAt(i), p1 = pairAt(i + 16), p2 = pairAt(i + 32), p3 = pairAt(i + 48);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(p0, p1), _mm_or_si128(p2, p3))) != 0) {
      found.Lines += SumBytes(counts);
      counts = _mm_setzero_si128();
      idle = 0;
      const int k = VerifyCandidates(found, token, bytes, i, Bits(p0, p1, p2, p3), work);
      if (k == HandedOver) return found;
      if (k != NoneVerified) {
        TakeHit(found, bytes, i, k, endsOf(i), i >= Block ? endsOf(i - Block) : 0,
                i + 2 * Block <= size ? endsOf(i + Block) : 0);
        return found;
      }
    }
    if constexpr (Count) {
      counts = _mm_sub_epi8(counts, endsAt(i));
      counts = _mm_sub_epi8(counts, endsAt(i + 16));
      counts = _mm_sub_epi8(counts, endsAt(i + 32));
      counts = _mm_sub_epi8(counts, endsAt(i + 48));
      if (++blocks == 63) {
        found.Lines += SumBytes(counts);
        counts = _mm_setzero_si128();
        blocks = 0;
      }
      i += Block;
    } else {
      i = NextUncountedBlock(pair, bytes, i, idle, !Fold);
    }
  }
  found.Lines += SumBytes(counts);
  FinishAfterBlocks(found, token, bytes, i);
  return found;
}

// The same, thirty-two places a step: two comparisons for the line ends
// of a block and four for the pair's places.
template <bool Fold, bool Count>
__attribute__((target("avx2"))) TLineHitRec FindHitLineAvx2In(const TTokenRec<char>& token, std::string_view bytes) {
  TLineHitRec found;
  const TRarePairRec& pair = token.Pair;
  const char* const h = bytes.data();
  const size_t size = bytes.size();
  const size_t reach = Block + std::max(pair.Index1, pair.Index2);
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i byte1 = _mm256_set1_epi8(static_cast<char>(pair.Byte1));
  const __m256i byte2 = _mm256_set1_epi8(static_cast<char>(pair.Byte2));
  const __m256i fold1 = _mm256_set1_epi8(static_cast<char>(pair.Fold1));
  const __m256i fold2 = _mm256_set1_epi8(static_cast<char>(pair.Fold2));
  const char* const at1 = h + pair.Index1;
  const char* const at2 = h + pair.Index2;
  // The pair's places among the 32 starts from i, one bit each.
  const auto pairBits = [&](size_t i) __attribute__((target("avx2"))) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at1 + i));
    __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at2 + i));
    if constexpr (Fold) a = _mm256_or_si256(a, fold1), b = _mm256_or_si256(b, fold2);
    return static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, byte1), _mm256_cmpeq_epi8(b, byte2))));
  };
  const auto bytesAt = [&](size_t i) __attribute__((target("avx2"))) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i));
  };
  const auto endsAt = [&](size_t i) __attribute__((target("avx2"))) { return _mm256_cmpeq_epi8(bytesAt(i), lf); };
  const auto endsOf = [&](size_t i) __attribute__((target("avx2"))) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(endsAt(i))) |
           static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(endsAt(i + 32)))) << 32;
  };
  const auto sum = [](__m256i lanes) __attribute__((target("avx2"))) {
    return SumBytes(_mm_add_epi8(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1)));
  };
  // Each block adds at most two to a lane, and the two halves are added
  // before they are summed: 63 blocks still fit a byte.
  __m256i counts = _mm256_setzero_si256();
  __m256i bytesOr = _mm256_setzero_si256();  // of the bytes passed, where counted: their top bits
  int blocks = 0;
  size_t i = 0, work = 0;
  int idle = 0;  // blocks in a row without a candidate
  while (size >= reach && i <= size - reach) {
    if (const uint64_t starts = pairBits(i) | static_cast<uint64_t>(pairBits(i + 32)) << 32) {
      found.Lines += sum(counts);
      counts = _mm256_setzero_si256();
      idle = 0;
      const int k = VerifyCandidates(found, token, bytes, i, starts, work);
      if (k == HandedOver) return found;
      if (k != NoneVerified) {
        TakeHit(found, bytes, i, k, endsOf(i), i >= Block ? endsOf(i - Block) : 0,
                i + 2 * Block <= size ? endsOf(i + Block) : 0);
        // The hit's line lies within the bytes passed and the two blocks
        // from i, where it ends before their end.
        if (Count && i + 2 * Block <= size && found.LineEnd < i + 2 * Block) {
          bytesOr = _mm256_or_si256(_mm256_or_si256(bytesOr, _mm256_or_si256(bytesAt(i), bytesAt(i + 32))),
                                    _mm256_or_si256(bytesAt(i + 64), bytesAt(i + 96)));
          found.Ascii = _mm256_movemask_epi8(bytesOr) == 0;
        }
        return found;
      }
    }
    if constexpr (Count) {
      const __m256i low = bytesAt(i), high = bytesAt(i + 32);
      bytesOr = _mm256_or_si256(bytesOr, _mm256_or_si256(low, high));
      counts = _mm256_sub_epi8(counts, _mm256_cmpeq_epi8(low, lf));
      counts = _mm256_sub_epi8(counts, _mm256_cmpeq_epi8(high, lf));
      if (++blocks == 63) {
        found.Lines += sum(counts);
        counts = _mm256_setzero_si256();
        blocks = 0;
      }
      i += Block;
    } else {
      i = NextUncountedBlock(pair, bytes, i, idle, !Fold);
    }
  }
  found.Lines += sum(counts);
  FinishAfterBlocks(found, token, bytes, i);
  return found;
}

}  // namespace

TLineHitRec FindHitLineAvx2(const TTokenRec<char>& token, std::string_view bytes, bool countLines) {
  if (countLines)
    return token.FoldAscii ? FindHitLineAvx2In<true, true>(token, bytes) : FindHitLineAvx2In<false, true>(token, bytes);
  return token.FoldAscii ? FindHitLineAvx2In<true, false>(token, bytes) : FindHitLineAvx2In<false, false>(token, bytes);
}

TLineHitRec FindHitLineSse2(const TTokenRec<char>& token, std::string_view bytes, bool countLines) {
  if (countLines)
    return token.FoldAscii ? FindHitLineSse2In<true, true>(token, bytes) : FindHitLineSse2In<false, true>(token, bytes);
  return token.FoldAscii ? FindHitLineSse2In<true, false>(token, bytes) : FindHitLineSse2In<false, false>(token, bytes);
}
