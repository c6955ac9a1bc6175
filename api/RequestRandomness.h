#pragma once
// Where the random parts of the service's own requests come from (the weapi
// secret key, the per-request cookie ids, the request id, the device id) and
// the clock they are stamped with: the one place tests fix them.
#include <cstdint>
#include <functional>
#include <string>

struct RequestRandomness {
    // `count` unpredictable bytes.
    std::function<std::string(std::size_t count)> bytes;
    // Milliseconds since the Unix epoch.
    std::function<std::int64_t()> unixMilliseconds;

    // OpenSSL's generator and the system clock.
    static RequestRandomness system();

    // `count` lower-case hexadecimal digits.
    std::string lowerHex(std::size_t count) const;
    // A new device id: 52 upper-case hexadecimal digits.
    std::string deviceId() const;
};
