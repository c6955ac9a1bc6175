// Seeded random-input run of the text, header and cookie routines.
//   net_text_fuzz [--seconds N] [--seed S]
// Input i is generated from seed S + i, so a reported failure can be replayed.
#include "TextFuzzChecks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// Pieces that steer inputs towards the routines' interesting paths.
const char* const kTokens[] = {
    "Set-Cookie: ",
    "set-cookie: ",
    "Set-Cookie:",
    "; ",
    ";",
    "=",
    "=deleted",
    "deleted",
    "\r\n",
    "\n",
    "\r",
    ":",
    ": ",
    " ",
    "\u3000",
    "-",
    "a",
    "b",
    "x",
    "Connection",
    "中",
    "文",
    "😀",
    "#引号",
    "\"",
    "#pica#",
    "Path=/",
    "uid=1",
    "token=2",
    "HTTP/1.1 200 OK",
    "\xE4",
    "\xB8",
    "\xAD",
    "\xE3\x80",
    "\xF0\x9F",
    "\xC0\xAF",
    "\xED\xA0\x80",
    "\xFF",
    "\x80",
};

class InputMaker {
public:
    explicit InputMaker(std::uint64_t seed) : random_(seed) {}

    std::string text(std::size_t maxPieces) {
        std::string out;
        std::size_t pieces = pick(maxPieces);
        for (std::size_t i = 0; i < pieces; ++i) {
            if (pick(4) == 0)
                out += static_cast<char>(pick(256));  // any byte, zero included
            else
                out += kTokens[pick(std::size(kTokens))];
        }
        return out;
    }

    // A header block of thousands of lines.
    std::string hugeBlock() {
        std::string out = "HTTP/1.1 200 OK\r\n";
        for (std::size_t lines = 20000 + pick(20000); lines > 0; --lines) out += text(12) + "\r\n";
        return out;
    }

    std::size_t pick(std::size_t below) { return std::uniform_int_distribution<std::size_t>(0, below - 1)(random_); }

private:
    std::mt19937_64 random_;
};

void printBytes(const char* label, const std::string& bytes) {
    std::printf("  %s (%zu bytes):", label, bytes.size());
    for (std::size_t i = 0; i < bytes.size() && i < 400; ++i)
        std::printf(" %02X", static_cast<unsigned char>(bytes[i]));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    std::uint64_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = std::strtoull(argv[i + 1], nullptr, 10);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::uint64_t runs = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        std::uint64_t inputSeed = seed + runs;
        InputMaker maker(inputSeed);
        std::string text = maker.pick(2000) == 0 ? maker.hugeBlock() : maker.text(60);
        std::string first = maker.text(8);
        std::string second = maker.text(8);
        std::string failure = checkTextRoutines(text, first, second);
        ++runs;
        if (!failure.empty()) {
            std::printf("FAILED after %llu clean inputs, seed %llu: %s\n", static_cast<unsigned long long>(runs - 1),
                        static_cast<unsigned long long>(inputSeed), failure.c_str());
            printBytes("text", text);
            printBytes("first", first);
            printBytes("second", second);
            return 1;
        }
    }
    std::printf("%llu inputs ran clean (seed %llu, %.0f s)\n", static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(seed), seconds);
    return 0;
}
