#include "platform/zone-posix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The C library's offset for zone at utc, for comparison.
int32_t LibraryOffset(const char* zone, int64_t utc) {
  setenv("TZ", zone, 1);
  tzset();
  const time_t t = static_cast<time_t>(utc);
  tm local{};
  localtime_r(&t, &local);
  return static_cast<int32_t>(local.tm_gmtoff);
}

// Every 3.5 days or so from first to 2100, and each DST change in 2026 to
// the second.
std::vector<int64_t> Moments(int64_t first = -157766400) {
  std::vector<int64_t> moments;
  for (int64_t t = first; t < 4102444800; t += 302400 + 3607) moments.push_back(t);
  for (int64_t change : {1774745999, 1774746000, 1792889999, 1792890000, 1773558000, 1773557999})
    moments.push_back(change);
  return moments;
}

TEST(TzRuleUtcOffset, AgreesWithTheCLibrary) {
  const char* rules[] = {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "<+0330>-3:30", "<-03>3",
                         "AEST-10AEDT,M10.1.0,M4.1.0/3", "IST-2IDT,M3.4.4/26,M10.5.0", "XXX3YYY,J60/1,300/-1",
                         "<-02>2<-01>,M3.5.0/-1,M10.5.0/0"};
  // From 1970 on: before it the C library puts a rule's changes in 1970.
  for (const char* rule : rules)
    for (int64_t t : Moments(0)) {
      int32_t offset = 1;
      ASSERT_TRUE(TzRuleUtcOffset(rule, t, offset)) << rule;
      ASSERT_EQ(offset, LibraryOffset(rule, t)) << rule << " at " << t;
    }
  // Without dates, today's US rule (the C library asks a posixrules file).
  int32_t plain, dated;
  for (int64_t t : {1773557999, 1773558000, 1791000000, 1794207600}) {
    ASSERT_TRUE(TzRuleUtcOffset("EST5EDT", t, plain));
    ASSERT_TRUE(TzRuleUtcOffset("EST5EDT,M3.2.0,M11.1.0", t, dated));
    EXPECT_EQ(plain, dated) << t;
  }
  int32_t offset;
  for (const char* bad : {"", "CET", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0", "<CET-1", "CET-1CEST,M3.5.0,x", "CET-1CEST,M3.5.0,M10.5.0/"})
    EXPECT_FALSE(TzRuleUtcOffset(bad, 0, offset)) << bad;
}

TEST(TzifUtcOffset, AgreesWithTheCLibraryOnTheSystemsZones) {
  const char* zones[] = {"Europe/Berlin", "America/New_York", "Australia/Sydney", "Asia/Kolkata",
                         "America/Sao_Paulo", "Etc/UTC", "Pacific/Chatham"};
  int read = 0;
  for (const char* zone : zones) {
    std::ifstream file(std::string("/usr/share/zoneinfo/") + zone, std::ios::binary);
    if (!file) continue;
    std::stringstream data;
    data << file.rdbuf();
    ++read;
    for (int64_t t : Moments()) {
      int32_t offset = 1;
      ASSERT_TRUE(TzifUtcOffset(data.str(), t, offset)) << zone;
      ASSERT_EQ(offset, LibraryOffset(zone, t)) << zone << " at " << t;
    }
  }
  if (read == 0) GTEST_SKIP() << "no zone files here";
  int32_t offset;
  EXPECT_FALSE(TzifUtcOffset("TZif2", 0, offset));
  EXPECT_FALSE(TzifUtcOffset("not a zone file at all, long enough to hold a header", 0, offset));
}

}  // namespace
