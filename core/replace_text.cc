#include "core/replace_text.h"

#include "platform/platform.h"

std::string ReplaceTextIgnoreCase(const std::string& source, const std::string& oldText, const std::string& newText,
                                  bool firstOnly) {
  if (oldText.empty()) return source;
  const std::string upperSource = UpperCaseAnsi(source);
  const std::string upperOld = UpperCaseAnsi(oldText);
  std::string result;
  size_t from = 0;
  for (;;) {
    const size_t at = upperSource.find(upperOld, from);
    if (at == std::string::npos) break;
    result.append(source, from, at - from);
    result += newText;
    from = at + oldText.size();
    if (firstOnly) break;
  }
  result.append(source, from, std::string::npos);
  return result;
}
