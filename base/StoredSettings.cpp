#include "base/StoredSettings.h"

#include "base/AppSettings.h"

#include <array>
#include <charconv>

namespace {

// The index of `text` among `names`, if it is one of them exactly.
template <size_t N>
std::optional<int> indexOf(const std::string& text, const std::array<const char*, N>& names) {
    for (size_t i = 0; i < N; ++i)
        if (text == names[i]) return static_cast<int>(i);
    return std::nullopt;
}

// Decimal text as a 32-bit integer (wrapping like a 32-bit store); 0 for
// anything that is not a whole decimal number.
std::int32_t toInt32(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

constexpr std::array<const char*, 3> kFillModes = {"无", "两色渐变", "三色渐变"};
constexpr std::array<const char*, 6> kStyles = {"普通", "加粗", "倾斜", "斜粗", "下划线", "下划线加粗"};

}  // namespace

StoredSettings readStoredSettings(const AppSettings& settings) {
    StoredSettings stored;
    stored.fillMode = indexOf(settings.read("Setting", "Gradual"), kFillModes);
    stored.styleCode = indexOf(settings.read("Setting", "Style"), kStyles);
    std::string volume = settings.read("Music", "Volume");
    if (!volume.empty()) stored.volume = toInt32(volume);
    stored.muted = volume == "0";
    stored.playMode = settings.read("Music", "Mode");
    stored.typeface = settings.read("Setting", "Typeface");
    stored.quality = settings.read("Setting", "Quality");
    stored.color1 = toInt32(settings.read("Setting", "Color1"));
    stored.color2 = toInt32(settings.read("Setting", "Color2"));
    return stored;
}
