#include "server/json/JsonContext.h"

#include "server/Md5.h"

std::string JsonContext::pictureUrl(Id picId) const {
    const Picture* picture = catalogue.picture(picId);
    if (!picture) return {};
    return origin + "/pic/" + std::to_string(picId) + (picture->format == PictureFormat::Png ? ".png" : ".jpg");
}

std::string JsonContext::songStreamUrl(Id songId, const std::string& level, const std::string& extension) const {
    return origin + "/media/audio/" + std::to_string(songId) + "-" + level + "." + extension;
}

std::string JsonContext::mvStreamUrl(Id mvId, std::int64_t unixSeconds) const {
    // The signature keys follow the file name after "&" rather than in a
    // query: the web player page carries this URL unencoded in its own query,
    // and the server's HTTP parser refuses a request with a second "?".
    const std::string time = std::to_string(unixSeconds);
    return origin + "/media/mv/" + std::to_string(mvId) + ".mp4&wsSecret=" + md5Hex(std::to_string(mvId) + ":" + time) +
           "&wsTime=" + time;
}

Json textArray(const std::vector<std::string>& texts) {
    Json array = Json::array();
    for (const std::string& text : texts) array.push_back(text);
    return array;
}

Json textOrNull(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }
