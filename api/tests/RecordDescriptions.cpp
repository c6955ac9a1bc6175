#include "RecordDescriptions.h"

namespace {

template <typename Item, typename Describe>
std::string joinLines(const std::vector<Item>& items, Describe describeOne) {
    std::string text;
    for (const Item& item : items) text += (text.empty() ? "" : "\n") + describeOne(item);
    return text;
}

const char* stateName(QrLoginState state) {
    switch (state) {
        case QrLoginState::Expired: return "expired";
        case QrLoginState::WaitingScan: return "waiting scan";
        case QrLoginState::WaitingConfirm: return "waiting confirm";
        case QrLoginState::LoggedIn: return "logged in";
        case QrLoginState::NoAnswer: return "no answer";
    }
    return "?";
}

}  // namespace

std::string describe(const SongDetail& d) {
    return d.name + "|" + d.artists + "|" + d.coverUrl + "|" + d.mvId + "|" + d.album;
}

std::string describe(const SongNameList& list) {
    std::string text;
    for (size_t i = 0; i < list.names.size(); ++i)
        text += (i ? "\n" : "") + list.names[i] + "|" + list.firstArtists.at(i);
    return text;
}

std::string describe(const std::vector<SongItem>& songs) {
    return joinLines(songs, [](const SongItem& s) {
        const bool more = !s.album.empty() || !s.coverUrl.empty() || !s.durationMs.empty();
        return s.id + "|" + s.name + "|" + s.artists +
               (more ? "|" + s.album + "|" + s.coverUrl + "|" + s.durationMs : "");
    });
}

std::string describe(const std::vector<CoverItem>& items) {
    return joinLines(items, [](const CoverItem& c) {
        return c.pictureUrl + "|" + c.name + "|" + c.id + (c.subtitle.empty() ? "" : "|" + c.subtitle);
    });
}

std::string describe(const std::vector<PackedItem>& items) {
    return joinLines(items, [](const PackedItem& p) { return p.text() + " picture=" + p.picture() + " id=" + p.id(); });
}

std::string describe(const PlaylistDetail& d) {
    return d.name + "|" + d.creatorNickname + "|" + d.coverUrl + "|" + d.description +
           (d.subscribed || !d.creatorId.empty() ? "|" + d.creatorId + (d.subscribed ? "|subscribed" : "") : "");
}

std::string describe(const ArtistDetail& d) {
    return d.name + "|" + d.pictureUrl + "|" + d.identity + "|" + d.description;
}

std::string describe(const AlbumDetail& a) {
    return a.name + "|" + a.coverUrl + "|" + a.artistName + "|" + a.artistId + "|" + a.publishTime + "|" + a.company +
           "|" + a.description + "\n" + describe(a.songs);
}

std::string describe(const AccountProfile& p) { return p.userId + "|" + p.nickname + "|" + p.avatarUrl; }

std::string describe(const QrPollResult& r) { return std::string(stateName(r.state)) + "|" + r.cookie; }
