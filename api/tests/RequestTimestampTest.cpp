// The request timestamp in both forms, from a fixed clock and from the system
// clock in two time zones.
#include "api/RequestTimestamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace {

constexpr std::int64_t kUtc8 = 8 * 3600 * 1000LL;

struct TimestampCase {
    const char* name;
    std::int64_t localMs;
    const char* milliseconds;
    const char* seconds;
};

TEST(RequestTimestamp, BothFormsFromAFixedLocalClock) {
    const TimestampCase cases[] = {
        {"2020-01-01 08:00:00.007 in UTC+8", 1577836800007LL + kUtc8, "1577836800007", "1577836800"},
        {"five milliseconds are written 005", 1577836800005LL + kUtc8, "1577836800005", "1577836800"},
        {"a whole second keeps its three zeros", 1577836801000LL + kUtc8, "1577836801000", "1577836801"},
        {"a short text is filled with zeros on the right", 1000LL + kUtc8, "1000000000000", "1000000000"},
    };
    for (const TimestampCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(makeRequestTimestamp(c.localMs, TimestampForm::Milliseconds), c.milliseconds);
        EXPECT_EQ(makeRequestTimestamp(c.localMs, TimestampForm::Seconds), c.seconds);
    }
}

// Sets TZ for the life of the object and restores it afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

std::int64_t unixMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

TEST(RequestTimestamp, SystemClockGivesUnixTimeInUtc8AndShiftsElsewhere) {
    struct ZoneCase {
        const char* zone;
        std::int64_t offsetFromUnixMs;
    };
    for (const ZoneCase& zone : {ZoneCase{"CST-8", 0}, ZoneCase{"UTC0", -kUtc8}, ZoneCase{"JST-9", 3600 * 1000LL}}) {
        SCOPED_TRACE(zone.zone);
        ScopedTimeZone scoped(zone.zone);
        const std::int64_t before = unixMs();
        const std::int64_t stamp =
            std::stoll(makeRequestTimestamp(systemLocalMilliseconds(), TimestampForm::Milliseconds));
        const std::int64_t after = unixMs();
        EXPECT_GE(stamp, before + zone.offsetFromUnixMs);
        EXPECT_LE(stamp, after + zone.offsetFromUnixMs);
    }
}

}  // namespace
