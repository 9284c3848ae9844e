// UTF-8, the codec every platform needs: the POSIX locales' usual
// encoding, and a Win32 code page (65001) and byte-order mark.
#pragma once

#include <string>
#include <string_view>

// Decodes UTF-8. A byte that does not start a well-formed sequence (a
// stray continuation, an overlong or truncated form, an encoded surrogate)
// becomes its byte escape (text/utf16.h), and decoding goes on with the
// byte after it. Never more units than bytes.
std::u16string DecodeUtf8(std::string_view text);

// Encodes UTF-16 as UTF-8; a lone surrogate or a byte escape becomes "?".
std::string EncodeUtf8(std::u16string_view text);
