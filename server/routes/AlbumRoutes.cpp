#include "server/HttpHelpers.h"
#include "server/json/AlbumJson.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

void addAlbumRoutes(RouteBook& server, const ServerContext& context) {
    // One album with its songs in track order. As the service does, the
    // songs sit beside the album record, whose own "songs" stays empty.
    server.Get("/album", [&context](const httplib::Request& request, httplib::Response& response) {
        const auto id = integerParam(request, "id");
        const Album* album = id ? context.catalogue.album(*id) : nullptr;
        if (!album) return replyJson(response, {{"code", 404}, {"message", "专辑不存在"}});
        const JsonContext json = context.jsonFor(request);
        Json songs = Json::array();
        for (Id songId : album->songIds) songs.push_back(songJson(json, *context.catalogue.song(songId)));
        replyJson(response,
                  {{"resourceState", true}, {"songs", songs}, {"code", 200}, {"album", albumJson(json, *album)}});
    });
}
