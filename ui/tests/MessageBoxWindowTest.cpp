#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/ProgramWindow.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <thread>

namespace {

class MessageBoxWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBoxWindow::setUrlOpener([this](const QUrl& url) {
            opened.push_back(url.toString(QUrl::FullyEncoded).toStdString());
            return opens;
        });
        MessageBoxWindow::setMvHostCloser([this] { ++mvHostClosed; });
    }
    void TearDown() override {
        if (QWidget* d = MessageBoxWindow::dialog()) delete d;
    }

    template <typename T>
    T* control(const char* name) {
        QWidget* d = MessageBoxWindow::dialog();
        return d ? d->findChild<T*>(QString::fromUtf8(name)) : nullptr;
    }
    void settle() {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    std::vector<std::string> opened;
    bool opens = true;  // whether the desktop manages to open what it is given
    int mvHostClosed = 0;
};

TEST_F(MessageBoxWindowTest, OneButtonNoticeShowsOnlyTheConfirmButton) {
    MessageBoxWindow::show({.title = "播放失败啦", .content = "这首歌暂时无法播放", .confirmCaption = "接受事实"});
    QWidget* dialog = MessageBoxWindow::dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->size(), QSize(432, 285));
    EXPECT_FALSE(control<QPushButton>("按钮_取消")->isVisible());
    auto* confirm = control<QPushButton>("按钮_确定");
    EXPECT_TRUE(confirm->isVisible());
    EXPECT_EQ(confirm->geometry(), QRect(285, 195, 110, 50));
    EXPECT_EQ(confirm->text(), "接受事实");
    EXPECT_EQ(control<QLabel>("标签_提示框标题")->text(), "播放失败啦");
    EXPECT_EQ(control<QLabel>("标签_内容")->text(), "这首歌暂时无法播放");
}

// A question's action runs on confirm only: not on cancel, not on close,
// and not once another notice has taken the dialog.
TEST_F(MessageBoxWindowTest, TheConfirmActionRunsOnlyWhenItsNoticeIsConfirmed) {
    enum class Answer { Confirm, Cancel, Close, Replace };
    const struct {
        Answer answer;
        int runs;
    } cases[] = {{Answer::Confirm, 1}, {Answer::Cancel, 0}, {Answer::Close, 0}, {Answer::Replace, 0}};
    for (const auto& c : cases) {
        int runs = 0;
        MessageBoxWindow::show(
            {.title = "清空播放列表", .confirmCaption = "清空", .cancelCaption = "取消", .onConfirm = [&runs] {
                 ++runs;
             }});
        switch (c.answer) {
            case Answer::Confirm: control<QPushButton>("按钮_确定")->click(); break;
            case Answer::Cancel: control<QPushButton>("按钮_取消")->click(); break;
            case Answer::Close: MessageBoxWindow::dialog()->close(); break;
            case Answer::Replace:
                MessageBoxWindow::show({.title = "播放失败啦", .confirmCaption = "接受事实"});
                control<QPushButton>("按钮_确定")->click();
                break;
        }
        settle();
        EXPECT_EQ(runs, c.runs) << int(c.answer);
        EXPECT_EQ(MessageBoxWindow::dialog(), nullptr) << int(c.answer);
    }
}

TEST_F(MessageBoxWindowTest, ASecondNoticeReusesTheDialogWithTheLastTexts) {
    MessageBoxWindow::show({.title = "first", .content = "one", .confirmCaption = "知道了"});
    QWidget* first = MessageBoxWindow::dialog();
    MessageBoxWindow::show({.title = "second",
                            .content = "two",
                            .confirmCaption = "允许",
                            .cancelCaption = "不允许",
                            .webUrl = "https://example.org/mv"});
    EXPECT_EQ(MessageBoxWindow::dialog(), first);
    EXPECT_EQ(control<QLabel>("标签_提示框标题")->text(), "second");
    EXPECT_EQ(control<QPushButton>("按钮_取消")->text(), "不允许");
    EXPECT_TRUE(control<QPushButton>("按钮_取消")->isVisible());
    MessageBoxWindow::show({.title = "third", .confirmCaption = "知道了"});
    EXPECT_EQ(MessageBoxWindow::dialog(), first);
    EXPECT_FALSE(control<QPushButton>("按钮_取消")->isVisible()) << "a notice without a cancel caption hides it again";

    control<QPushButton>("按钮_确定")->click();
    settle();
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr) << "closing it closes the only dialog";
    EXPECT_TRUE(opened.empty()) << "the web address went with the second notice";
    EXPECT_EQ(mvHostClosed, 1) << "the replaced MV prompt took its host window with it";
}

