#include <algorithm>
#include <cctype>

#include "server/HttpHelpers.h"
#include "server/media/CoverArt.h"
#include "server/media/FileResponse.h"
#include "server/media/ImageEncoders.h"
#include "server/media/QrImage.h"
#include "server/routes/Routes.h"

namespace {

constexpr int kMaxPictureSide = 2048;

// The size a "?param=WxH" (or "WyH") asks for; the picture's own size otherwise.
std::pair<int, int> pictureSize(const httplib::Request& request, const Picture& picture) {
    const std::string param = queryText(request, "param");
    const std::size_t separator = param.find_first_of("xy");
    if (separator == std::string::npos) return {picture.width, picture.height};
    auto side = [](const std::string& digits) -> std::optional<int> {
        const bool plain = !digits.empty() && digits.size() <= 5 &&
                           std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); });
        if (!plain) return std::nullopt;
        return std::clamp(static_cast<int>(*parseInteger(digits)), 1, kMaxPictureSide);
    };
    const std::optional<int> width = side(param.substr(0, separator));
    const std::optional<int> height = side(param.substr(separator + 1));
    if (!width || !height) return {picture.width, picture.height};
    return {*width, *height};
}

void answerPicture(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const Picture* picture = context.catalogue.picture(parseInteger(request.matches[1]).value_or(0));
    const bool png = request.matches[2] == "png";
    if (!picture || png != (picture->format == PictureFormat::Png)) {
        response.status = 404;
        return;
    }
    const auto [width, height] = pictureSize(request, *picture);
    const std::string key = std::to_string(picture->id) + '/' + std::to_string(width) + 'x' + std::to_string(height) +
                            (png ? ".png" : ".jpg");
    const std::string bytes = context.pictures.obtain(key, [&, width = width, height = height] {
        const Canvas canvas =
            drawCoverArt({picture->title, picture->subtitle, picture->hue, static_cast<unsigned>(picture->id % 100000)},
                         width, height);
        return png ? encodePng(canvas) : encodeJpeg(canvas);
    });
    response.set_header("Cache-Control", "max-age=86400");
    response.set_content(bytes, png ? "image/png" : "image/jpeg");
}

void answerSongAudio(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const Song* song = context.catalogue.song(parseInteger(request.matches[1]).value_or(0));
    const bool flac = request.matches[3] == "flac";
    std::optional<MediaFile> file;
    if (song && song->hasStream) file = context.media.audio(song->clip, flac ? AudioFormat::Flac : AudioFormat::Mp3);
    if (!file) {
        response.status = 404;
        return;
    }
    sendFile(request, response, *file, flac ? "audio/flac" : "audio/mpeg");
}

void answerMvVideo(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    std::optional<MediaFile> video;
    if (context.catalogue.mv(parseInteger(request.matches[1]).value_or(0))) video = context.media.mvVideo();
    if (!video) {
        response.status = 404;
        return;
    }
    sendFile(request, response, *video, "video/mp4");
}

void answerQrPicture(const httplib::Request& request, httplib::Response& response) {
    const int size = static_cast<int>(std::clamp(integerParam(request, "size").value_or(256), 64LL, 1024LL));
    // The client appends the text unencoded as the last key, so it is taken
    // whole from the raw query: an "&" inside it belongs to the text.
    const std::optional<std::string> png = renderQrPng(rawQueryTail(request, "text"), size);
    if (!png) {
        response.status = 400;
        return;
    }
    response.set_content(*png, "image/png");
}

void answerPlayerPage(const httplib::Request& request, httplib::Response& response) {
    // The stream URL is the last key and may hold "&"; the client escapes
    // only "&wsTime", so it is taken whole from the raw query.
    const std::string url = rawQueryTail(request, "url");
    if (!url.starts_with("http://") && !url.starts_with("https://")) {
        replyHtml(response, 400, "Mivra音乐 MV播放器", "<p>这不是一个视频地址。</p>");
        return;
    }
    replyHtml(response, 200, "Mivra音乐 MV播放器",
              "<video id=\"mv\" controls autoplay playsinline src=\"" + escapeHtml(url) +
                  "\"></video><p>Mivra Music · MV</p>");
}

}  // namespace

void addMediaRoutes(httplib::Server& server, const ServerContext& context) {
    server.Get(R"(/pic/(\d{1,19})\.(jpg|png))",
               [&context](const httplib::Request& request, httplib::Response& response) {
                   answerPicture(context, request, response);
               });
    server.Get(R"(/media/audio/(\d{1,19})-([a-z]+)\.(mp3|flac))",
               [&context](const httplib::Request& request, httplib::Response& response) {
                   answerSongAudio(context, request, response);
               });
    server.Get(R"(/media/mv/(\d{1,19})\.mp4(&[^/]*)?)",
               [&context](const httplib::Request& request, httplib::Response& response) {
                   answerMvVideo(context, request, response);
               });
    addQrPictureRoute(server);
    addPlayerPageRoute(server);
}

void addQrPictureRoute(httplib::Server& server) { server.Get("/lokpay/qrcode.php", answerQrPicture); }

void addPlayerPageRoute(httplib::Server& server) { server.Get("/player/", answerPlayerPage); }
