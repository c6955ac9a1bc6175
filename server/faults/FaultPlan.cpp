#include "server/faults/FaultPlan.h"

#include <array>
#include <charconv>

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 8> kModeNames = {{
    {FaultMode::Reset, "reset"},
    {FaultMode::Stall, "stall"},
    {FaultMode::Drip, "drip"},
    {FaultMode::Garbage, "garbage"},
    {FaultMode::Http500, "http500"},
    {FaultMode::CutJson, "cutjson"},
    {FaultMode::Huge, "huge"},
    {FaultMode::Slow, "slow"},
}};

// SplitMix64: one well-mixed number per input, so each request's draws
// depend only on the seed and the request's number.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

}  // namespace

std::string_view faultModeName(FaultMode mode) {
    for (const auto& [candidate, name] : kModeNames)
        if (candidate == mode) return name;
    return "";
}

std::optional<FaultRule> parseFaultRule(std::string_view text) {
    FaultRule rule;
    if (const std::size_t at = text.find('@'); at != std::string_view::npos) {
        rule.pathPrefix = std::string(text.substr(at + 1));
        text = text.substr(0, at);
        if (!rule.pathPrefix.starts_with('/')) return std::nullopt;
    }
    std::string_view name = text;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        name = text.substr(0, colon);
        const std::string_view ms = text.substr(colon + 1);
        const auto [end, error] = std::from_chars(ms.data(), ms.data() + ms.size(), rule.slowMaxMs);
        if (name != "slow" || error != std::errc() || end != ms.data() + ms.size() || rule.slowMaxMs < 1)
            return std::nullopt;
    }
    for (const auto& [mode, modeName] : kModeNames) {
        if (modeName == name) {
            rule.mode = mode;
            return rule;
        }
    }
    return std::nullopt;
}

FaultPlan::FaultPlan(std::vector<FaultRule> rules, double chaosRate, std::uint64_t seed)
    : rules_(std::move(rules)), chaosRate_(chaosRate), seed_(seed) {}

// Independent streams of numbers for the chance of a fault, the pick of its
// mode and the fault's own draws.
enum Salt : std::uint64_t { kChance, kPick, kDraw };

std::uint64_t FaultPlan::noise(std::uint64_t number, std::uint64_t salt) const {
    return mix(mix(seed_) ^ (number * 4 + salt));
}

std::uint64_t FaultPlan::draw(std::uint64_t number, std::uint64_t bound) const {
    return bound == 0 ? 0 : noise(number, kDraw) % bound;
}

std::optional<FaultRule> FaultPlan::faultFor(std::string_view target, std::uint64_t number) const {
    const std::string_view path = target.substr(0, target.find('?'));
    for (const FaultRule& rule : rules_)
        if (path.starts_with(rule.pathPrefix)) return rule;
    if (chaosRate_ <= 0) return std::nullopt;
    const double chance = double(noise(number, kChance) >> 11) / double(1ULL << 53);
    if (chance >= chaosRate_) return std::nullopt;
    FaultRule picked;
    picked.mode = kModeNames[noise(number, kPick) % kModeNames.size()].first;
    return picked;
}
