// Positions and lengths counted in the units a caller asked for: UTF-16
// units, characters, or bytes of the text's encoding. The search itself
// always works on UTF-16; these translate its answers.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/token_search.h"

// What positions, lengths and the length argument count.
enum class TUnits : uint8_t {
  Utf16,  // UTF-16 code units
  Chars,  // characters (code points)
  Bytes,  // bytes of the text's encoding
};

// How to count: the unit, and for bytes the page the text's bytes are in
// (BytesCp) and the page its byte escapes come from (UnitsCp).
struct TUnitCountRec {
  TUnits Units = TUnits::Utf16;
  uint32_t BytesCp = 0;
  uint32_t UnitsCp = 0;
};

// The number of units text takes. Linear in its length.
int64_t CountUnits(const TUnitCountRec& count, std::u16string_view text);

// TextBeforeSpan and TextAfterSpan with requestedLength counted in units:
// the characters right before the token at tokenPos (1-based, in UTF-16
// units) when they take that many units or more, the last of them
// whole; otherwise the word before it. After the token: characters from
// afterPos on until they take that many units or the text ends. A length
// of 0 or below gives the words, as there.
std::u16string_view TextBeforeSpanIn(const TUnitCountRec& count, std::u16string_view text, int64_t tokenPos,
                                     int32_t requestedLength, const TCharSetRec& delimiters);
std::u16string_view TextAfterSpanIn(const TUnitCountRec& count, std::u16string_view text, int64_t afterPos,
                                    int32_t requestedLength, const TCharSetRec& delimiters);
