#include "local/LrcLyrics.h"

#include "text/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr qint64 kMaxLrcBytes = 1024 * 1024;

// "[mm:ss]", "[mm:ss.xx]" or "[mm:ss:xx]": the tag's hundredths, or -1.
long long tagTime(std::string_view tag) {
    if (tag.size() < 7 || tag.front() != '[' || tag.back() != ']') return -1;
    const std::string_view inner = tag.substr(1, tag.size() - 2);
    const size_t colon = inner.find(':');
    if (colon == 0 || colon == std::string_view::npos) return -1;
    long long minutes = 0, seconds = 0, hundredths = 0;
    for (char c : inner.substr(0, colon)) {
        if (c < '0' || c > '9') return -1;
        minutes = minutes * 10 + (c - '0');
    }
    const std::string_view rest = inner.substr(colon + 1);
    size_t i = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) seconds = seconds * 10 + (rest[i] - '0');
    if (i != 2 || seconds > 59) return -1;
    if (i < rest.size()) {
        if (rest[i] != '.' && rest[i] != ':') return -1;
        int digits = 0;
        for (++i; i < rest.size(); ++i, ++digits) {
            if (rest[i] < '0' || rest[i] > '9') return -1;
            if (digits < 2) hundredths = hundredths * 10 + (rest[i] - '0');
        }
        if (digits == 1) hundredths *= 10;
    }
    return (minutes * 60 + seconds) * 100 + hundredths;
}

std::string utf8Of(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) return std::string(text);
    return TextCodec::gbkToUtf8(text);
}

}  // namespace

LrcLyrics parseLrc(std::string_view raw) {
    const std::string text = utf8Of(raw);
    // Per time: the line first given, and a second one as its translation.
    std::map<long long, std::pair<std::string, std::optional<std::string>>> lines;
    std::map<long long, std::string> tags;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::vector<std::pair<long long, std::string_view>> times;
        while (line.starts_with('[')) {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) break;
            const std::string_view tag = line.substr(0, close + 1);
            const long long time = tagTime(tag);
            if (time < 0) break;
            times.emplace_back(time, tag);
            line.remove_prefix(close + 1);
        }
        for (const auto& [time, tag] : times) {
            auto [entry, added] = lines.try_emplace(time, std::string(line), std::nullopt);
            if (added)
                tags.emplace(time, tag);
            else if (!entry->second.second)
                entry->second.second = std::string(line);
        }
    }
    LrcLyrics lyrics;
    const bool translated = std::any_of(lines.begin(), lines.end(), [](const auto& l) { return l.second.second; });
    for (const auto& [time, texts] : lines) {
        const std::string& tag = tags[time];
        lyrics.lyric += tag + texts.first + "\n";
        if (translated) lyrics.translation += tag + texts.second.value_or("") + "\n";
    }
    return lyrics;
}

std::string lrcPathBeside(const std::string& songPath) {
    const QFileInfo song(QString::fromStdString(songPath));
    return song.dir().filePath(song.completeBaseName() + ".lrc").toStdString();
}

LrcLyrics lyricsBeside(const std::string& songPath) {
    QFile file(QString::fromStdString(lrcPathBeside(songPath)));
    if (file.size() > kMaxLrcBytes || !file.open(QIODevice::ReadOnly)) return {};
    return parseLrc(file.readAll().toStdString());
}
