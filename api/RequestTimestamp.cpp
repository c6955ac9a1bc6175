#include "api/RequestTimestamp.h"

#include <chrono>
#include <ctime>

namespace {
constexpr std::int64_t kEpochOffsetSeconds = 8 * 3600;  // local 1970-01-01 08:00:00
}

std::int64_t systemLocalMilliseconds() {
    const auto now = std::chrono::system_clock::now();
    const std::int64_t utcMs = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    return utcMs + static_cast<std::int64_t>(local.tm_gmtoff) * 1000;
}

std::string makeRequestTimestamp(std::int64_t localMilliseconds, TimestampForm form) {
    // Floor division keeps the millisecond part in 0..999 for any clock.
    std::int64_t wholeSeconds = localMilliseconds / 1000;
    std::int64_t millis = localMilliseconds % 1000;
    if (millis < 0) {
        millis += 1000;
        --wholeSeconds;
    }
    std::string text = std::to_string(wholeSeconds - kEpochOffsetSeconds);
    const std::string millisText = std::to_string(millis);
    text += std::string(3 - millisText.size(), '0') + millisText;

    if (form == TimestampForm::Milliseconds) {
        if (text.size() < 13) text.append(13 - text.size(), '0');
    } else {
        if (text.size() > 10) text.resize(10);
        if (text.size() < 10) text.append(10 - text.size(), '0');
    }
    return text;
}
