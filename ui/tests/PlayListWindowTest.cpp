// The play-list window as a view of the player's queue: its rows (one song
// from the play bar's texts, several from one names request, in queue
// order), a failed or short answer, the list following the queue and
// marking the song playing, and two loads in a row.
#include "ui/windows/PlayListWindow.h"

#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "base/AppSettings.h"
#include "browse/SongNames.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/windows/MessageBoxWindow.h"

#include "DemoCompanion.h"
#include "RecordingServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

using namespace DemoSongs;

constexpr int kTimeoutMs = 20000;

QStringList rowTexts(const IconList& list, IconText element) {
    QStringList texts;
    for (int i = 0; i < list.itemCount(); ++i) texts << list.itemText(i, element);
    return texts;
}

// A names answer that calls song <id> "名<id>" by "艺<id>" (and a second
// artist, never shown), for the ids of the request in their order.
CannedReply namesAnswer(const std::string& target, size_t leaveOut = 0) {
    std::vector<std::string> ids;
    // The id list arrives percent-encoded, its commas as %2C.
    std::string list = target.substr(target.find("ids=") + 4);
    for (size_t at = list.find("%2C"); at != std::string::npos; at = list.find("%2C", at)) list.replace(at, 3, ",");
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        ids.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    std::string songs;
    for (size_t i = 0; i + leaveOut < ids.size(); ++i)
        songs += std::string(songs.empty() ? "" : ",") + R"({"id":)" + ids[i] + R"(,"name":"名)" + ids[i] +
                 R"(","ar":[{"name":"艺)" + ids[i] + R"("},{"name":"second"}]})";
    return {200, R"({"songs":[)" + songs + R"(],"code":200})", "application/json", {}};
}

class PlayListWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    PlayListWindowTest() {
        engine.init(0);
        names.setHandler([](const RecordedRequest& request) { return namesAnswer(request.target); });
        ServiceHosts namesHost = ServiceHosts::allAt(DemoCompanion::origin());
        namesHost.serviceBase = names.url("/");
        catalogue = std::make_unique<CloudApiClient>(namesHost);
        songNames = std::make_unique<SongNames>(*catalogue);
    }

    void play(const std::string& id) {
        QSignalSpy started(&player, &Player::songStarted);
        player.play(id);
        ASSERT_TRUE(started.wait(kTimeoutMs)) << id;
    }

    std::unique_ptr<PlayListWindow> openWindow() {
        return std::make_unique<PlayListWindow>(player, *songNames, TypefaceChoice{});
    }

    // Waits for the rows to be filled: `count` of them, the first with a title.
    static bool filled(const IconList& list, int count) {
        return QTest::qWaitFor([&] { return list.itemCount() == count && list.isEnabled(); }, kTimeoutMs);
    }

    TempDir folder;
    const CloudApiClient api{ServiceHosts::allAt(DemoCompanion::origin())};
    AudioEngine engine;
    Player player{api, engine, "", AppSettings(folder.file("config.ini"))};
    RecordingServer names;
    std::unique_ptr<CloudApiClient> catalogue;
    std::unique_ptr<SongNames> songNames;  // after the client it asks
};

TEST_F(PlayListWindowTest, TheWindowHasItsControlsWhereTheyBelong) {
    auto window = openWindow();
    EXPECT_EQ(window->size(), QSize(650, 520));
    EXPECT_EQ(window->windowTitle(), "Mivra Loading...");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->parentWidget(), nullptr);
    auto* title = window->findChild<QLabel*>("标签_播放列表");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "播放列表");
    EXPECT_EQ(title->geometry(), QRect(40, 35, 112, 54));
    const struct {
        const char* name;
        QRect geometry;
    } buttons[] = {{"工具栏_清空", {520, 40, 40, 40}}, {"工具栏_关闭", {567, 40, 40, 40}}};
    for (const auto& b : buttons) {
        QWidget* button = window->findChild<QWidget*>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->geometry(), b.geometry) << b.name;
    }
    EXPECT_EQ(window->findChild<IconList*>("图标列表框播放列表"), window->list());
}

TEST_F(PlayListWindowTest, OneQueuedSongShowsThePlayBarsTextsWithoutARequest) {
    play(kSummerLetter);
    auto window = openWindow();
    ASSERT_TRUE(filled(*window->list(), 1));
    EXPECT_EQ(window->list()->itemText(0, IconText::Main), "夏日来信");
    EXPECT_EQ(window->list()->itemText(0, IconText::Second), "林夏");
    EXPECT_FALSE(window->list()->itemPicture(0).isNull()) << "the note picture";
    EXPECT_EQ(window->list()->markedItem(), 0) << "the song playing is marked";
    EXPECT_TRUE(names.requests().empty());
}

