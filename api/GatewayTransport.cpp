#include "api/GatewayTransport.h"

#include "text/TextUtils.h"

namespace {

enum class Host { Service, Maker, Account };

struct GatewayPath {
    Host host;
    const char* path;  // below the service base, or below the origin with its "/"
};

GatewayPath gatewayPath(ServiceRoute route) {
    switch (route) {
        case ServiceRoute::SongDetail: return {Host::Service, "song/detail"};
        case ServiceRoute::SongUrl: return {Host::Maker, "/api/?type=apiSongUrlV1"};
        case ServiceRoute::Lyric: return {Host::Service, "lyric"};
        case ServiceRoute::CheckMusic: return {Host::Service, "check/music"};
        case ServiceRoute::Search: return {Host::Service, "search"};
        case ServiceRoute::TopPlaylist: return {Host::Service, "top/playlist"};
        case ServiceRoute::Personalized: return {Host::Service, "personalized"};
        case ServiceRoute::HighQualityPlaylists: return {Host::Service, "top/playlist/highquality"};
        case ServiceRoute::Toplist: return {Host::Service, "toplist"};
        case ServiceRoute::PlaylistDetail: return {Host::Service, "playlist/detail"};
        case ServiceRoute::PlaylistTracks: return {Host::Service, "playlist/track/all"};
        case ServiceRoute::ArtistDetail: return {Host::Service, "artist/detail"};
        case ServiceRoute::ArtistAlbums: return {Host::Service, "artist/album"};
        case ServiceRoute::ArtistMvs: return {Host::Service, "artist/mv"};
        case ServiceRoute::ArtistTopSongs: return {Host::Service, "artist/top/song"};
        case ServiceRoute::Album: return {Host::Service, "album"};
        case ServiceRoute::QrKey: return {Host::Account, "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0"};
        case ServiceRoute::QrCreate: return {Host::Account, "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=1"};
        case ServiceRoute::QrCheck: return {Host::Account, "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2"};
        case ServiceRoute::UserAccount: return {Host::Service, "user/account"};
        case ServiceRoute::UserPlaylists: return {Host::Service, "user/playlist"};
        case ServiceRoute::PlaylistSubscribe: return {Host::Service, "playlist/subscribe"};
        case ServiceRoute::Banner: return {Host::Service, "banner"};
        case ServiceRoute::PersonalizedMvs: return {Host::Service, "personalized/mv"};
        case ServiceRoute::TopArtists: return {Host::Service, "top/artists"};
        case ServiceRoute::NewestAlbums: return {Host::Service, "album/newest"};
        case ServiceRoute::FirstMvs: return {Host::Service, "mv/first"};
        case ServiceRoute::AllMvs: return {Host::Service, "mv/all"};
        case ServiceRoute::MvUrl: return {Host::Service, "mv/url"};
        case ServiceRoute::DailySongs: return {Host::Service, "recommend/songs"};
        case ServiceRoute::PersonalFm: return {Host::Service, "personal_fm"};
        case ServiceRoute::FmTrash: return {Host::Service, "fm_trash"};
        case ServiceRoute::LikeSong: return {Host::Service, "like"};
        case ServiceRoute::LikedSongIds: return {Host::Service, "likelist"};
        case ServiceRoute::PlayRecord: return {Host::Service, "user/record"};
        case ServiceRoute::WordLyric: return {Host::Service, "lyric/new"};
    }
    return {Host::Service, ""};
}

std::string encodeValue(const QueryValue& value) {
    return urlEncode(value.value, /*keepUnreserved=*/value.encoding == ValueEncoding::Standard, /*asUtf8=*/true);
}

}  // namespace

std::string GatewayTransport::urlOf(const ServiceCall& call) const {
    const GatewayPath target = gatewayPath(call.route);
    std::string url;
    switch (target.host) {
        case Host::Service: url = hosts_.serviceBase; break;
        case Host::Maker: url = hosts_.makerOrigin; break;
        case Host::Account: url = hosts_.accountOrigin; break;
    }
    url += target.path;
    char separator = url.find('?') == std::string::npos ? '?' : '&';
    const auto append = [&](const std::string& name, const std::string& encoded) {
        url.append(1, separator).append(name).append("=").append(encoded);
        separator = '&';
    };
    for (const QueryValue& value : call.query) append(value.name, encodeValue(value));
    if (call.sendsCookie) append("cookie", encodeValue({"cookie", call.cookie}));
    return url;
}

ServiceAnswer GatewayTransport::send(const ServiceCall& call) const {
    const std::string url = urlOf(call);
    if (call.engine == AnswerEngine::Lyric) {
        const HttpResponse response = HttpClient::fetchLyric(makeGetRequest(url));
        return {response.bodyBytes.empty() ? std::string() : "200 OK", response.bodyBytes};
    }
    const HttpResponse response = fetchResponse(url, call.headers);
    return {response.status, call.headers == RequestHeaders::EngineDefaults ? response.bodyText : response.bodyBytes};
}

std::string GatewayTransport::qrPicture(const std::string& loginUrl) const {
    return HttpClient::fetchPicture(
               makeGetRequest(hosts_.qrOrigin + "/lokpay/qrcode.php?size=256&text=" + encodeValue({"text", loginUrl})))
        .bodyBytes;
}
