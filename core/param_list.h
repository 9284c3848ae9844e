// Argument lists and syntax validation records of the core, kept for the
// programs built on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The status of one command-line argument.
struct TParamStatusRec {
  int32_t Status = 0;
  bool Flag1 = false, Flag2 = false, Flag3 = false, Flag4 = false;
  std::string Text;  // the argument unchanged
};
using TParamStatusArray = std::vector<TParamStatusRec>;

// A found parameter: where it stood, then its texts.
struct TFindParamRec {
  int32_t Index = 0;
  int32_t Position = 0;
  bool Found = false;
  std::string Name, Value, Rest;
};
using TParamRecArray = std::vector<TFindParamRec>;

// A syntax validation record.
struct TParamStatisticsRec {
  bool Flag1 = false, Flag2 = false, Flag3 = false;
  std::array<uint16_t, 14> Counts = {};
  std::array<std::string, 14> Texts;
  std::string Caption;
};

// Sets list to n elements, every number zero and every text empty.
void ResetParamStatusList(TParamStatusArray& list, int32_t n);
void ResetParamRecList(TParamRecArray& list, int32_t n);

// One element per command-line argument (argument 0 excluded): the text
// unchanged, status 0, all flags false.
void CaptureParams(TParamStatusArray& list);

// First flag true, the others false, numbers 0, texts empty; the caption
// only when caption is not empty (an empty one keeps the old caption).
void InitSyntaxRec(TParamStatisticsRec& rec, const std::string& caption);

// text in double quotes when it is empty or holds a blank or ";";
// otherwise text unchanged.
std::string QuoteIfNeeded(const std::string& text);
