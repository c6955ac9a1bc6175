#pragma once
// The MPRIS player interface over the player: every call goes through the
// player's intents and every property reads the player's state, so the
// play bar and the desktop's media controls always agree. The play modes
// show as LoopStatus and Shuffle: Circulate is "Track", List is "Playlist",
// Random is Shuffle (looping the list). In personal FM the next song may be
// asked for but not the previous one. The metadata carries the song's whole
// lyrics as "xesam:asText" and the line sung now as "mivra:lyricLine", and is
// announced again at every new line, so desktop lyric applets can follow.
// UI thread only.
#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QUrl>
#include <QVariantMap>

class Player;

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ canControl)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ hasSong)
    Q_PROPERTY(bool CanPause READ hasSong)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    // The track id while no song is shown.
    static constexpr char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

    MprisPlayerAdaptor(QObject* parent, Player& player);

    QString playbackStatus() const;
    QString loopStatus() const;
    // "None" names no mode, so it is not taken.
    void setLoopStatus(const QString& status);
    double rate() const { return 1.0; }
    void setRate(double) {}  // songs play at their own speed only
    bool shuffle() const;
    void setShuffle(bool on);
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canControl() const { return true; }
    bool canGoPrevious() const;
    bool hasSong() const;
    bool canSeek() const;

    // The song's track id: a D-Bus object path made from its id.
    QDBusObjectPath trackId() const;
    // The cover file of the song shown (empty for none).
    void setCoverUrl(const QUrl& url) { coverUrl_ = url; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString&) {}  // no address schemes are offered

signals:
    void Seeked(qlonglong position);

private:
    qlonglong lengthMicroseconds() const;
    void seekTo(qlonglong microseconds);

    Player& player_;
    QUrl coverUrl_;
};
