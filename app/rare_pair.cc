#include "app/rare_pair.h"

#include <cpuid.h>
#include <immintrin.h>

#include <array>

namespace {

constexpr size_t NotFound = static_cast<size_t>(-1);

// How common each byte is in text people search (higher: more common), a
// rough order: blanks and lower-case letters by their frequency in English,
// then digits and common punctuation, capitals, the bytes of UTF-8
// sequences, and control bytes last. Built by the compiler, so that
// nothing is built at run time.
constexpr std::array<uint8_t, 256> MakeByteRanks() {
  std::array<uint8_t, 256> ranks{};
  for (int b = 0; b < 256; ++b) ranks[b] = b < 0x20 ? 10 : b < 0x80 ? 100 : b < 0xC0 ? 90 : 70;
  const char* lower = "etaoinsrhldcumfpgwybvkxjqz";
  const char* upper = "ETAOINSRHLDCUMFPGWYBVKXJQZ";
  for (int i = 0; lower[i]; ++i) {
    ranks[static_cast<uint8_t>(lower[i])] = static_cast<uint8_t>(250 - 4 * i);
    ranks[static_cast<uint8_t>(upper[i])] = static_cast<uint8_t>(140 - 2 * i);
  }
  for (int d = 0; d < 10; ++d) ranks['0' + d] = static_cast<uint8_t>(d < 2 ? 170 : 160 - d);
  ranks[' '] = 255;
  ranks['\n'] = 200;
  ranks[','] = ranks['.'] = 190;
  ranks['\r'] = ranks['\t'] = 150;
  for (const char c : {'-', '_', '/', '=', '"', '\'', '(', ')', ':'}) ranks[static_cast<uint8_t>(c)] = 145;
  ranks[0] = 60;
  return ranks;
}
constexpr std::array<uint8_t, 256> ByteRanks = MakeByteRanks();

uint8_t Lower(uint8_t b) { return b >= 'A' && b <= 'Z' ? static_cast<uint8_t>(b + 0x20) : b; }
bool IsLetter(uint8_t b) { return Lower(b) >= 'a' && Lower(b) <= 'z'; }

}  // namespace

// The last sixteen starts overlap those looked at, with those masked off.
size_t ScanPairSse2(const TRarePairRec& pair, const char* text, size_t from, size_t last) {
  const __m128i byte1 = _mm_set1_epi8(static_cast<char>(pair.Byte1));
  const __m128i byte2 = _mm_set1_epi8(static_cast<char>(pair.Byte2));
  const __m128i fold1 = _mm_set1_epi8(static_cast<char>(pair.Fold1));
  const __m128i fold2 = _mm_set1_epi8(static_cast<char>(pair.Fold2));
  const char* at1 = text + pair.Index1;
  const char* at2 = text + pair.Index2;
  const auto maskAt = [&](size_t i) {
    const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at1 + i)), fold1);
    const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at2 + i)), fold2);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, byte1), _mm_cmpeq_epi8(b, byte2))));
  };
  size_t i = from;
  for (; i + 15 <= last; i += 16)
    if (const unsigned mask = maskAt(i)) return i + static_cast<size_t>(__builtin_ctz(mask));
  if (i > last) return NotFound;
  const size_t start = last - 15;
  if (const unsigned mask = maskAt(start) >> (i - start)) return i + static_cast<size_t>(__builtin_ctz(mask));
  return NotFound;
}

__attribute__((target("avx2"))) size_t ScanPairAvx2(const TRarePairRec& pair, const char* text, size_t from,
                                                    size_t last) {
  const __m256i byte1 = _mm256_set1_epi8(static_cast<char>(pair.Byte1));
  const __m256i byte2 = _mm256_set1_epi8(static_cast<char>(pair.Byte2));
  const __m256i fold1 = _mm256_set1_epi8(static_cast<char>(pair.Fold1));
  const __m256i fold2 = _mm256_set1_epi8(static_cast<char>(pair.Fold2));
  const char* at1 = text + pair.Index1;
  const char* at2 = text + pair.Index2;
  const auto maskAt = [&](size_t i) __attribute__((target("avx2"))) {
    const __m256i a = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at1 + i)), fold1);
    const __m256i b = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at2 + i)), fold2);
    return static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, byte1), _mm256_cmpeq_epi8(b, byte2))));
  };
  size_t i = from;
  for (; i + 31 <= last; i += 32)
    if (const uint32_t mask = maskAt(i)) return i + static_cast<size_t>(__builtin_ctz(mask));
  if (i > last) return NotFound;
  const size_t start = last - 31;
  if (const uint32_t mask = maskAt(start) >> (i - start)) return i + static_cast<size_t>(__builtin_ctz(mask));
  return NotFound;
}

TRarePairRec ChooseRarePair(std::string_view token, bool foldAscii) {
  // A capital letter is as rare as its case is ignored: as its lower case.
  const auto rank = [&](size_t i) {
    const auto b = static_cast<uint8_t>(token[i]);
    return foldAscii && IsLetter(b) ? ByteRanks[Lower(b)] : ByteRanks[b];
  };
  size_t first = 0;
  for (size_t i = 1; i < token.size(); ++i)
    if (rank(i) < rank(first)) first = i;
  size_t second = first;
  for (size_t i = 0; i < token.size(); ++i)
    if (token[i] != token[first] && (second == first || rank(i) < rank(second))) second = i;
  TRarePairRec pair;
  pair.Index1 = static_cast<uint32_t>(first);
  pair.Index2 = static_cast<uint32_t>(second);
  pair.Byte1 = static_cast<uint8_t>(token[first]);
  pair.Byte2 = static_cast<uint8_t>(token[second]);
  if (foldAscii) {
    if (IsLetter(pair.Byte1)) pair.Fold1 = 0x20, pair.Byte1 = Lower(pair.Byte1);
    if (IsLetter(pair.Byte2)) pair.Fold2 = 0x20, pair.Byte2 = Lower(pair.Byte2);
  }
  return pair;
}

int CpuAvx2Known = 0;

bool AskCpuAvx2() {
  unsigned a, b, c, d;
  bool avx2 = __get_cpuid(1, &a, &b, &c, &d) && (c & bit_OSXSAVE) && (c & bit_AVX);
  if (avx2) {
    unsigned lo, hi;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    avx2 = (lo & 6) == 6 && __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_AVX2);
  }
  CpuAvx2Known = avx2 ? 2 : 1;
  return avx2;
}
