#include "core/path_parts.h"

namespace {

template <typename TChar>
bool IsPathSeparator(TChar c) {
  return c == '\\' || c == '/' || c == ':';
}

template <typename TString>
size_t LastSeparator(const TString& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i - 1;
  return TString::npos;
}

}  // namespace

template <typename TString>
TString PathFileName(const TString& path) {
  const size_t last = LastSeparator(path);
  return last == TString::npos ? path : path.substr(last + 1);
}

template <typename TString>
TString PathDirectory(const TString& path) {
  const size_t last = LastSeparator(path);
  if (last == TString::npos) return TString();
  const bool keep = path[last] == ':' || last == 0 || IsPathSeparator(path[last - 1]);
  return path.substr(0, keep ? last + 1 : last);
}

template <typename TString>
TString PathExtension(const TString& path) {
  for (size_t i = path.size(); i > 0; --i) {
    const auto c = path[i - 1];
    if (IsPathSeparator(c)) return TString();
    if (c == '.') {
      const size_t dot = i - 1;
      if (dot == 0 || path[dot - 1] == '\\' || path[dot - 1] == '/') return TString();
      return path.substr(dot);
    }
  }
  return TString();
}

template std::string PathFileName(const std::string&);
template std::string PathDirectory(const std::string&);
template std::string PathExtension(const std::string&);
template std::u16string PathFileName(const std::u16string&);
template std::u16string PathDirectory(const std::u16string&);
template std::u16string PathExtension(const std::u16string&);
