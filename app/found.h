// What one search of one text found: the record the search hands to the
// result forms, which know nothing of how it was found.
#pragma once

#include <cstdint>
#include <string_view>

// Where the token stands and the texts around it. A text without the
// token gives Position 0 and nothing else.
struct TFoundRec {
  int64_t Position = 0;    // of the token, from 1, in the search's units
  int64_t After = 0;       // of the unit after it
  int64_t Occurrence = 0;  // which occurrence it is, from 1 at the left
  // The texts before and after the token: ASCII bytes, or (Wide) UTF-16
  // units whose byte escapes come from the search's page of units. Views
  // into the text or the search's own room, valid until the next search.
  bool Wide = false;
  std::string_view BeforeBytes, AfterBytes;
  // How far the bytes of BeforeBytes and AfterBytes may be read (the end
  // of the text they are views into, or past it); or not at all.
  const char* BytesEnd = nullptr;
  std::u16string_view BeforeUnits, AfterUnits;
};
