// The media controls as another process sees them: an MPRIS client on its
// own connection to a private session bus drives the player (against the
// companion server) and reads what the service reports back.
#include "desktop/MprisNames.h"
#include "desktop/MprisService.h"
#include "desktop/SingleInstance.h"
#include "player/Player.h"

#include "base/AppSettings.h"
#include "maintenance/MaintenanceRequests.h"

#include "DemoCompanion.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <future>

namespace {

using namespace DemoSongs;

constexpr int kTimeoutMs = 20000;
constexpr qlonglong kSecond = 1000000;
const QString kPlayer = kMprisPlayerInterface;
const QString kRoot = kMprisRootInterface;

// What the client hears from the service: property changes and seeks.
class Listener : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    // The newest announced value of `property`.
    QVariant last(const QString& property) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->contains(property)) return it->value(property);
        return {};
    }

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kMprisPlayerInterface) changes.append(changed);
    }
    void seeked(qlonglong position) { seeks.append(position); }
};

class MprisServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    MprisServiceTest() : api(ServiceHosts::allAt(DemoCompanion::origin())) {
        engine.init(0);
        player = std::make_unique<Player>(
            api, engine, MaintenanceRequests(ServiceHosts::allAt(DemoCompanion::origin())).fetchServiceCookie(),
            AppSettings(folder.file("config.ini")));
        service = std::make_unique<MprisService>(
            *player, MprisService::Window{[this] { ++raised; }, [this] { ++quits; }}, coverFolder());
        client.connect(kMprisService, kMprisPath, "org.freedesktop.DBus.Properties", "PropertiesChanged", &listener,
                       SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        client.connect(kMprisService, kMprisPath, kPlayer, "Seeked", &listener, SLOT(seeked(qlonglong)));
    }
    ~MprisServiceTest() override { QDBusConnection::disconnectFromBus("mpris-client"); }

    // Calls and waits for the reply while the service's side pumps events.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kMprisService, kMprisPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(message);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, kTimeoutMs)) return {};
        return pending.reply();
    }
    QVariant get(const QString& interface, const QString& property) {
        const QDBusMessage reply = call("org.freedesktop.DBus.Properties", "Get", {interface, property});
        if (reply.type() != QDBusMessage::ReplyMessage) return {};
        return reply.arguments().at(0).value<QDBusVariant>().variant();
    }
    QVariant get(const QString& property) { return get(kPlayer, property); }
    QDBusMessage set(const QString& property, const QVariant& value) {
        return call("org.freedesktop.DBus.Properties", "Set",
                    {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    }
    // A cover folder with a space and Chinese in its path, which the cover's
    // address has to carry percent-encoded.
    QString coverFolder() const { return QString::fromStdString(folder.file("封面 covers")); }
    QVariantMap metadata() { return qdbus_cast<QVariantMap>(get("Metadata")); }
    // Signals from the service arrive after the reply that caused them.
    void settle() { QTest::qWait(100); }

    // Runs `action` and waits for `songId` to sound.
    void startedBy(const std::string& songId, const std::function<void()>& action) {
        QSignalSpy started(player.get(), &Player::songStarted);
        action();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !started.isEmpty() && started.last().at(0).value<std::string>() == songId; }, kTimeoutMs));
        player->playTimer().stop();
        player->lyricTimer().stop();
        player->endCheckTimer().stop();
    }

    TempDir folder;
    const CloudApiClient api;
    AudioEngine engine;
    std::unique_ptr<Player> player;
    int raised = 0, quits = 0;
    std::unique_ptr<MprisService> service;
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "mpris-client");
    Listener listener;
};