TEST_F(MessageBoxWindowTest, ClosingAPromptAnyWayClosesItsHostWindow) {
    MessageBoxWindow::show({.title = "即将使用浏览器打开",
                            .confirmCaption = "允许",
                            .cancelCaption = "不允许",
                            .webUrl = "https://example.org"});
    MessageBoxWindow::dialog()->close();  // as the window manager's close button does
    settle();
    EXPECT_EQ(mvHostClosed, 1);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
}

TEST_F(MessageBoxWindowTest, ANoticeRightAfterAnAnswerGetsADialogThatStays) {
    MessageBoxWindow::show({.title = "first", .confirmCaption = "知道了"});
    control<QPushButton>("按钮_确定")->click();
    MessageBoxWindow::show({.title = "second", .confirmCaption = "知道了"});  // before the first is deleted
    settle();
    ASSERT_NE(MessageBoxWindow::dialog(), nullptr);
    EXPECT_TRUE(MessageBoxWindow::dialog()->isVisible());
    EXPECT_EQ(control<QLabel>("标签_提示框标题")->text(), "second");
}

TEST_F(MessageBoxWindowTest, ConfirmingANoticeWithoutAWebAddressOnlyCloses) {
    MessageBoxWindow::show({.title = "登录成功", .confirmCaption = "知道了"});
    control<QPushButton>("按钮_确定")->click();
    settle();
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(mvHostClosed, 0);
}

TEST_F(MessageBoxWindowTest, ConfirmingOpensOnlyHttpUrlsExactlyAsGiven) {
    struct Row {
        const char* webUrl;
        const char* expectedOpen;  // nullptr: nothing may be opened
    };
    for (Row row :
         {Row{"https://player.example/?url=a%20b&x=1", "https://player.example/?url=a%20b&x=1"},
          Row{"http://127.0.0.1:38580/player/?url=v.mp4", "http://127.0.0.1:38580/player/?url=v.mp4"},
          // An escaped "&" stays escaped once, not "%2526".
          Row{"http://p.test/player/?url=http://v.test/1.mp4?s=a%26wsTime=9",
              "http://p.test/player/?url=http://v.test/1.mp4?s=a%26wsTime=9"},
          Row{"file:///etc/passwd", nullptr}, Row{"/bin/sh -c reboot", nullptr}, Row{"javascript:alert(1)", nullptr}}) {
        opened.clear();
        mvHostClosed = 0;
        MessageBoxWindow::show(
            {.title = "即将使用浏览器打开", .confirmCaption = "允许", .cancelCaption = "不允许", .webUrl = row.webUrl});
        control<QPushButton>("按钮_确定")->click();
        settle();
        if (row.expectedOpen) {
            ASSERT_EQ(opened.size(), 1u) << row.webUrl;
            EXPECT_EQ(opened[0], row.expectedOpen);
        } else {
            EXPECT_TRUE(opened.empty()) << row.webUrl;
        }
        EXPECT_EQ(mvHostClosed, 1) << row.webUrl;
        EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
    }
}

TEST_F(MessageBoxWindowTest, CancellingAWebAddressOpensNothingAndClosesBoth) {
    MessageBoxWindow::show({.title = "即将使用浏览器打开",
                            .confirmCaption = "允许",
                            .cancelCaption = "不允许",
                            .webUrl = "https://example.org"});
    control<QPushButton>("按钮_取消")->click();
    settle();
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(mvHostClosed, 1);
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
}

