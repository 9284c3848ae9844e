// The scan that finds where a token of bytes may start: two of its bytes,
// the rarest in common text, looked for at their distance sixteen or
// thirty-two places at a time (SSE2, or AVX2 where the CPU has it). Most
// texts hold few places where both stand, so few are verified; the caller
// keeps the worst case linear (see token_search).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

struct TRarePairRec {
  uint32_t Index1 = 0, Index2 = 0;  // where the two bytes stand in the token
  uint8_t Byte1 = 0, Byte2 = 0;     // the bytes, lower case where case is ignored
  // 0x20 where the byte is an ASCII letter and case is ignored: the text's
  // byte with this bit set is compared, which matches both cases.
  uint8_t Fold1 = 0, Fold2 = 0;
};

// The pair of a token of at least one byte: its rarest byte and the
// rarest other one (the same where all its bytes are alike). Where
// foldAscii, the token is in lower case and ASCII letters match either
// case. No tables are built: the ranks are constant data.
TRarePairRec ChooseRarePair(std::string_view token, bool foldAscii);

// Whether the CPU and the system both keep AVX2's registers: asked once,
// and only by a scan long enough to use them. Inline once asked: every
// line that holds the token asks again.
extern int CpuAvx2Known;  // 0: not asked yet, 1: no, 2: yes
bool AskCpuAvx2();
inline bool CpuHasAvx2() { return CpuAvx2Known != 0 ? CpuAvx2Known == 2 : AskCpuAvx2(); }

// FindPairCandidate for at least 16 starts, sixteen at a time (SSE2), and
// for at least 32, thirty-two at a time (AVX2, where CpuHasAvx2).
size_t ScanPairSse2(const TRarePairRec& pair, const char* text, size_t from, size_t last);
size_t ScanPairAvx2(const TRarePairRec& pair, const char* text, size_t from, size_t last);

// The first start from from to last (inclusive) at which text holds both
// bytes of the pair at their places, or size_t(-1). text must hold
// last + the pair's larger index + 1 bytes. Inline: a line's search may
// be short.
inline size_t FindPairCandidate(const TRarePairRec& pair, const char* text, size_t from, size_t last) {
  if (from > last) return static_cast<size_t>(-1);
  if (pair.Fold1 == 0) {
    // Straight to the first place of the rarer byte (the C library's scan
    // of one byte is the fastest there is): where it is rare indeed, the
    // pair is looked at nowhere else.
    const void* first = std::memchr(text + from + pair.Index1, pair.Byte1, last - from + 1);
    if (!first) return static_cast<size_t>(-1);
    from = static_cast<size_t>(static_cast<const char*>(first) - text) - pair.Index1;
  }
  const size_t count = last - from + 1;
  if (count >= 64 && CpuHasAvx2()) return ScanPairAvx2(pair, text, from, last);
  if (count >= 16) return ScanPairSse2(pair, text, from, last);
  for (size_t i = from; i <= last; ++i)
    if ((static_cast<uint8_t>(text[i + pair.Index1]) | pair.Fold1) == pair.Byte1 &&
        (static_cast<uint8_t>(text[i + pair.Index2]) | pair.Fold2) == pair.Byte2)
      return i;
  return static_cast<size_t>(-1);
}

// Whether the l bytes at h are the token n; where Fold, the text's ASCII
// capitals count as lower case (n is in lower case). Inline: every
// candidate asks, and most tokens are short: two overlapping loads each.
template <bool Fold>
inline bool SameBytes(const char* h, const char* n, size_t l) {
  if constexpr (!Fold) {
    uint64_t a, b, c, d;
    if (l >= 8 && l <= 16) {
      std::memcpy(&a, h, 8), std::memcpy(&b, n, 8), std::memcpy(&c, h + l - 8, 8), std::memcpy(&d, n + l - 8, 8);
      return a == b && c == d;
    }
    if (l >= 4 && l < 8) {
      uint32_t e, f, g, k;
      std::memcpy(&e, h, 4), std::memcpy(&f, n, 4), std::memcpy(&g, h + l - 4, 4), std::memcpy(&k, n + l - 4, 4);
      return e == f && g == k;
    }
    return std::memcmp(h, n, l) == 0;
  } else {
    for (size_t k = 0; k < l; ++k)
      if ((h[k] >= 'A' && h[k] <= 'Z' ? static_cast<char>(h[k] + ('a' - 'A')) : h[k]) != n[k]) return false;
    return true;
  }
}
