// A deliberately plain search and context extraction, written from the
// rules rather than for speed: the yardstick for the random tests and the
// fuzzer. Characters are UTF-16 code points (a surrogate pair is one);
// positions count units from 1.
#pragma once

#include <cstdint>
#include <string>

// 1-based position of the first occurrence of token in text that splits no
// surrogate pair of the text, or 0.
int64_t RefLocate(const std::u16string& token, const std::u16string& text);

// The context before the token at pos and after the unit after: n units by
// length (one more where the cut would split a surrogate pair), or the
// whole neighbouring word when n is below 1 (before the token also when
// fewer than n units stand there). A word is a run of characters not in
// delims.
std::u16string RefBefore(const std::u16string& text, int64_t pos, int32_t n, const std::u16string& delims);
std::u16string RefAfter(const std::u16string& text, int64_t after, int32_t n, const std::u16string& delims);
