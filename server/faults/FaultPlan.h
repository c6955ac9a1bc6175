#pragma once
// Which requests the companion answers badly on purpose, and how: a list of
// rules ("this fault for paths starting with this") and a share of requests
// that get a fault picked at random, reproducibly from a seed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FaultMode {
    Reset,    // the connection is reset once the request is read
    Stall,    // the request is read and never answered
    Drip,     // a small answer, one byte a second
    Garbage,  // a 200 answer whose body is random bytes
    Http500,  // an HTML error page with status 500
    CutJson,  // the real answer, broken off in the middle of its body
    Huge,     // a 200 answer with a 64 MB body
    Slow,     // the real answer after a random delay
};

struct FaultRule {
    FaultMode mode = FaultMode::Reset;
    std::string pathPrefix;  // empty: every path
    int slowMaxMs = 2000;    // Slow: the longest delay
};

// "MODE", "MODE@PATH-PREFIX", and for slow "slow:MS" or "slow:MS@PREFIX";
// nothing when the text names no mode.
std::optional<FaultRule> parseFaultRule(std::string_view text);
std::string_view faultModeName(FaultMode mode);

class FaultPlan {
public:
    FaultPlan() = default;
    // `chaosRate` from 0 to 1: that share of the requests no rule names get
    // a random fault; `seed` makes the picks the same on every run.
    FaultPlan(std::vector<FaultRule> rules, double chaosRate, std::uint64_t seed);

    bool active() const { return !rules_.empty() || chaosRate_ > 0; }
    // The fault the request for `target` gets, `number` counting the
    // requests from 0: the first rule whose prefix starts the path, else
    // maybe one picked by chance.
    std::optional<FaultRule> faultFor(std::string_view target, std::uint64_t number) const;
    // A number from 0 to `bound` - 1 drawn for the request `number`, for
    // whatever the fault itself needs at random.
    std::uint64_t draw(std::uint64_t number, std::uint64_t bound) const;

private:
    std::uint64_t noise(std::uint64_t number, std::uint64_t salt) const;

    std::vector<FaultRule> rules_;
    double chaosRate_ = 0;
    std::uint64_t seed_ = 1;
};
