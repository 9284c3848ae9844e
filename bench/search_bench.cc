// Micro-benchmarks of the token search and the context extraction on
// ordinary and adversarial texts.
#include <benchmark/benchmark.h>

#include <string>

#include "app/token_search.h"

namespace {

// Words and blanks, the token once near the end.
std::u16string OrdinaryText(size_t size) {
  const std::u16string words = u"the quick brown fox jumps over a lazy dog while scripts read logs ";
  std::u16string text;
  while (text.size() + words.size() < size) text += words;
  text.resize(size > 12 ? size - 12 : 0, u' ');
  text += u" ERROR: done";
  return text.substr(0, size);
}

void BM_LocateOrdinary(benchmark::State& state) {
  const std::u16string text = OrdinaryText(static_cast<size_t>(state.range(0)));
  const std::u16string token = u"ERROR:";
  for (auto _ : state) benchmark::DoNotOptimize(LocateToken<char16_t>(token, text));
  state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// A text of a's and a token of a's ending in "b": quadratic for a naive
// search.
void BM_LocateAdversarial(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  const std::u16string text(size, u'a');
  const std::u16string token = std::u16string(size / 2 > 1 ? size / 2 - 1 : 1, u'a') + u"b";
  for (auto _ : state) benchmark::DoNotOptimize(LocateToken<char16_t>(token, text));
  state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// Whole words on both sides of a token in the middle of one long word run.
void BM_ExtractWholeWords(benchmark::State& state) {
  const size_t half = static_cast<size_t>(state.range(0)) / 2;
  const std::u16string text = std::u16string(half, u'x') + u"TOKEN" + std::u16string(half, u'y');
  const TCharSetRec delimiters = BuildDelimiterSet(u" ,;");
  const int32_t pos = static_cast<int32_t>(half + 1), after = pos + 5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextBeforeToken<char16_t>(text, pos, 0, delimiters));
    benchmark::DoNotOptimize(TextAfterToken<char16_t>(text, after, 0, delimiters));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

void BM_ExtractByLength(benchmark::State& state) {
  const std::u16string text = OrdinaryText(static_cast<size_t>(state.range(0)));
  const TCharSetRec delimiters = BuildDelimiterSet(u" ,;");
  const int32_t pos = static_cast<int32_t>(text.size() / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextBeforeToken<char16_t>(text, pos, 12, delimiters));
    benchmark::DoNotOptimize(TextAfterToken<char16_t>(text, pos + 5, 12, delimiters));
  }
}

}  // namespace

BENCHMARK(BM_LocateOrdinary)->Arg(30)->Arg(4 << 10)->Arg(32 << 10)->Arg(128 << 10);
BENCHMARK(BM_LocateAdversarial)->Arg(30)->Arg(4 << 10)->Arg(32 << 10)->Arg(128 << 10);
BENCHMARK(BM_ExtractWholeWords)->Arg(30)->Arg(4 << 10)->Arg(32 << 10)->Arg(128 << 10);
BENCHMARK(BM_ExtractByLength)->Arg(30)->Arg(4 << 10)->Arg(32 << 10)->Arg(128 << 10);
BENCHMARK_MAIN();
