#include "core/path_parts.h"

namespace {

bool IsPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

size_t LastSeparator(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i - 1;
  return std::string::npos;
}

}  // namespace

std::string PathFileName(const std::string& path) {
  const size_t last = LastSeparator(path);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string PathDirectory(const std::string& path) {
  const size_t last = LastSeparator(path);
  if (last == std::string::npos) return std::string();
  const bool keep = path[last] == ':' || last == 0 || IsPathSeparator(path[last - 1]);
  return path.substr(0, keep ? last + 1 : last);
}

std::string PathExtension(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (IsPathSeparator(c)) return std::string();
    if (c == '.') {
      const size_t dot = i - 1;
      if (dot == 0 || path[dot - 1] == '\\' || path[dot - 1] == '/') return std::string();
      return path.substr(dot);
    }
  }
  return std::string();
}
