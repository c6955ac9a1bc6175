#include "player/LyricTimeline.h"

#include "text/TextUtils.h"

#include <algorithm>

namespace {

constexpr std::string_view kEscapedLineBreak = "\\n";
constexpr int kTranslatedItemHeight = 75;
constexpr int kPlainItemHeight = 50;

// Line breaks go, escaped ("\n" as two characters) or real.
std::string withoutLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == kEscapedLineBreak) {
            ++i;
            continue;
        }
        if (text[i] == '\n') continue;
        out += text[i];
    }
    return out;
}

// The texts after each tag: for "[a]x[b]y" that is "x" and "y"; a line with
// two tags gives an empty text for its first tag.
std::vector<std::string> lineTexts(std::string_view text) {
    std::string terminated(text);
    terminated += '[';
    return bracketedPieces(terminated, "]", "[", false);
}

std::vector<LyricItem> mergeTranslation(const std::vector<std::string>& lineTags, const std::vector<std::string>& lines,
                                        std::vector<std::string> translationTags,
                                        std::vector<std::string> translationLines) {
    // Lines without a translated counterpart are paired with padding.
    if (lines.size() > translationLines.size()) {
        size_t missing = lines.size() - translationLines.size();
        translationLines.insert(translationLines.end(), missing, "\n");
        translationTags.insert(translationTags.end(), missing, "[000:000:000]");
    }
    // A translation that opens with a credit line (no time in its tag) loses it.
    if (!translationTags.empty() && translationTags.front().find("00:") == std::string::npos) {
        translationTags.erase(translationTags.begin());
        translationLines.erase(translationLines.begin());
    }

    std::vector<LyricItem> items;
    size_t t = 0;  // next translation to pair
    for (size_t i = 0; i < lines.size(); ++i) {
        bool paired = i < lineTags.size() && t < translationTags.size() && lineTags[i] == translationTags[t] &&
                      !translationLines.empty();
        if (paired) {
            t = std::min(t, translationLines.size() - 1);
            items.push_back({lines[i] + "\r\n" + translationLines[t], kTranslatedItemHeight});
            ++t;
        } else {
            items.push_back({lines[i], kTranslatedItemHeight});
        }
    }
    return items;
}

}  // namespace

std::vector<std::string> bracketedPieces(std::string_view text, std::string_view left, std::string_view right,
                                         bool withMarkers) {
    std::vector<std::string> pieces;
    size_t from = 0;
    while (true) {
        size_t open = text.find(left, from);
        if (open == std::string_view::npos) break;
        size_t close = text.find(right, open + left.size());
        if (close == std::string_view::npos) break;
        pieces.emplace_back(withMarkers ? text.substr(open, close + right.size() - open)
                                        : text.substr(open + left.size(), close - open - left.size()));
        from = open + left.size();
    }
    return pieces;
}

LyricTimeline::LyricTimeline(std::string rawLyric, std::string_view lyric, std::string translation)
    : rawLyric_(std::move(rawLyric)), translation_(std::move(translation)) {
    std::vector<std::string> lineTags = bracketedPieces(lyric, "[", "]", true);
    for (const std::string& tag : lineTags) timeKeys_.push_back(tag.substr(1, 5));

    std::vector<std::string> lines = lineTexts(withoutLineBreaks(rawLyric_));
    if (hasTranslation()) {
        items_ =
            mergeTranslation(lineTags, lines, bracketedPieces(translation_, "[", "]", true), lineTexts(translation_));
    } else {
        for (std::string& line : lines) items_.push_back({std::move(line), kPlainItemHeight});
    }
}

int LyricTimeline::listHeight() const {
    int itemHeight = hasTranslation() ? kTranslatedItemHeight : kPlainItemHeight;
    return static_cast<int>(items_.size() + 1) * itemHeight + 50;
}

std::string LyricTimeline::timeKey(int seconds) {
    auto twoDigits = [](int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); };
    return twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60);
}

std::string LyricTimeline::lineAt(std::string_view text, std::string_view key) {
    std::string result;
    for (const std::string& piece : splitText(text, "[")) {
        if (piece.find(key) == std::string::npos) continue;
        std::string line = textAfterLast(textAfterLast(piece, key), "]");
        // Drop the line break that ends the line: escaped in the raw lyric,
        // real in the parsed translation. A last line without one keeps all
        // of its characters.
        if (line.ends_with(kEscapedLineBreak))
            line.resize(line.size() - 2);
        else if (line.ends_with('\n'))
            line.pop_back();
        result = std::move(line);
    }
    return result;
}

LyricTick LyricTimeline::tick(int seconds) const {
    LyricTick tick;
    if (rawLyric_.empty()) {
        tick.desktopText = kNoLyric;
        return tick;
    }
    std::string key = timeKey(seconds);
    std::string line = lineAt(rawLyric_, key);
    if (!line.empty()) {
        tick.desktopText = hasTranslation() ? line + "\r\n" + lineAt(translation_, key) : line;
        auto found = std::find(timeKeys_.begin(), timeKeys_.end(), key);
        if (found != timeKeys_.end()) tick.selectedItem = static_cast<int>(found - timeKeys_.begin());
    }
    if (rawLyric_.find('[') == std::string::npos) tick.desktopText = kNotScrollable;
    return tick;
}
