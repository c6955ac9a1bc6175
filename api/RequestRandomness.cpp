#include "api/RequestRandomness.h"

#include <openssl/rand.h>

#include <chrono>
#include <random>

namespace {

std::string digitsFrom(const std::string& bytes, const char* digits) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) text += digits[static_cast<unsigned char>(c) % 16];
    return text;
}

}  // namespace

RequestRandomness RequestRandomness::system() {
    return {[](std::size_t count) {
                std::string bytes(count, '\0');
                if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1) {
                    // Without the generator the values only need to differ.
                    std::random_device device;
                    for (char& c : bytes) c = static_cast<char>(device());
                }
                return bytes;
            },
            [] {
                return std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                    .count();
            }};
}

std::string RequestRandomness::lowerHex(std::size_t count) const {
    return digitsFrom(bytes(count), "0123456789abcdef");
}

std::string RequestRandomness::deviceId() const { return digitsFrom(bytes(52), "0123456789ABCDEF"); }
