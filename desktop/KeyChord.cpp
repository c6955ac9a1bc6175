#include "desktop/KeyChord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <utility>

namespace {

// X's modifier bits.
constexpr std::uint16_t kShift = 1, kControl = 4, kMod1 = 8, kMod4 = 64;

// Keys by their Qt name and their X keysym (X11/keysymdef.h, XF86keysym.h).
constexpr std::array<std::pair<const char*, std::uint32_t>, 26> kNamedKeys = {{
    {"Space", 0x20},
    {"Left", 0xff51},
    {"Up", 0xff52},
    {"Right", 0xff53},
    {"Down", 0xff54},
    {"Home", 0xff50},
    {"End", 0xff57},
    {"PgUp", 0xff55},
    {"PgDown", 0xff56},
    {"Ins", 0xff63},
    {"Del", 0xffff},
    {"Esc", 0xff1b},
    {"Return", 0xff0d},
    {"Enter", 0xff8d},
    {"Tab", 0xff09},
    {"Backspace", 0xff08},
    {"Pause", 0xff13},
    {"Media Play", 0x1008ff14},
    {"Media Pause", 0x1008ff31},
    {"Media Stop", 0x1008ff15},
    {"Media Next", 0x1008ff17},
    {"Media Previous", 0x1008ff16},
    {"Volume Up", 0x1008ff13},
    {"Volume Down", 0x1008ff11},
    {"Volume Mute", 0x1008ff12},
    {"Toggle Media Play/Pause", 0x1008ff14},
}};

std::optional<std::uint32_t> keysymOf(const QString& name) {
    if (name.size() == 1) {
        const QChar c = name.at(0).toLower();
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) return c.unicode();  // Latin-1 keysyms are the characters
        return std::nullopt;
    }
    if (name.size() >= 2 && name.size() <= 3 && name.at(0) == 'F') {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 35) return 0xffbe + static_cast<std::uint32_t>(n - 1);
    }
    for (const auto& [known, keysym] : kNamedKeys)
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0) return keysym;
    return std::nullopt;
}

}  // namespace

std::optional<KeyChord> KeyChord::parse(const std::string& text) {
    QString rest = QString::fromStdString(text).trimmed();
    if (rest.isEmpty()) return std::nullopt;
    KeyChord chord;
    // "Ctrl++" names the plus key: the last part is the key, whatever it holds.
    const std::array<std::pair<const char*, std::uint16_t>, 4> modifiers = {
        {{"Ctrl+", kControl}, {"Alt+", kMod1}, {"Shift+", kShift}, {"Meta+", kMod4}}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, bit] : modifiers) {
            if (rest.size() > int(std::char_traits<char>::length(prefix)) &&
                rest.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
                chord.modifiers |= bit;
                rest = rest.mid(int(std::char_traits<char>::length(prefix)));
                found = true;
            }
        }
    }
    const std::optional<std::uint32_t> keysym = keysymOf(rest);
    if (!keysym) return std::nullopt;
    chord.keysym = *keysym;
    return chord;
}
