#include "desktop/KeyChord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <utility>

namespace {

// X's modifier bits.
constexpr std::uint16_t kShift = 1, kControl = 4, kMod1 = 8, kMod4 = 64;
constexpr std::uint32_t kF1 = 0xffbe;

// Keys by their Qt name, their X keysym (X11/keysymdef.h, XF86keysym.h)
// and their XKB keysym name, which the desktop portal's triggers use.
struct NamedKey {
    const char* qtName;
    std::uint32_t keysym;
    const char* xkbName;
};
constexpr std::array<NamedKey, 26> kNamedKeys = {{
    {"Space", 0x20, "space"},
    {"Left", 0xff51, "Left"},
    {"Up", 0xff52, "Up"},
    {"Right", 0xff53, "Right"},
    {"Down", 0xff54, "Down"},
    {"Home", 0xff50, "Home"},
    {"End", 0xff57, "End"},
    {"PgUp", 0xff55, "Prior"},
    {"PgDown", 0xff56, "Next"},
    {"Ins", 0xff63, "Insert"},
    {"Del", 0xffff, "Delete"},
    {"Esc", 0xff1b, "Escape"},
    {"Return", 0xff0d, "Return"},
    {"Enter", 0xff8d, "KP_Enter"},
    {"Tab", 0xff09, "Tab"},
    {"Backspace", 0xff08, "BackSpace"},
    {"Pause", 0xff13, "Pause"},
    {"Media Play", 0x1008ff14, "XF86AudioPlay"},
    {"Media Pause", 0x1008ff31, "XF86AudioPause"},
    {"Media Stop", 0x1008ff15, "XF86AudioStop"},
    {"Media Next", 0x1008ff17, "XF86AudioNext"},
    {"Media Previous", 0x1008ff16, "XF86AudioPrev"},
    {"Volume Up", 0x1008ff13, "XF86AudioRaiseVolume"},
    {"Volume Down", 0x1008ff11, "XF86AudioLowerVolume"},
    {"Volume Mute", 0x1008ff12, "XF86AudioMute"},
    {"Toggle Media Play/Pause", 0x1008ff14, "XF86AudioPlay"},
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
        if (ok && n >= 1 && n <= 35) return kF1 + static_cast<std::uint32_t>(n - 1);
    }
    for (const NamedKey& key : kNamedKeys)
        if (name.compare(QLatin1String(key.qtName), Qt::CaseInsensitive) == 0) return key.keysym;
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

std::optional<std::string> KeyChord::xdgTrigger() const {
    std::string key;
    if ((keysym >= 'a' && keysym <= 'z') || (keysym >= '0' && keysym <= '9'))
        key = std::string(1, static_cast<char>(keysym));  // these keysyms are named by their character
    else if (keysym >= kF1 && keysym < kF1 + 35)
        key = "F" + std::to_string(keysym - kF1 + 1);
    for (const NamedKey& named : kNamedKeys)
        if (key.empty() && named.keysym == keysym) key = named.xkbName;
    if (key.empty()) return std::nullopt;
    std::string trigger;
    const std::array<std::pair<std::uint16_t, const char*>, 4> names = {
        {{kShift, "SHIFT+"}, {kControl, "CTRL+"}, {kMod1, "ALT+"}, {kMod4, "LOGO+"}}};
    for (const auto& [bit, name] : names)
        if (modifiers & bit) trigger += name;
    return trigger + key;
}
