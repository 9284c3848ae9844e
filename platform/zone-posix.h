// The local time zone's offset from UTC, read the way the C library reads
// it, but without it: the C library's reader pulls sscanf and the strtod
// family into the static program and costs every call pages it never
// uses. Pure functions; used by the POSIX layer alone.
#pragma once

#include <cstdint>
#include <string_view>

// The offset east of UTC, in seconds, that TZif data (RFC 8536, as in
// /usr/share/zoneinfo) gives for the moment utc (seconds since 1970):
// the last transition at or before it, the footer's rule after the last
// one, local time type 0 before the first. False when data is no TZif.
bool TzifUtcOffset(std::string_view data, int64_t utc, int32_t& offset);

// The same for a POSIX TZ rule: "UTC0", "CET-1CEST,M3.5.0,M10.5.0/3",
// "<+0330>-3:30", "EST5EDT" (daylight saving time from the second Sunday
// in March to the first in November when no dates are given). False when
// rule does not read.
bool TzRuleUtcOffset(std::string_view rule, int64_t utc, int32_t& offset);
