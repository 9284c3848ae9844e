#include "core/param_list.h"

#include "core/params.h"

void ResetParamStatusList(TParamStatusArray& list, int32_t n) {
  list.clear();
  list.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void ResetParamRecList(TParamRecArray& list, int32_t n) {
  list.clear();
  list.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void CaptureParams(TParamStatusArray& list) {
  list.clear();
  ResetParamStatusList(list, ParamCount());
  for (int32_t i = 1; i <= ParamCount(); ++i) list[static_cast<size_t>(i - 1)].Text = std::string(ParamStr(i));
}

void InitSyntaxRec(TParamStatisticsRec& rec, const std::string& caption) {
  rec.Flag1 = true;
  rec.Flag2 = false;
  rec.Flag3 = false;
  rec.Counts.fill(0);
  for (std::string& text : rec.Texts) text.clear();
  if (!caption.empty()) rec.Caption = caption;
}

std::string QuoteIfNeeded(const std::string& text) {
  if (text.empty() || text.find_first_of(" ;") != std::string::npos) return '"' + text + '"';
  return text;
}