TEST_F(PlayListWindowTest, SeveralQueuedSongsAreNamedByOneRequestInQueueOrder) {
    for (const std::string& id : {kGoodNight, kSummerLetter, kWindyStreet}) play(id);
    auto window = openWindow();
    ASSERT_TRUE(filled(*window->list(), 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->list()->itemText(2, IconText::Main) != ""; }, kTimeoutMs));
    ASSERT_EQ(names.requests().size(), 1u);
    EXPECT_EQ(names.requests()[0].target,
              "/song/detail?ids=" + kGoodNight + "%2C" + kSummerLetter + "%2C" + kWindyStreet);
    const QString a = QString::fromStdString(kGoodNight), b = QString::fromStdString(kSummerLetter),
                  c = QString::fromStdString(kWindyStreet);
    EXPECT_EQ(rowTexts(*window->list(), IconText::Main), (QStringList{"名" + a, "名" + b, "名" + c}));
    EXPECT_EQ(rowTexts(*window->list(), IconText::Second), (QStringList{"艺" + a, "艺" + b, "艺" + c}))
        << "the first artist only";
    EXPECT_EQ(window->rowIds(), (std::vector<std::string>{kGoodNight, kSummerLetter, kWindyStreet}));
    EXPECT_EQ(window->list()->markedItem(), 2);
}

TEST_F(PlayListWindowTest, AFailedOrShortAnswerStillGivesOneRowPerQueuedSong) {
    for (const std::string& id : {kSummerLetter, kWindyStreet, kGoodNight}) play(id);
    const struct {
        const char* name;
        RecordingServer::Handler answer;
        QStringList titles;
    } cases[] = {
        {"server error",
         [](const RecordedRequest&) {
             return CannedReply{500, "oops", "text/plain", {}};
         },
         {"", "", ""}},
        {"answer one song short",
         [](const RecordedRequest& r) { return namesAnswer(r.target, 1); },
         {"名" + QString::fromStdString(kSummerLetter), "名" + QString::fromStdString(kWindyStreet), ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        names.setHandler(c.answer);
        auto window = openWindow();
        ASSERT_TRUE(filled(*window->list(), 3));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rowTexts(*window->list(), IconText::Main) == c.titles; }, kTimeoutMs));
        EXPECT_EQ(window->list()->minimumHeight(), 3 * PlayListWindow::kRowHeight);
    }
}

TEST_F(PlayListWindowTest, AnEmptyQueueGivesAnEmptyListWithoutARequest) {
    auto window = openWindow();
    ASSERT_TRUE(filled(*window->list(), 0));
    QTest::qWait(100);
    EXPECT_EQ(window->list()->itemCount(), 0);
    EXPECT_EQ(window->list()->minimumHeight(), 0);
    EXPECT_TRUE(names.requests().empty());
}

TEST_F(PlayListWindowTest, TheListFollowsTheQueueAndKeepsThePlayingRowInView) {
    const std::vector<std::string> songs = {kSummerLetter, kWindyStreet, kGoodNight,  "1900001004",
                                            "1900001006",  "1900001008", "1900001009"};
    for (size_t i = 0; i + 1 < songs.size(); ++i) play(songs[i]);
    player.playQueued(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.currentSongId() == kSummerLetter; }, kTimeoutMs));
    auto window = openWindow();
    window->show();
    ASSERT_TRUE(filled(*window->list(), 6));
    EXPECT_EQ(window->list()->markedItem(), 0);

    play(songs.back());
    ASSERT_TRUE(filled(*window->list(), 7)) << "a song played meanwhile is listed without reopening";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->list()->markedItem() == 6; }, kTimeoutMs));
    // The seventh row lies below the six and a bit that fit: the list has scrolled to it.
    const QRect row = window->list()->itemRect(6);
    const QWidget* viewport = window->list()->parentWidget();
    const int shownTop = window->list()->mapFrom(viewport, QPoint(0, 0)).y();
    EXPECT_GE(row.top(), shownTop) << "the playing row is in view";
    EXPECT_LE(row.bottom(), shownTop + viewport->height() - 1) << "the playing row is in view";
    EXPECT_EQ(window->list()->width(), viewport->width()) << "rows are as wide as the list area shows";
    EXPECT_EQ(names.requests().size(), 2u);
}

