// Unicode simple case folding, for searches that ignore case: one
// character to one character, with no regard to language.
#pragma once

#include <string>
#include <string_view>

// The folded form of c ("A" and "a" both give "a", "ſ" gives "s", the
// Kelvin sign "k"); a character without one is itself.
char32_t FoldCase(char32_t c);

// Folds every character of text where it stands. A folding never changes
// a character's length in UTF-16 units, so a position in the folded text
// is the same position in the text. Lone surrogates and byte escapes stay
// as they are.
void FoldCaseUtf16(std::u16string& text);

// The same for ASCII bytes: "A"-"Z" to "a"-"z".
void FoldCaseAscii(std::string& text);