TEST_F(MprisServiceTest, TheRootNamesTheProgramAndRaisesOrQuitsIt) {
    ASSERT_TRUE(service->isRegistered());
    EXPECT_EQ(get(kRoot, "Identity").toString(), "Mivra Music");
    EXPECT_EQ(get(kRoot, "DesktopEntry").toString(), "org.mivra.Music");
    EXPECT_TRUE(get(kRoot, "SupportedUriSchemes").toStringList().isEmpty());
    EXPECT_TRUE(get(kRoot, "CanRaise").toBool());

    EXPECT_EQ(call(kRoot, "Raise").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(call(kRoot, "Quit").type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(QTest::qWaitFor([&] { return quits == 1; }, kTimeoutMs)) << "quits once the reply is out";
}

TEST_F(MprisServiceTest, BeforeAnySongNothingPlaysAndPlayDoesNothing) {
    EXPECT_EQ(get("PlaybackStatus").toString(), "Stopped");
    EXPECT_EQ(metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    EXPECT_FALSE(get("CanPlay").toBool());
    call(kPlayer, "Play");
    call(kPlayer, "PlayPause");
    EXPECT_FALSE(player->isPlaying()) << "no stream to start";
    EXPECT_EQ(get("Position").toLongLong(), 0);
}

TEST_F(MprisServiceTest, PlayPauseAndStopGoThroughThePlayer) {
    startedBy(kSummerLetter, [&] { player->play(kSummerLetter); });
    EXPECT_EQ(get("PlaybackStatus").toString(), "Playing");

    call(kPlayer, "Pause");
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(get("PlaybackStatus").toString(), "Paused");
    settle();
    EXPECT_EQ(listener.last("PlaybackStatus").toString(), "Paused");

    call(kPlayer, "Play");
    EXPECT_TRUE(player->isPlaying());
    call(kPlayer, "PlayPause");
    EXPECT_FALSE(player->isPlaying());
    call(kPlayer, "PlayPause");
    EXPECT_TRUE(player->isPlaying());

    // The play bar's button is heard too.
    player->togglePlay();
    settle();
    EXPECT_EQ(listener.last("PlaybackStatus").toString(), "Paused");

    player->togglePlay();
    player->seek(7);
    call(kPlayer, "Stop");
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->progressTicks(), 0) << "a stop goes back to the start";
}

TEST_F(MprisServiceTest, NextBringsTheNewSongsMetadataAndCover) {
    startedBy(kSummerLetter, [&] { player->play(kSummerLetter); });
    player->setMode(PlayMode::List);
    player->appendToQueue({kWindyStreet});
    ASSERT_TRUE(QTest::qWaitFor([&] { return metadata().contains("mpris:artUrl"); }, kTimeoutMs));
    const QString firstCover = QUrl(metadata().value("mpris:artUrl").toString()).toLocalFile();

    startedBy(kWindyStreet, [&] { call(kPlayer, "Next"); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return metadata().contains("mpris:artUrl"); }, kTimeoutMs));
    const QVariantMap song = metadata();
    EXPECT_EQ(song.value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mivra/track/" + QString::fromStdString(kWindyStreet));
    EXPECT_EQ(song.value("xesam:title").toString(), "风吹过的街");
    EXPECT_EQ(song.value("xesam:artist").toStringList(), QStringList{"林夏"});
    EXPECT_EQ(song.value("xesam:album").toString().toStdString(), player->album());
    EXPECT_FALSE(player->album().empty());
    EXPECT_EQ(song.value("mpris:length").toLongLong(), player->lengthSeconds() * kSecond);
    EXPECT_GT(player->lengthSeconds(), 0);

    // A valid URI: plain ASCII, percent-encoded, read back strictly.
    const QString artUrl = song.value("mpris:artUrl").toString();
    EXPECT_TRUE(artUrl.startsWith("file:///")) << artUrl.toStdString();
    EXPECT_FALSE(artUrl.contains(' ')) << artUrl.toStdString();
    EXPECT_TRUE(std::all_of(artUrl.begin(), artUrl.end(), [](QChar c) { return c.unicode() < 0x80; }))
        << artUrl.toStdString();
    const QUrl strict(artUrl, QUrl::StrictMode);
    ASSERT_TRUE(strict.isValid()) << artUrl.toStdString();
    const QString cover = strict.toLocalFile();
    QFile coverFile(cover);
    ASSERT_TRUE(coverFile.open(QIODevice::ReadOnly)) << cover.toStdString();
    EXPECT_GT(coverFile.size(), 1000);
    EXPECT_TRUE(cover.startsWith(coverFolder()));
    EXPECT_FALSE(QFile::exists(firstCover)) << "only the newest cover is kept";

    settle();
    EXPECT_EQ(qdbus_cast<QVariantMap>(listener.last("Metadata")).value("xesam:title").toString(), "风吹过的街");
}

TEST_F(MprisServiceTest, TheLyricsAndTheLineSungNowGoWithTheMetadata) {
    startedBy(kSummerLetter, [&] { player->play(kSummerLetter); });
    player->holdForSeek();
    player->seek(9);
    const QVariantMap song = metadata();
    const QString lyrics = song.value("xesam:asText").toString();
    EXPECT_TRUE(lyrics.contains("寄给那年夏天的你\nAnd send it to you of that summer")) << lyrics.toStdString();
    EXPECT_FALSE(lyrics.contains("\n\n")) << "no empty lines";
    EXPECT_FALSE(lyrics.contains('\r'));
    EXPECT_TRUE(lyrics.startsWith("作词 : 林夏\n")) << lyrics.toStdString();
    EXPECT_EQ(song.value("mivra:lyricLine").toString(), "寄给那年夏天的你\nAnd send it to you of that summer");

    // Every new line is announced.
    player->seek(1);
    settle();
    EXPECT_EQ(qdbus_cast<QVariantMap>(listener.last("Metadata")).value("mivra:lyricLine").toString(),
              "晚风吹过安静的街\nThe evening wind crosses the quiet street");
}

TEST_F(MprisServiceTest, InPersonalFmNextIsAllowedAndPreviousIsNot) {
    startedBy(kSummerLetter, [&] { player->play(kSummerLetter); });
    EXPECT_TRUE(get("CanGoPrevious").toBool());
    const std::string cookie = DemoCompanion::logIn(api);
    ASSERT_FALSE(cookie.empty());
    QSignalSpy started(player.get(), &Player::songStarted);
    player->startFm(cookie);
    ASSERT_TRUE(started.wait(kTimeoutMs));
    EXPECT_EQ(get("PlaybackStatus").toString(), "Playing");
    EXPECT_TRUE(get("CanGoNext").toBool());
    EXPECT_FALSE(get("CanGoPrevious").toBool());
    settle();
    EXPECT_FALSE(listener.last("CanGoPrevious").toBool());

    const std::string fmSong = player->currentSongId();
    started.clear();
    call(kPlayer, "Next");  // the song may start while the call waits for its reply
    ASSERT_TRUE(QTest::qWaitFor([&] { return !started.isEmpty(); }, kTimeoutMs));
    EXPECT_NE(player->currentSongId(), fmSong);
    EXPECT_TRUE(player->inFm());

    startedBy(kWindyStreet, [&] { player->play(kWindyStreet); });
    EXPECT_TRUE(get("CanGoPrevious").toBool());
}

TEST_F(MprisServiceTest, SeekAndSetPositionMoveTheSongAndTellOfIt) {
    startedBy(kSummerLetter, [&] { player->play(kSummerLetter); });
    const QVariant track =
        QVariant::fromValue(QDBusObjectPath("/org/mivra/track/" + QString::fromStdString(kSummerLetter)));

    call(kPlayer, "Seek", {10 * kSecond});
    EXPECT_EQ(player->progressTicks(), 10);
    EXPECT_EQ(get("Position").toLongLong(), 10 * kSecond);
    call(kPlayer, "Seek", {-30 * kSecond});
    EXPECT_EQ(player->progressTicks(), 0) << "before the start is the start";

    call(kPlayer, "SetPosition", {track, 5 * kSecond});
    EXPECT_EQ(player->progressTicks(), 5);
    // Another song's id, or a position outside the song, is ignored.
    call(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/mivra/track/1")), 8 * kSecond});
    call(kPlayer, "SetPosition", {track, 999 * kSecond});
    call(kPlayer, "SetPosition", {track, -kSecond});
    EXPECT_EQ(player->progressTicks(), 5);

    player->seek(12);  // the play bar's slider
    settle();
    EXPECT_EQ(listener.seeks, (QList<qlonglong>{10 * kSecond, 0, 5 * kSecond, 12 * kSecond}));

    startedBy(kSummerLetter, [&] { call(kPlayer, "Seek", {999 * kSecond}); });
}

TEST_F(MprisServiceTest, LoopStatusAndShuffleAreThePlayModes) {
    struct Case {
        const char* property;
        QVariant value;
        PlayMode mode;
        const char* loopStatus;
        bool shuffle;
    };
    const Case cases[] = {
        {"LoopStatus", "Track", PlayMode::Circulate, "Track", false},
        {"LoopStatus", "Playlist", PlayMode::List, "Playlist", false},
        {"Shuffle", true, PlayMode::Random, "Playlist", true},
        {"LoopStatus", "Playlist", PlayMode::Random, "Playlist", true},  // shuffling goes on
        {"LoopStatus", "None", PlayMode::Random, "Playlist", true},      // no mode plays nothing further
        {"Shuffle", false, PlayMode::List, "Playlist", false},
        {"Shuffle", true, PlayMode::Random, "Playlist", true},
        {"LoopStatus", "Track", PlayMode::Circulate, "Track", false},
    };
    EXPECT_EQ(get("LoopStatus").toString(), "None");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " = " + c.value.toString().toStdString());
        set(c.property, c.value);
        EXPECT_EQ(player->mode(), c.mode);
        EXPECT_EQ(get("LoopStatus").toString(), c.loopStatus);
        EXPECT_EQ(get("Shuffle").toBool(), c.shuffle);
    }

    player->setMode(PlayMode::List);  // the play bar's mode buttons
    settle();
    EXPECT_EQ(listener.last("LoopStatus").toString(), "Playlist");
    EXPECT_EQ(listener.last("Shuffle").toBool(), false);
}

TEST_F(MprisServiceTest, VolumeIsThePlayersHeldToItsRange) {
    set("Volume", 0.5);
    EXPECT_EQ(player->volume(), 50);
    set("Volume", 2.0);
    EXPECT_EQ(player->volume(), 100);
    set("Volume", -1.0);
    EXPECT_EQ(player->volume(), 0);
    player->setVolume(30);
    EXPECT_DOUBLE_EQ(get("Volume").toDouble(), 0.3);
    settle();
    EXPECT_DOUBLE_EQ(listener.last("Volume").toDouble(), 0.3);
}

// Pumps events until the second start on its thread has its answer.
bool answered(const std::future<bool>& answer) {
    return QTest::qWaitFor([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                           kTimeoutMs);
}

// A second start asks the running one to raise its window; the name stays
// with the first.
TEST_F(MprisServiceTest, ASecondStartRaisesTheFirst) {
    auto secondStart = [] {
        return std::async(std::launch::async, [] {
            QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second-start");
            const bool raisedOther = raiseRunningInstance(bus);
            QDBusConnection::disconnectFromBus("second-start");
            return raisedOther;
        });
    };
    std::future<bool> answer = secondStart();
    ASSERT_TRUE(answered(answer));
    EXPECT_TRUE(answer.get());
    EXPECT_EQ(raised, 1);

    MprisService second(*player, {[] {}, [] {}}, {}, client);
    EXPECT_FALSE(second.isRegistered()) << "the name is taken";

    service.reset();
    answer = secondStart();
    ASSERT_TRUE(answered(answer));
    EXPECT_FALSE(answer.get()) << "with no program running a start goes ahead";
}

}  // namespace

#include "MprisServiceTest.moc"
