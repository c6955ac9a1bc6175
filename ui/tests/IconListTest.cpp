#include "RecordingServer.h"
#include "TaskWait.h"
#include "TestPictures.h"
#include "net/HttpClient.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/pictures/PicturePipeline.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <future>

namespace {

// Pictures as a picture host would serve them.
CannedReply servePicture(const RecordedRequest& request) {
    if (request.target == "/cover.png") return {200, pngOf(300, 300, QColor(220, 40, 90)), "image/png", {}};
    if (request.target == "/cover.jpg") return {200, jpegOf(1200, 1200, QColor(40, 90, 220)), "image/jpeg", {}};
    if (request.target == "/broken.jpg") return {200, "not a picture", "image/jpeg", {}};
    return {404, "not found", "text/plain", {}};
}

// The program's picture engine.
std::string fetchPicture(const std::string& url) {
    HttpRequest request;
    request.url = url;
    return HttpClient::fetchPicture(request).bodyBytes;
}

IconTemplate coverTemplate() {
    IconTemplate t;
    t.cellSize = {200, 265};
    t.origin = {10, 0};
    t.pictureRect = {0, 0, 180, 180};
    t.rounding = 20;
    t.mainText = IconTextElement{{0, 190, 180, 40}, Theme::font(16), QColor::fromRgba(Theme::kCaption)};
    t.secondText = secondLine({0, 232, 180, 20}, Theme::font(13));
    return t;
}

class IconListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }
    IconListTest() { list.setGeometry(0, 0, 1010, 800); }

    IconList list;
    ItemIds ids;
};

TEST_F(IconListTest, FillsItemsWithPicturesTextsAndIdsFromTheServer) {
    RecordingServer server;
    server.setHandler(servePicture);
    std::vector<int> insertedCounts;
    IconListFill fill;
    fill.itemTemplate = coverTemplate();
    fill.fetchRecords = [&server](ServiceStatus*) {
        return std::vector<CoverItem>{
            {server.url("/cover.png"), "第一张歌单", "a", "某位歌手"},
            {server.url("/cover.jpg"), "Second", "b", ""},
            {server.url("/broken.jpg"), "坏的图片", "c", ""},
            {server.url("/missing.png"), "找不到的图片", "d", ""},
            {"", "没有图片", "e", ""},
            {server.url("/cover.png"), "beyond the limit", "f", ""},
        };
    };
    PicturePipeline pictures(fetchPicture, nullptr);
    fill.pictures = &pictures;
    fill.itemIds = &ids;
    fill.maxItems = 5;
    fill.onItemsInserted = [&](int count) { insertedCounts.push_back(count); };
    ids = {"left over from before"};

    auto task = fillIconList(&list, fill);
    EXPECT_FALSE(list.isEnabled());
    EXPECT_TRUE(ids.empty());
    ASSERT_TRUE(waitForTask(task, 20000));

    EXPECT_TRUE(list.isEnabled());
    EXPECT_EQ(insertedCounts, std::vector<int>{5});
    ASSERT_EQ(list.itemCount(), 5);
    EXPECT_EQ(ids, (ItemIds{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(list.itemText(0, IconText::Main), "第一张歌单");
    EXPECT_EQ(list.itemText(0, IconText::Second), "某位歌手");
    EXPECT_EQ(list.itemText(4, IconText::Main), "没有图片");

    const qreal ratio = list.devicePixelRatioF();
    const QImage png = list.itemPicture(0);
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(180, 180) * ratio);
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);  // rounded corner
    EXPECT_EQ(png.pixelColor(png.width() / 2, png.height() / 2), QColor(220, 40, 90));
    const QImage jpeg = list.itemPicture(1);
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), QSize(180, 180) * ratio);
    for (int i = 2; i < 5; ++i) EXPECT_TRUE(list.itemPicture(i).isNull()) << i;
    EXPECT_EQ(server.requests().size(), 4u);  // no request for the item without a URL
}

