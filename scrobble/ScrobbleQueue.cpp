#include "scrobble/ScrobbleQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

std::string serviceKey(ScrobbleService service) {
    return service == ScrobbleService::LastFm ? "lastfm" : "listenbrainz";
}

}  // namespace

const char* scrobbleServiceName(ScrobbleService service) {
    return service == ScrobbleService::LastFm ? "Last.fm" : "ListenBrainz";
}

ScrobbleQueue::ScrobbleQueue(std::string path) : path_(std::move(path)) {
    QFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::ReadOnly)) return;
    const json stored = json::parse(file.readAll().toStdString(), nullptr, false);
    file.close();
    if (!stored.is_object() || !stored.contains("entries") || !stored["entries"].is_array()) {
        // Never silently replaced: the listens in it may be recovered by hand.
        QFile::remove(QString::fromStdString(path_ + ".broken"));
        QFile::rename(QString::fromStdString(path_), QString::fromStdString(path_ + ".broken"));
        return;
    }
    for (const json& item : stored["entries"]) {
        if (!item.is_object()) continue;
        Entry entry;
        entry.id = item.value("id", std::uint64_t{0});
        entry.service = item.value("service", "") == "lastfm" ? ScrobbleService::LastFm : ScrobbleService::ListenBrainz;
        entry.listen.artist = item.value("artist", "");
        entry.listen.title = item.value("title", "");
        entry.listen.album = item.value("album", "");
        entry.listen.durationMs = item.value("durationMs", std::int64_t{0});
        entry.listen.listenedAt = item.value("listenedAt", std::int64_t{0});
        if (entry.id == 0 || entry.listen.title.empty()) continue;
        nextId_ = std::max(nextId_, entry.id + 1);
        entries_.push_back(std::move(entry));
    }
}

bool ScrobbleQueue::push(ScrobbleService service, const Listen& listen) {
    entries_.push_back({nextId_++, service, listen});
    return save();
}

std::vector<ScrobbleQueue::Entry> ScrobbleQueue::front(ScrobbleService service, size_t count) const {
    std::vector<Entry> out;
    for (const Entry& entry : entries_) {
        if (out.size() == count) break;
        if (entry.service == service) out.push_back(entry);
    }
    return out;
}

bool ScrobbleQueue::remove(const std::vector<std::uint64_t>& ids) {
    std::erase_if(entries_, [&](const Entry& e) { return std::find(ids.begin(), ids.end(), e.id) != ids.end(); });
    return save();
}

bool ScrobbleQueue::clear(ScrobbleService service) {
    std::erase_if(entries_, [&](const Entry& e) { return e.service == service; });
    return save();
}

size_t ScrobbleQueue::size(ScrobbleService service) const {
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.service == service; }));
}

bool ScrobbleQueue::save() const {
    json entries = json::array();
    for (const Entry& entry : entries_) {
        entries.push_back({{"id", entry.id},
                           {"service", serviceKey(entry.service)},
                           {"artist", entry.listen.artist},
                           {"title", entry.listen.title},
                           {"album", entry.listen.album},
                           {"durationMs", entry.listen.durationMs},
                           {"listenedAt", entry.listen.listenedAt}});
    }
    const std::string text = json{{"entries", entries}}.dump(1, ' ', false, json::error_handler_t::replace);
    const QString path = QString::fromStdString(path_);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) return false;
    return file.commit();
}
