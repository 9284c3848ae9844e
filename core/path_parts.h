// Parts of a program path. "\" and "/" separate directories, ":" ends a
// drive.
#pragma once

#include <string>

// Everything after the last "\", "/" or ":"; the whole path if none.
std::string PathFileName(const std::string& path);

// Everything before the last "\", "/" or ":", keeping that character when
// it is ":", the first character, or follows another separator: "C:\Tools"
// for "C:\Tools\x.exe", but "C:\" for "C:\x.exe". Empty for a bare name.
std::string PathDirectory(const std::string& path);

// From the last "." to the end, when that "." comes after the last
// separator and neither starts the path nor directly follows "\" or "/";
// otherwise empty. ".profile" has no extension.
std::string PathExtension(const std::string& path);
