#include <sstream>

#include "server/HttpHelpers.h"
#include "server/catalogue/DemoLyrics.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

// The ids of "1,2,3"; pieces that are not numbers are skipped.
std::vector<Id> idList(const std::string& text) {
    std::vector<Id> ids;
    std::istringstream in(text);
    std::string piece;
    while (std::getline(in, piece, ',')) {
        try {
            std::size_t used = 0;
            const Id id = std::stoll(piece, &used);
            if (used == piece.size()) ids.push_back(id);
        } catch (const std::exception&) {
        }
    }
    return ids;
}

// The lyric answer keeps the service's member order (lrc, klyric, tlyric),
// which clients that cut the raw text rely on.
Json lyricAnswer(const Catalogue& catalogue, const Song* song) {
    Json answer = {{"sgc", false}, {"sfy", false}, {"qfy", false}};
    const LyricKind kind = song ? song->lyric : LyricKind::Missing;
    if (kind == LyricKind::Missing) {
        answer["nolyric"] = true;
    } else if (kind == LyricKind::PureMusic) {
        answer["needDesc"] = true;
        answer["lrc"] = {{"version", 1}, {"lyric", kPureMusicLyric}};
    } else {
        const LyricTexts texts = lyricTextsOf(catalogue, *song);
        answer["lrc"] = {{"version", 7}, {"lyric", texts.lyric}};
        answer["klyric"] = {{"version", 0}, {"lyric", ""}};
        answer["tlyric"] = {{"version", texts.translation.empty() ? 0 : 3}, {"lyric", texts.translation}};
        answer["romalrc"] = {{"version", 0}, {"lyric", ""}};
    }
    answer["code"] = 200;
    return answer;
}

// The newer lyric answer: the same members and, for timed lyrics, the
// word-timed lines ("yrc").
Json wordLyricAnswer(const Catalogue& catalogue, const Song* song) {
    Json answer = lyricAnswer(catalogue, song);
    if (song && (song->lyric == LyricKind::Timed || song->lyric == LyricKind::TimedSharedTags)) {
        answer.erase("code");
        answer["yrc"] = {{"version", 2}, {"lyric", lyricTextsOf(catalogue, *song).wordLyric}};
        answer["code"] = 200;
    }
    return answer;
}

}  // namespace

void addSongRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/song/detail", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json songs = Json::array(), privileges = Json::array();
        for (Id id : idList(queryText(request, "ids"))) {
            if (const Song* song = context.catalogue.song(id)) {
                songs.push_back(songJson(json, *song));
                privileges.push_back(privilegeJson(*song));
            }
        }
        replyJson(response, {{"songs", songs}, {"privileges", privileges}, {"code", 200}});
    });

    server.Get("/lyric", [&context](const httplib::Request& request, httplib::Response& response) {
        const auto id = integerParam(request, "id");
        replyJson(response, lyricAnswer(context.catalogue, id ? context.catalogue.song(*id) : nullptr));
    });

    server.Get("/lyric/new", [&context](const httplib::Request& request, httplib::Response& response) {
        const auto id = integerParam(request, "id");
        replyJson(response, wordLyricAnswer(context.catalogue, id ? context.catalogue.song(*id) : nullptr));
    });

    server.Get("/check/music", [&context](const httplib::Request& request, httplib::Response& response) {
        const auto id = integerParam(request, "id");
        const Song* song = id ? context.catalogue.song(*id) : nullptr;
        if (song && song->licensed) {
            replyJson(response, {{"success", true}, {"message", "ok"}});
        } else {
            replyJson(response, {{"success", false}, {"message", "亲爱的,暂无版权"}});
        }
    });
}
