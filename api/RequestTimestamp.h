#pragma once
// The request timestamp the service requests carry: seconds counted from the
// local date-time 1970-01-01 08:00:00 (the Unix time on a UTC+8 clock, off by
// the zone difference elsewhere) followed by the three millisecond digits.
#include <cstdint>
#include <functional>
#include <string>

// The local wall-clock time in milliseconds counted from the local date-time
// 1970-01-01 00:00:00; injectable so tests can fix the moment.
using LocalClock = std::function<std::int64_t()>;

// Reads the system clock and the machine's time zone.
std::int64_t systemLocalMilliseconds();

enum class TimestampForm {
    Milliseconds,  // 13 digits, query key "timestamp" of the service requests
    Seconds,       // 10 digits, the service-cookie request
};

std::string makeRequestTimestamp(std::int64_t localMilliseconds, TimestampForm form);