TEST_F(MessageBoxWindowTest, ANoticeFromATaskThreadAppearsOnTheUiThread) {
    std::thread([] { MessageBoxWindow::show({.title = "from a task", .confirmCaption = "知道了"}); }).join();
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
    QApplication::processEvents();
    ASSERT_NE(MessageBoxWindow::dialog(), nullptr);
    EXPECT_EQ(control<QLabel>("标签_提示框标题")->text(), "from a task");
}

// A notice belongs to the main window (no taskbar entry of its own) and
// opens over its middle, wherever the main window has been moved to; with no
// main window it opens in the middle of the screen.
TEST_F(MessageBoxWindowTest, NoticesOpenCentredOverTheMainWindowAsItsDialog) {
    {
        MessageBoxWindow::show({.title = "无主窗口", .confirmCaption = "知道了"});
        QWidget* dialog = MessageBoxWindow::dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Mivra音乐");
        EXPECT_EQ(dialog->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        delete dialog;
    }

    QWidget main;
    main.resize(1110, 780);
    main.show();
    ProgramWindow::set(&main);
    for (QPoint place : {QPoint(100, 50), QPoint(400, 220)}) {
        main.move(place);
        MessageBoxWindow::show({.title = "有主窗口", .confirmCaption = "知道了"});
        QWidget* dialog = MessageBoxWindow::dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->parentWidget(), &main);
        EXPECT_EQ(dialog->windowType(), Qt::Dialog);
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(dialog->isWindow());
        EXPECT_EQ(dialog->windowTitle(), "Mivra音乐");
        EXPECT_EQ(dialog->geometry().center(), main.geometry().center()) << place.x() << "," << place.y();
    }
    delete MessageBoxWindow::dialog();
    ProgramWindow::set(nullptr);
}

// Confirming opens the web address or the folder; where the desktop cannot
// open it, a notice says so instead of nothing happening.
TEST_F(MessageBoxWindowTest, WhatCannotBeOpenedGetsANoticeOfItsOwn) {
    struct Case {
        Notice notice;
        bool opens;
        std::string openedUrl;
        const char* followingTitle;  // nullptr: no notice follows
    };
    const Case cases[] = {
        {{.title = "MV", .confirmCaption = "允许", .webUrl = "https://player.example/mv"},
         true,
         "https://player.example/mv",
         nullptr},
        {{.title = "MV", .confirmCaption = "允许", .webUrl = "https://player.example/mv"},
         false,
         "https://player.example/mv",
         "浏览器打不开啦"},
        {{.title = "下载完成啦", .confirmCaption = "打开文件夹", .folder = "/tmp/歌 曲/"},
         true,
         "file:///tmp/%E6%AD%8C%20%E6%9B%B2/",
         nullptr},
        {{.title = "下载完成啦", .confirmCaption = "打开文件夹", .folder = "/tmp/歌 曲/"},
         false,
         "file:///tmp/%E6%AD%8C%20%E6%9B%B2/",
         "文件夹打不开啦"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.openedUrl + (c.opens ? " opens" : " fails"));
        opened.clear();
        opens = c.opens;
        MessageBoxWindow::show(c.notice);
        control<QPushButton>("按钮_确定")->click();
        EXPECT_EQ(opened, std::vector<std::string>{c.openedUrl});
        if (c.followingTitle) {
            ASSERT_NE(MessageBoxWindow::dialog(), nullptr);
            EXPECT_EQ(control<QLabel>("标签_提示框标题")->text(), QString::fromUtf8(c.followingTitle));
            if (!c.notice.folder.empty()) {
                EXPECT_TRUE(control<QLabel>("标签_内容")->text().contains("/tmp/歌 曲/")) << "where the songs are";
            }
            delete MessageBoxWindow::dialog();
        } else {
            EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
        }
        settle();
    }
}

}  // namespace