TEST_F(IconListTest, ItemEventsGiveTheIdAtTheirIndexAndNothingOutsideTheIds) {
    IconListFill fill;
    fill.itemTemplate = coverTemplate();
    fill.fetchRecords = [](ServiceStatus*) {
        return std::vector<CoverItem>{{"", "A", "id-a", ""}, {"", "B", "id-b", ""}, {"", "C", "id-c", ""}};
    };
    fill.itemIds = &ids;
    ASSERT_TRUE(waitForTask(fillIconList(&list, fill), 20000));

    std::vector<std::string> activated, clicked;
    onItemId(&list, &IconList::itemActivated, &ids, [&](const std::string& id) { activated.push_back(id); });
    onItemId(&list, &IconList::itemClicked, &ids, [&](const std::string& id) { clicked.push_back(id); });
    QSignalSpy chosen(&list, &IconList::itemChosen);

    QTest::mouseDClick(&list, Qt::LeftButton, {}, list.itemRect(1).topLeft() + QPoint(90, 90));
    QTest::mouseClick(&list, Qt::LeftButton, {}, list.itemRect(2).topLeft() + QPoint(20, 200));  // on the caption
    QTest::mouseClick(&list, Qt::LeftButton, {}, list.itemRect(0).topLeft() + QPoint(190, 90));  // between items
    EXPECT_EQ(activated, std::vector<std::string>{"id-b"});
    EXPECT_EQ(clicked, std::vector<std::string>{"id-c"});
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 2);
    EXPECT_EQ(list.currentItem(), 2);

    // A list whose ids lag behind its items (a fill still running) ignores the rest.
    ids.resize(1);
    QTest::mouseDClick(&list, Qt::LeftButton, {}, list.itemRect(2).center());
    EXPECT_EQ(activated, std::vector<std::string>{"id-b"});
}

TEST_F(IconListTest, ItemsFlowInRowsFromTheOrigin) {
    list.setItemTemplate(coverTemplate());
    list.insertItems(7);
    struct Case {
        int index;
        QPoint topLeft;
    };
    // 1010 wide from origin 10: five boxes of 200 per row.
    const Case cases[] = {{0, {10, 0}}, {4, {810, 0}}, {5, {10, 265}}, {6, {210, 265}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(list.itemRect(c.index).topLeft(), c.topLeft);
        EXPECT_EQ(list.itemAt(c.topLeft + QPoint(5, 5)), c.index);
    }
    EXPECT_EQ(list.itemAt({5, 5}), -1);                // left of the origin
    EXPECT_EQ(list.itemAt({410 + 100, 265 + 5}), -1);  // the box after the last item
}

TEST_F(IconListTest, ANewerFillTakesTheListOverFromAnOlderOne) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    IconListFill slow;
    slow.itemTemplate = coverTemplate();
    slow.fetchRecords = [released](ServiceStatus* status) {
        released.wait();
        *status = ServiceStatus::Failed;
        return std::vector<CoverItem>{{"", "old", "old-1", ""}, {"", "old", "old-2", ""}};
    };
    slow.itemIds = &ids;
    std::vector<std::pair<ServiceStatus, int>> outcomes;
    slow.onLoaded = [&outcomes](ServiceStatus status, int count) { outcomes.emplace_back(status, count); };
    auto older = fillIconList(&list, slow);

    IconListFill quick = slow;
    quick.fetchRecords = [](ServiceStatus*) { return std::vector<CoverItem>{{"", "new", "new-1", ""}}; };
    auto newer = fillIconList(&list, quick);
    ASSERT_TRUE(waitForTask(newer, 20000));
    release.set_value();
    ASSERT_TRUE(waitForTask(older, 20000));

    ASSERT_EQ(list.itemCount(), 1);
    EXPECT_EQ(list.itemText(0, IconText::Main), "new");
    EXPECT_EQ(ids, ItemIds{"new-1"});
    // The older fill's failure is dropped with its items.
    EXPECT_EQ(outcomes, (std::vector<std::pair<ServiceStatus, int>>{{ServiceStatus::Answered, 1}}));
    EXPECT_TRUE(list.isEnabled());
}

TEST_F(IconListTest, AFixedPictureServesEveryItemAndTheCurrentItemIsCleared) {
    list.setItemTemplate(coverTemplate());
    list.insertItems(3);
    list.setCurrentItem(1);
    QImage note(36, 36, QImage::Format_ARGB32);
    note.fill(QColor(140, 200, 240));
    IconListFill fill;
    fill.itemTemplate = coverTemplate();
    fill.fetchRecords = [](ServiceStatus*) {
        return std::vector<CoverItem>{{"", "歌曲一", "1", "歌手"}, {"", "歌曲二", "2", "歌手"}};
    };
    PicturePipeline pictures(
        [](const std::string&) -> std::string {
            ADD_FAILURE() << "no fetch expected";
            return {};
        },
        nullptr);
    fill.pictures = &pictures;
    fill.fixedPicture = note;
    fill.clearCurrentItem = true;
    fill.itemIds = &ids;
    ASSERT_TRUE(waitForTask(fillIconList(&list, fill), 20000));
    EXPECT_EQ(list.currentItem(), -1);
    ASSERT_EQ(list.itemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const QImage picture = list.itemPicture(i);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(140, 200, 240));
    }
}

}  // namespace
