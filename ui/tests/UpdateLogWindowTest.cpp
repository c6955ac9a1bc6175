// The update-log window: one item per entry sized by the height estimate,
// separators between entries, the shown mark written, and its own close.
#include "TempDir.h"
#include "base/AppSettings.h"
#include "maintenance/UpdateLog.h"
#include "ui/windows/UpdateLogWindow.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <algorithm>

namespace {

class UpdateLogWindowTest : public ::testing::Test {
protected:
    // The items in the list's order.
    static std::vector<QWidget*> items(const UpdateLogWindow& window) {
        std::vector<QWidget*> found;
        for (QObject* child : window.list()->children())
            if (auto* item = qobject_cast<QWidget*>(child); item && item->objectName() == "更新日志项")
                found.push_back(item);
        std::sort(found.begin(), found.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
        return found;
    }
    static QString text(QWidget* item, const char* name) { return item->findChild<QLabel*>(name)->text(); }

    TempDir folder;
    AppSettings settings{folder.file("config.ini")};
};

TEST_F(UpdateLogWindowTest, ThreeEntriesGetTwoSeparatorsAndTheShownMark) {
    settings.write("Data", "UpDateLog", "true");
    const std::string log = R"({"data":[{"title":"Beta V1.1.6","content":"新增：频谱\\n修复：列表"},)"
                            R"({"title":"Beta V1.1.5","content":")" +
                            std::string(60, 'x') + R"("},{"title":"Beta V1.1.4","content":"a"}]})";
    UpdateLogWindow window(log, settings);
    window.show();
    QApplication::processEvents();

    EXPECT_EQ(window.size(), QSize(408, 508));
    EXPECT_EQ(window.findChild<QLabel*>("标签_提示框标题")->text(), "Mivra音乐更新日志");
    const auto shown = items(window);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(text(shown[0], "标题"), "Beta V1.1.6");
    EXPECT_EQ(text(shown[0], "内容"), "新增：频谱\n修复：列表");
    EXPECT_EQ(shown[0]->height(), 28 + 80);
    EXPECT_EQ(shown[1]->height(), 14 + 80) << "60 letters wrap once";
    EXPECT_EQ(shown[2]->height(), 80);
    for (size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(i);
        QWidget* separator = shown[i]->findChild<QWidget*>("分隔线");
        EXPECT_EQ(separator != nullptr, i < 2) << "every item but the last is separated";
        if (separator) {
            EXPECT_EQ(separator->geometry(), QRect(50, shown[i]->height() - 2, 350, 2));
        }
    }
    EXPECT_EQ(settings.read("Data", "UpDateLog"), "flase");
}

TEST_F(UpdateLogWindowTest, ALogThatIsNotJsonLeavesTheListEmpty) {
    UpdateLogWindow window("<html>502</html>", settings);
    EXPECT_TRUE(items(window).empty());
    EXPECT_EQ(settings.read("Data", "UpDateLog"), "flase");
}

TEST_F(UpdateLogWindowTest, ItsCloseButtonDestroysIt) {
    QPointer<UpdateLogWindow> window = new UpdateLogWindow("", settings);
    window->show();
    window->findChild<QAbstractButton*>("工具栏_关闭")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

}  // namespace
