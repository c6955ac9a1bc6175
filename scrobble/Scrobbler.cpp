#include "scrobble/Scrobbler.h"

#include <algorithm>

Scrobbler::Scrobbler(AppSettings settings, std::string queuePath, ScrobbleOrigins origins, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), origins_(std::move(origins)), queue_(std::move(queuePath)) {
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &Scrobbler::flush);
}

Scrobbler::~Scrobbler() { tasks_.requestStopAll(); }

void Scrobbler::songStarted(const Listen& listen, int lengthSeconds) {
    playing_ = listen;
    rule_ = ListenRule(lengthSeconds);
    const ScrobbleSettings settings = ScrobbleSettings::read(settings_);
    // "Playing now" is of the moment: never queued, never sent again.
    if (settings.sendsTo(ScrobbleService::ListenBrainz) && !refused_[0])
        tasks_.start([origin = origins_.listenBrainz, token = settings.listenBrainzToken, listen] {
            ListenBrainz::playingNow(origin, token, listen);
        });
    if (settings.sendsTo(ScrobbleService::LastFm) && !refused_[1])
        tasks_.start([origin = origins_.lastFm, account = settings.lastFmAccount, listen] {
            LastFm::nowPlaying(origin, account, listen);
        });
}

void Scrobbler::secondPlayed() {
    if (!playing_ || !rule_.playedSecond()) return;
    const ScrobbleSettings settings = ScrobbleSettings::read(settings_);
    for (ScrobbleService service : kServices)
        if (settings.sendsTo(service)) queue_.push(service, *playing_);
    playing_.reset();
    flush();
}

void Scrobbler::songStopped() { playing_.reset(); }

void Scrobbler::accountChanged() {
    refused_ = {};
    flush();
}

void Scrobbler::flush() {
    const ScrobbleSettings settings = ScrobbleSettings::read(settings_);
    for (ScrobbleService service : kServices) {
        if (!sending_[slot(service)] && !refused_[slot(service)] && settings.sendsTo(service) &&
            queue_.size(service) > 0)
            send(service, settings);
    }
}

void Scrobbler::send(ScrobbleService service, const ScrobbleSettings& settings) {
    const bool lastFm = service == ScrobbleService::LastFm;
    std::vector<std::uint64_t> ids;
    std::vector<Listen> listens;
    for (const ScrobbleQueue::Entry& entry : queue_.front(service, lastFm ? kLastFmBatch : kListenBrainzBatch)) {
        ids.push_back(entry.id);
        listens.push_back(entry.listen);
    }
    sending_[slot(service)] = true;
    tasks_.start([this, service, ids, listens, settings, origins = origins_] {
        const SendOutcome outcome =
            service == ScrobbleService::LastFm
                ? LastFm::scrobble(origins.lastFm, settings.lastFmAccount, listens)
                : ListenBrainz::submit(origins.listenBrainz, settings.listenBrainzToken, listens);
        runOnUiThread(this, [this, service, ids, outcome] { onSent(service, ids, outcome); });
    });
}

void Scrobbler::onSent(ScrobbleService service, const std::vector<std::uint64_t>& ids, SendOutcome outcome) {
    sending_[slot(service)] = false;
    switch (outcome) {
        case SendOutcome::Sent:
            queue_.remove(ids);
            retryMs_ = kFirstRetryMs;
            emit listensSent(service, static_cast<int>(ids.size()));
            flush();  // the next batch, if any
            return;
        case SendOutcome::Rejected:
            // Listens the service will never take would hold up every later one.
            queue_.remove(ids);
            flush();
            return;
        case SendOutcome::AuthFailed:
            refused_[slot(service)] = true;
            emit accountRefused(service);
            return;
        case SendOutcome::Retry: scheduleRetry(); return;
    }
}

// Tries again later, waiting twice as long after each failure in a row.
void Scrobbler::scheduleRetry() {
    if (retryTimer_.isActive()) return;
    retryTimer_.start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, kLongestRetryMs);
}

int Scrobbler::sendsInFlight() const { return static_cast<int>(std::count(sending_.begin(), sending_.end(), true)); }
