#include "app/json_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/console.h"

namespace {

// Sixteen bytes at once against the byte-by-byte copy and escape: every
// byte that needs an escape, at every place of a text short or long, with
// the bytes after it readable or not.
TEST(PutShortJsonUnits, PutsWhatTheByteByByteWritersPut) {
  std::mt19937 rng(4);
  const std::string pool("ab\"\\\x7F\x01\x1F ~\t", 10);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(rng() % 40, ' ');
    for (char& c : bytes) c = round % 2 ? pool[rng() % pool.size()] : 'a';
    const size_t from = rng() % (bytes.size() + 1), size = rng() % (bytes.size() - from + 1);
    const std::string_view text(bytes.data() + from, size);
    const char* readable = bytes.data() + bytes.size();
    char fast[16 + 6 * 40], slow[6 * 40];
    ASSERT_EQ(std::string(fast, PutShortJsonUnits(fast, text, readable)), std::string(slow, PutJsonUnits(slow, text)))
        << bytes << " " << from << " " << size;
    ASSERT_EQ(std::string(fast, PutShortText(fast, text, readable)), text);
  }
}

}  // namespace
