#include "maintenance/UpdateLog.h"

#include "data/JsonDocument.h"

#include <QList>
#include <QString>
#include <algorithm>

namespace {

constexpr std::int64_t kLineHeight = 14;
constexpr std::int64_t kTextWidth = 350;
constexpr std::int64_t kItemExtra = 80;
constexpr std::int64_t kMaxItemHeight = 16777215;

// Every "\" "n" pair becomes CR LF.
std::string withLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The line's width in pixels: `otherWidth` per character outside the
// common CJK ideographs, 14 per character inside.
std::int64_t lineWidth(std::string_view line, std::int64_t otherWidth) {
    std::int64_t width = 0;
    for (const uint c : QString::fromUtf8(line.data(), qsizetype(line.size())).toUcs4())
        width += (c >= 0x4E00 && c <= 0x9FA5) ? 14 : otherWidth;
    return width;
}

}  // namespace

std::vector<UpdateLogEntry> parseUpdateLog(std::string_view text) {
    JsonDocument document;
    std::vector<UpdateLogEntry> entries;
    if (!document.parse(text)) return entries;
    const int count = document.count("data");
    for (int i = 0; i < count; ++i) {
        const std::string member = "data[" + std::to_string(i) + "]";
        entries.push_back({document.getText(member + ".title"), withLineBreaks(document.getText(member + ".content"))});
    }
    return entries;
}

std::vector<std::string_view> splitLogLines(std::string_view content) {
    std::vector<std::string_view> lines;
    if (content.empty()) return lines;
    size_t start = 0;
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n') continue;
        lines.push_back(content.substr(start, i - start));
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(content.substr(start));
    return lines;
}

std::int64_t estimateLogTextHeight(std::string_view content) {
    const std::vector<std::string_view> lines = splitLogLines(content);
    if (lines.size() <= 1) return lineWidth(content, 7) / kTextWidth * kLineHeight;
    std::int64_t height = std::int64_t(lines.size()) * kLineHeight;
    for (const std::string_view line : lines) height += lineWidth(line, 6) / kTextWidth * kLineHeight;
    return height;
}

int updateLogItemHeight(std::string_view content) {
    return int(std::clamp<std::int64_t>(estimateLogTextHeight(content) + kItemExtra, 0, kMaxItemHeight));
}
