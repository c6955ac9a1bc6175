#include "player/WordLyrics.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace {

// Reads "<int>,<int>" followed by `close` at `at`; moves `at` past `close`.
bool readPair(std::string_view text, std::size_t& at, char close, int& first, int& second) {
    const char* const end = text.data() + text.size();
    auto [afterFirst, error1] = std::from_chars(text.data() + at, end, first);
    if (error1 != std::errc() || afterFirst == end || *afterFirst != ',') return false;
    auto [afterSecond, error2] = std::from_chars(afterFirst + 1, end, second);
    if (error2 != std::errc()) return false;
    // A word's third number (of unknown meaning) is skipped.
    const char* closing = std::find(afterSecond, end, close);
    if (closing == end) return false;
    at = static_cast<std::size_t>(closing - text.data()) + 1;
    return first >= 0 && second >= 0;
}

std::optional<SungLine> timedLine(std::string_view text) {
    SungLine line;
    std::size_t at = 1;
    if (!readPair(text, at, ']', line.startMs, line.lengthMs)) return std::nullopt;
    while (at < text.size() && text[at] == '(') {
        SungWord word;
        ++at;
        if (!readPair(text, at, ')', word.startMs, word.lengthMs)) break;
        const std::size_t next = std::min(text.find('(', at), text.size());
        word.text = std::string(text.substr(at, next - at));
        at = next;
        line.words.push_back(std::move(word));
    }
    return line;
}

std::optional<SungLine> creditLine(std::string_view text) {
    const nlohmann::json credit = nlohmann::json::parse(text, nullptr, false);
    if (!credit.is_object() || !credit.contains("t") || !credit["t"].is_number_integer() || !credit.contains("c") ||
        !credit["c"].is_array())
        return std::nullopt;
    SungWord word{credit["t"].get<int>(), 0, {}};
    for (const nlohmann::json& part : credit["c"])
        if (part.is_object() && part.contains("tx") && part["tx"].is_string())
            word.text += part["tx"].get<std::string>();
    return SungLine{word.startMs, 0, {word}};
}

int byteCount(const SungWord& word) { return std::max<int>(1, static_cast<int>(word.text.size())); }

}  // namespace

std::string SungLine::text() const {
    std::string joined;
    for (const SungWord& word : words) joined += word.text;
    return joined;
}

WordLyrics WordLyrics::parse(std::string_view text) {
    WordLyrics lyrics;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view row = text.substr(from, end - from);
        from = end + 1;
        if (row.ends_with('\r')) row.remove_suffix(1);
        std::optional<SungLine> line;
        if (row.starts_with('['))
            line = timedLine(row);
        else if (row.starts_with('{'))
            line = creditLine(row);
        if (line) lyrics.lines_.push_back(std::move(*line));
    }
    std::stable_sort(lyrics.lines_.begin(), lyrics.lines_.end(),
                     [](const SungLine& a, const SungLine& b) { return a.startMs < b.startMs; });
    return lyrics;
}

std::optional<int> WordLyrics::lineAt(int ms) const {
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), ms,
                                        [](int moment, const SungLine& line) { return moment < line.startMs; });
    if (after == lines_.begin()) return std::nullopt;
    return static_cast<int>(after - lines_.begin()) - 1;
}

double WordLyrics::fillAt(int line, int ms) const {
    if (line < 0 || line >= static_cast<int>(lines_.size())) return 0.0;
    const std::vector<SungWord>& words = lines_[static_cast<std::size_t>(line)].words;
    int total = 0;
    double sung = 0;
    for (const SungWord& word : words) {
        const int bytes = byteCount(word);
        total += bytes;
        if (ms >= word.startMs + word.lengthMs) {
            sung += bytes;
        } else if (ms > word.startMs) {
            sung += bytes * static_cast<double>(ms - word.startMs) / word.lengthMs;
        }
    }
    return total == 0 ? 0.0 : sung / total;
}

std::optional<int> WordLyrics::nextLineStartAfter(int ms) const {
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), ms,
                                        [](int moment, const SungLine& line) { return moment < line.startMs; });
    if (after == lines_.end()) return std::nullopt;
    return after->startMs;
}

bool WordLyrics::fillingAt(int ms) const {
    const std::optional<int> line = lineAt(ms);
    if (!line) return false;
    const std::vector<SungWord>& words = lines_[static_cast<std::size_t>(*line)].words;
    return !words.empty() && ms < words.back().startMs + words.back().lengthMs;
}

std::optional<double> WordLyrics::sungPartOf(std::string_view shown, int line, double fill) const {
    if (line < 0 || line >= static_cast<int>(lines_.size())) return std::nullopt;
    const std::string sung = lines_[static_cast<std::size_t>(line)].text();
    const std::string_view firstLine = shown.substr(0, shown.find_first_of("\r\n"));
    if (sung.empty() || firstLine != sung) return std::nullopt;
    return fill;
}
