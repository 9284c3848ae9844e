// Parts of a program path. "\" and "/" separate directories, ":" ends a
// drive. TString is std::string or std::u16string: a path held as UTF-16
// splits by characters, so the second byte of a double-byte character,
// which may be a "\" (0x5C), never splits it.
#pragma once

#include <string>

// Everything after the last "\", "/" or ":"; the whole path if none.
template <typename TString>
TString PathFileName(const TString& path);

// Everything before the last "\", "/" or ":", keeping that character when
// it is ":", the first character, or follows another separator: "C:\Tools"
// for "C:\Tools\x.exe", but "C:\" for "C:\x.exe". Empty for a bare name.
template <typename TString>
TString PathDirectory(const TString& path);

// From the last "." to the end, when that "." comes after the last
// separator and neither starts the path nor directly follows "\" or "/";
// otherwise empty. ".profile" has no extension.
template <typename TString>
TString PathExtension(const TString& path);
