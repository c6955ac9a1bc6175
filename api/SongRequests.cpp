// The song requests: details, names of a whole queue, stream URL, lyrics and
// the availability check.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"
#include "text/TextUtils.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace {

// Part of the UTF-8 text "音乐，请" (without the first byte of 音) followed by
// the lead byte E6: its presence means a pure-music answer, whose lyric object
// is followed by "code" instead of the "klyric" object.
constexpr std::string_view kPureMusicMarker = "\x9F\xB3\xE4\xB9\x90\xEF\xBC\x8C\xE8\xAF\xB7\xE6";

std::string cutRawLyric(std::string_view raw) {
    if (raw.find(kPureMusicMarker) != std::string_view::npos) return textBetween(raw, "lyric\":\"", "\"},\"code");
    return textBetween(raw, "lyric\":\"", "\"},\"klyric\":{\"version");
}

// The text of a JSON string's contents with its escapes undone; a text that
// is not such contents stays as it is.
std::string unescapeJsonText(const std::string& contents) {
    const nlohmann::json text = nlohmann::json::parse("\"" + contents + "\"", nullptr, false);
    return text.is_string() ? text.get<std::string>() : contents;
}

}  // namespace

SongDetail CloudApiClient::fetchSongDetail(const std::string& id) const {
    const JsonDocument answer = fetch({ServiceRoute::SongDetail, {{"ids", id}}});
    SongDetail detail;
    detail.name = answer.getText("songs[0].name");
    const std::string secondArtist = answer.getText("songs[0].ar[1].name");
    detail.artists = joinFirstTwoArtists(answer.getText("songs[0].ar[0].name"), secondArtist);
    detail.coverUrl = answer.getText("songs[0].al.picUrl");
    detail.mvId = answer.getText("songs[0].mv");
    detail.album = answer.getText("songs[0].al.name");
    return detail;
}

SongNameList CloudApiClient::fetchSongNames(const std::vector<std::string>& ids) const {
    std::string idList;
    for (const std::string& id : ids) idList += id + ",";
    if (!idList.empty()) idList.pop_back();

    const JsonDocument answer = fetch({ServiceRoute::SongDetail, {{"ids", idList}}});
    SongNameList list;
    for (SongItem& song :
         readMembers<SongItem>(answer, "songs", {{&SongItem::name, "name"}, {&SongItem::artists, "ar[0].name"}})) {
        list.names.push_back(std::move(song.name));
        list.firstArtists.push_back(std::move(song.artists));
    }
    return list;
}

std::string CloudApiClient::fetchSongUrl(const std::string& id) const { return fetchSongStream(id).url; }

// A trial clip is no song: playing 30 seconds as if whole would mislead.
SongStream CloudApiClient::fetchSongStream(const std::string& id) const {
    const JsonDocument answer = fetch({ServiceRoute::SongUrl, {{"id", id}}, {}, false, RequestHeaders::BrowserAgent});
    SongStream stream;
    stream.url = answer.getText("data[0].url");
    if (stream.url.empty() || answer.exists("data[0].freeTrialInfo")) stream.url = "null";
    // A missing or unreadable number reads as no adjustment.
    const auto number = [&](std::string_view path) {
        const std::string text = answer.getText(path);
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && std::isfinite(value) ? value : 0.0;
    };
    stream.gainDb = number("data[0].gain");
    stream.peak = number("data[0].peak");
    return stream;
}

std::string CloudApiClient::fetchRawLyric(const std::string& id) const {
    const std::string body =
        send({ServiceRoute::Lyric, {{"id", id}}, {}, false, RequestHeaders::EngineDefaults, AnswerEngine::Lyric}).body;
    return unescapeJsonText(cutRawLyric(std::string_view(body).substr(0, body.find('\0'))));
}

JsonDocument CloudApiClient::fetchLyric(const std::string& id) const {
    return fetch({ServiceRoute::Lyric, {{"id", id}}});
}

SongLyrics CloudApiClient::fetchSongLyrics(const std::string& id) const {
    const JsonDocument answer = fetch({ServiceRoute::WordLyric, {{"id", id}}});
    return {answer.getText("lrc.lyric"), answer.getText("tlyric.lyric"), answer.getText("yrc.lyric")};
}

bool CloudApiClient::checkSong(const std::string& id, const std::string& serviceCookie) const {
    const std::string body = send({ServiceRoute::CheckMusic, {{"id", id}}, serviceCookie, true}).body;
    return body.find("ok") != std::string::npos;
}
