// Helper of scripts/settings-kill-check.sh.
//   settings_kill_writer init FILE    writes the keys of a first start
//   settings_kill_writer write FILE   rewrites those keys in a loop until it
//                                     is killed
//   settings_kill_writer check FILE   exits 0 when the file is whole: every
//                                     key of a first start is there, with a
//                                     value the writer can have written
#include "base/AppSettings.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Key {
    const char* section;
    const char* name;
};

constexpr Key kKeys[] = {
    {"Music", "Mode"},      {"Music", "Volume"},    {"Setting", "Typeface"}, {"Setting", "Style"},
    {"Setting", "Quality"}, {"Setting", "Gradual"}, {"Setting", "Color1"},   {"Setting", "Color2"},
};

// A value as long as a real one can get, so a torn write would show.
std::string valueFor(unsigned round) { return std::to_string(round) + std::string(round % 200, '#') + "端"; }

bool wellFormed(const std::string& value) {
    if (value.empty()) return false;
    if (value == "Circulate" || value == "20" || value == "微软雅黑" || value == "加粗" || value == "极高" ||
        value == "无" || value == "-1499549" || value == "-10720320")
        return true;
    const std::size_t digits = value.find('#') != std::string::npos ? value.find('#') : value.find("端");
    if (digits == 0 || digits == std::string::npos) return false;
    const unsigned round = unsigned(std::stoul(value.substr(0, digits)));
    return value == valueFor(round);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: settings_kill_writer init|write|check FILE\n");
        return 2;
    }
    const AppSettings settings(argv[2]);
    if (std::strcmp(argv[1], "init") == 0) {
        settings.writeDefaults();
        return 0;
    }
    if (std::strcmp(argv[1], "write") == 0) {
        for (unsigned round = 1;; ++round) {
            const Key& key = kKeys[round % std::size(kKeys)];
            settings.write(key.section, key.name, valueFor(round));
        }
    }
    for (const Key& key : kKeys) {
        const std::string value = settings.read(key.section, key.name);
        if (!wellFormed(value)) {
            std::fprintf(stderr, "[%s] %s = \"%s\" is damaged\n", key.section, key.name, value.c_str());
            return 1;
        }
    }
    return 0;
}
