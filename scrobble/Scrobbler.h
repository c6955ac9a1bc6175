#pragma once
// Tells the scrobbling services what the user listens to: "playing now" when
// a song starts, and a listen once the song has played long enough (see
// ListenRule). Listens wait in the disk queue until their service takes
// them, and go out oldest first, a batch at a time, one batch per service
// in flight; a failed send is tried again later, so listens made offline
// are sent when the service can be reached again, and the queue outlives
// the program. The settings are read at each song, so a change applies to
// the next one.
//
// Threads: every public call, signal and field is the UI thread's; sends
// run on tasks of `tasks_` with copies of what they send and hand their
// outcome back to the UI thread.
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"
#include "scrobble/ListenRule.h"
#include "scrobble/ScrobbleQueue.h"
#include "scrobble/ScrobbleServices.h"
#include "scrobble/ScrobbleSettings.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

class Scrobbler : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstRetryMs = 30 * 1000;
    static constexpr int kLongestRetryMs = 30 * 60 * 1000;
    static constexpr size_t kListenBrainzBatch = 100;
    static constexpr size_t kLastFmBatch = 50;

    Scrobbler(AppSettings settings, std::string queuePath, ScrobbleOrigins origins, QObject* parent = nullptr);
    ~Scrobbler() override;

    // A song started playing (its length in whole seconds, 0 when unknown).
    void songStarted(const Listen& listen, int lengthSeconds);
    // One more second of the song played.
    void secondPlayed();
    // The song stopped without being listened to long enough (cleared, failed).
    void songStopped();

    // Sends what waits, for every service turned on and accepting the account.
    void flush();
    // The account settings changed: a service that refused them is tried again.
    void accountChanged();

    const ScrobbleQueue& queue() const { return queue_; }
    QTimer& retryTimer() { return retryTimer_; }
    // Sends under way (0 when idle).
    int sendsInFlight() const;

signals:
    // A service refused the account (token, key, secret or session): its
    // listens wait until the settings change.
    void accountRefused(ScrobbleService service);
    // A batch of listens was taken by a service (`count` of them).
    void listensSent(ScrobbleService service, int count);

private:
    static constexpr std::array<ScrobbleService, 2> kServices = {ScrobbleService::ListenBrainz,
                                                                 ScrobbleService::LastFm};
    static size_t slot(ScrobbleService service) { return service == ScrobbleService::LastFm ? 1 : 0; }

    void send(ScrobbleService service, const ScrobbleSettings& settings);
    void onSent(ScrobbleService service, const std::vector<std::uint64_t>& ids, SendOutcome outcome);
    void scheduleRetry();

    const AppSettings settings_;
    const ScrobbleOrigins origins_;
    ScrobbleQueue queue_;
    std::optional<Listen> playing_;  // the song playing, until it counted or stopped
    ListenRule rule_;
    std::array<bool, 2> sending_{};  // a batch of that service is in flight
    std::array<bool, 2> refused_{};  // that service refused the account
    int retryMs_ = kFirstRetryMs;
    QTimer retryTimer_;
    TaskOwner tasks_;  // last: its tasks end before the fields above go
};
