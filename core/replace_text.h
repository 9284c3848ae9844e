// Replacing text without regard to case.
#pragma once

#include <string>

// Source with oldText replaced by newText wherever it occurs (or only the
// first time), letters compared without regard to case by the ANSI code
// page's rules. Matches never overlap; the rest of source keeps its case.
// An empty oldText returns source unchanged.
std::string ReplaceTextIgnoreCase(const std::string& source, const std::string& oldText, const std::string& newText,
                                  bool firstOnly);
