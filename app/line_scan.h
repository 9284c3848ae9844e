// One pass over lines held in a buffer: the first line that holds the
// token, and how many lines come before it. Line ends and the token's
// rare pair are looked for in the same blocks of 64 bytes, so a run of
// lines without the token costs one look at each byte, however the hits
// and misses alternate.
#pragma once

#include <cstddef>
#include <string_view>

#include "app/token_search.h"

constexpr size_t NoHit = static_cast<size_t>(-1);

// What the pass found, as indexes into the bytes.
struct TLineHitRec {
  size_t Lines = 0;        // whole (LF-ended) lines before the hit's line; with no hit, all of them
  size_t LineStart = 0;    // where the hit's line starts; with no hit, just past the last LF
  size_t Hit = NoHit;      // the token's first occurrence, or NoHit
  size_t LineEnd = NoHit;  // the LF that ends the hit's line, or NoHit where the bytes end first
  // The hit's line is known to be ASCII: where lines are counted with AVX2
  // the pass has looked at every byte up to the hit's block anyway, so a
  // short line needs no second look. False says nothing.
  bool Ascii = false;
};

// Where the CPU lacks AVX2, FindHitLine sixteen places a step (the test
// of that scan calls it on any CPU).
TLineHitRec FindHitLineSse2(const TTokenRec<char>& token, std::string_view bytes, bool countLines = true);

// Where it has AVX2, thirty-two places a step.
TLineHitRec FindHitLineAvx2(const TTokenRec<char>& token, std::string_view bytes, bool countLines);

// The first occurrence of a prepared token of bytes without CR or LF
// among lines of bytes (what FindBytes finds), with the lines around it.
// Without countLines, Lines is not counted (0 or a part), which lets the
// pass leap to the places of the token's rarest byte. Linear in the worst
// case: where candidates of the pair cost more than a few times the bytes
// passed, FindBytes takes over. Inline, the choice of the scan: a line
// that holds the token asks for a pass of its own.
inline TLineHitRec FindHitLine(const TTokenRec<char>& token, std::string_view bytes, bool countLines = true) {
  // The CPU is asked only where blocks are to be scanned.
  if (bytes.size() >= 128 && CpuHasAvx2()) return FindHitLineAvx2(token, bytes, countLines);
  return FindHitLineSse2(token, bytes, countLines);
}