// The list [a, b, c, d] played from b: a has played, b plays, c and d are to come.
TEST_F(PlayListWindowTest, PlayedSongsAreFadedAndARowsMenuEditsTheQueueWithoutAskingForNamesAgain) {
    const std::string fireflies = "1900001004";
    QSignalSpy started(&player, &Player::songStarted);
    player.playList({kSummerLetter, kWindyStreet, kGoodNight, fireflies}, 1);
    ASSERT_TRUE(started.wait(kTimeoutMs));
    auto window = openWindow();
    ASSERT_TRUE(filled(*window->list(), 4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->list()->itemText(3, IconText::Main) != ""; }, kTimeoutMs));
    EXPECT_EQ(window->list()->markedItem(), 1);
    EXPECT_EQ(window->list()->fadedBefore(), 1) << "only the song before the current one has played";

    const auto enabled = [&](int row) {
        std::vector<bool> states;
        for (QAction* item : window->rowMenu(row)->actions()) states.push_back(item->isEnabled());
        return states;
    };
    const auto captions = [&] {
        QStringList texts;
        for (QAction* item : window->rowMenu(0)->actions()) texts << item->text();
        return texts;
    };
    EXPECT_EQ(captions(), (QStringList{"下一首播放", "上移", "下移", "从播放列表中删除"}));
    EXPECT_EQ(enabled(0), (std::vector<bool>{true, false, true, true})) << "the first row cannot move up";
    EXPECT_EQ(enabled(1), (std::vector<bool>{false, true, true, true})) << "the song playing is not put next";
    EXPECT_EQ(enabled(3), (std::vector<bool>{true, true, false, true})) << "the last row cannot move down";

    const QString b = "名" + QString::fromStdString(kWindyStreet), c = "名" + QString::fromStdString(kGoodNight),
                  d = "名" + QString::fromStdString(fireflies);
    const struct {
        const char* item;
        int row;
        std::vector<std::string> queue;
    } edits[] = {
        {"下一首播放", 3, {kSummerLetter, kWindyStreet, fireflies, kGoodNight}},
        {"上移", 3, {kSummerLetter, kWindyStreet, kGoodNight, fireflies}},
        {"下移", 0, {kWindyStreet, kSummerLetter, kGoodNight, fireflies}},
        {"从播放列表中删除", 1, {kWindyStreet, kGoodNight, fireflies}},
    };
    for (const auto& edit : edits) {
        for (QAction* item : window->rowMenu(edit.row)->actions())
            if (item->text() == QString::fromUtf8(edit.item)) item->trigger();
        EXPECT_EQ(player.queue().ids(), edit.queue) << edit.item;
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window->rowIds() == edit.queue && window->list()->isEnabled(); }, kTimeoutMs))
            << edit.item;
    }
    EXPECT_EQ(rowTexts(*window->list(), IconText::Main), (QStringList{b, c, d})) << "the rows keep their names";
    EXPECT_EQ(names.requests().size(), 1u) << "moved rows are not named again";
    EXPECT_EQ(window->list()->markedItem(), 0);
    EXPECT_EQ(player.currentSongId(), kWindyStreet) << "the song playing plays on";

    window->list()->setCurrentItem(2);
    QTest::keyClick(window->list(), Qt::Key_Delete);
    EXPECT_EQ(player.queue().ids(), (std::vector<std::string>{kWindyStreet, kGoodNight}));
}

TEST_F(PlayListWindowTest, TheBinAsksBeforeEmptyingTheQueue) {
    play(kSummerLetter);
    play(kWindyStreet);
    auto window = openWindow();
    window->show();
    auto* bin = window->findChild<QAbstractButton*>("工具栏_清空");
    const auto answer = [](const char* button) {
        QWidget* dialog = MessageBoxWindow::dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QLabel*>("标签_提示框标题")->text(), "清空播放列表");
        EXPECT_EQ(dialog->findChild<QPushButton*>("按钮_确定")->text(), "清空");
        EXPECT_EQ(dialog->findChild<QPushButton*>("按钮_取消")->text(), "取消");
        dialog->findChild<QPushButton*>(button)->click();
    };

    bin->click();
    EXPECT_EQ(player.queue().size(), 2) << "nothing goes before the answer";
    answer("按钮_取消");
    EXPECT_EQ(player.queue().size(), 2);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(player.isPlaying());

    bin->click();
    answer("按钮_确定");
    EXPECT_EQ(player.queue().size(), 0);
    EXPECT_EQ(player.currentSongId(), "");
    EXPECT_FALSE(window->isVisible());

    // An empty queue has nothing to lose: the bin just closes the window.
    window->show();
    bin->click();
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PlayListWindowTest, TwoLoadsInARowEndWithTheSecond) {
    play(kSummerLetter);
    play(kWindyStreet);
    std::atomic<int> answered{0};
    // The first load's answer is held until the second load has asked, and
    // comes after it.
    names.setHandler([&](const RecordedRequest& request) {
        if (answered++ == 0) {
            for (int waited = 0; answered < 2 && waited < 100; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return CannedReply{
                200, R"({"songs":[{"name":"旧的"},{"name":"旧的"}],"code":200})", "application/json", {}};
        }
        return namesAnswer(request.target);
    });
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered == 1; }, kTimeoutMs));
    window->reload();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered == 2; }, kTimeoutMs));
    QTest::qWait(700);
    EXPECT_EQ(rowTexts(*window->list(), IconText::Main),
              (QStringList{"名" + QString::fromStdString(kSummerLetter), "名" + QString::fromStdString(kWindyStreet)}));
}

}  // namespace
