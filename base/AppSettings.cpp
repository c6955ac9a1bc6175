#include "base/AppSettings.h"

#include "text/TextCodec.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace {

std::string_view trimSpaces(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) return false;
    }
    return true;
}

// One line of the file as GBK bytes, without its line ending.
struct Line {
    std::string text;

    std::optional<std::string_view> sectionName() const {
        std::string_view t = trimSpaces(text);
        if (t.empty() || t.front() != '[') return std::nullopt;
        size_t close = t.find(']');
        return close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
    }
    bool isEntry() const {
        std::string_view t = trimSpaces(text);
        return !t.empty() && t.front() != ';' && t.front() != '[' && t.find('=') != std::string_view::npos;
    }
    std::string_view key() const { return trimSpaces(std::string_view(text).substr(0, text.find('='))); }
    std::string_view value() const { return trimSpaces(std::string_view(text).substr(text.find('=') + 1)); }
};

std::optional<std::vector<Line>> loadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<Line> lines;
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back({std::move(text)});
    }
    return lines;
}

// Where a key lives: the index of its section line and of its entry, if any.
struct KeyLocation {
    std::optional<size_t> section;
    std::optional<size_t> entry;
    size_t sectionEnd = 0;  // index after the section's last non-blank line
};

KeyLocation locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    KeyLocation where;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = lines[i].sectionName()) {
            if (inSection) break;  // the section ended; a later duplicate section is ignored
            inSection = equalsIgnoringCase(*name, section);
            if (inSection) {
                where.section = i;
                where.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (!trimSpaces(lines[i].text).empty()) where.sectionEnd = i + 1;
        if (!where.entry && lines[i].isEntry() && equalsIgnoringCase(lines[i].key(), key)) where.entry = i;
    }
    return where;
}

// Cuts GBK text to at most `limit` bytes without splitting a two-byte character.
std::string_view capGbk(std::string_view gbk, size_t limit) {
    if (gbk.size() <= limit) return gbk;
    size_t i = 0;
    while (i < limit) {
        size_t len = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (i + len > limit) break;
        i += len;
    }
    return gbk.substr(0, i);
}

// The scratch file of a write: the file's name, a dot and six characters
// that mkstemp chooses.
constexpr std::string_view kScratchSuffix = ".XXXXXX";

// Writes `content` to a private temporary file beside `path`, then renames it
// over `path`, so readers see either the old file or the new one whole.
bool replaceFile(const std::string& path, const std::string& content) {
    std::string temp = path + std::string(kScratchSuffix);
    int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    fchmod(fd, S_IRUSR | S_IWUSR);
    size_t written = 0;
    while (written < content.size()) {
        ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    bool ok = written == content.size() && fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0) return true;
    std::remove(temp.c_str());
    return false;
}

}  // namespace

std::string AppSettings::read(const std::string& section, const std::string& key, const std::string& fallback) const {
    if (path_.empty() || section.empty() || key.empty()) return {};
    auto lines = loadLines(path_);
    if (!lines) return fallback;
    KeyLocation where = locate(*lines, TextCodec::utf8ToGbk(section), TextCodec::utf8ToGbk(key));
    if (!where.entry) return fallback;
    return TextCodec::gbkToUtf8(capGbk((*lines)[*where.entry].value(), kMaxValueBytes));
}

bool AppSettings::write(const std::string& section, const std::string& key, const std::string& value) const {
    if (path_.empty() || section.empty() || key.empty()) return false;
    std::vector<Line> lines = loadLines(path_).value_or(std::vector<Line>{});
    std::string gbkSection = TextCodec::utf8ToGbk(section);
    std::string gbkKey = TextCodec::utf8ToGbk(key);
    Line entry{gbkKey + "=" + TextCodec::utf8ToGbk(value)};

    KeyLocation where = locate(lines, gbkSection, gbkKey);
    if (where.entry) {
        lines[*where.entry] = std::move(entry);
    } else if (where.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.sectionEnd), std::move(entry));
    } else {
        lines.push_back({"[" + gbkSection + "]"});
        lines.push_back(std::move(entry));
    }

    std::string content;
    for (const Line& line : lines) content += line.text + "\n";
    return replaceFile(path_, content);
}

void AppSettings::writeDefaults() const {
    write("Music", "Mode", "Circulate");
    write("Music", "Volume", "20");
    write("Setting", "Typeface", "微软雅黑");
    write("Setting", "Style", "加粗");
    write("Setting", "Quality", "极高");
    write("Setting", "Gradual", "无");
    // The lyric colours (ARGB #E91E63 and #5C6BC0) stand out from a dark
    // desktop and a light one alike.
    write("Setting", "Color1", "-1499549");
    write("Setting", "Color2", "-10720320");
}

void AppSettings::removeAbandonedScratchFiles() const {
    namespace fs = std::filesystem;
    const fs::path file(path_);
    const std::string name = file.filename().string();
    const auto cutoff = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(file.parent_path(), error)) {
        const std::string candidate = entry.path().filename().string();
        if (candidate.size() != name.size() + kScratchSuffix.size() || !candidate.starts_with(name + ".")) continue;
        if (entry.is_regular_file(error) && entry.last_write_time(error) < cutoff) fs::remove(entry.path(), error);
    }
}
