// The updater's window: what it shows, the download page it opens (web
// pages only) and the skip path that lets the program start again.
#include "TempDir.h"
#include "ui/windows/MessageBoxWindow.h"
#include "updater/UpdaterWindow.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

namespace {

class UpdaterWindowTest : public ::testing::Test {
protected:
    void TearDown() override { delete MessageBoxWindow::dialog(); }

    RemoteConfig announced(std::string downloadUrl = "http://127.0.0.1:38580/download/") const {
        RemoteConfig config;
        config.answered = true;
        config.version = "Beta V1.2.0";
        config.updateLogText = R"({"data":[{"title":"Beta V1.2.0","content":"新增：更新程序\\n修复：频谱"}]})";
        config.downloadUrl = std::move(downloadUrl);
        return config;
    }
    UpdaterWindow::Outside recorded() {
        return {[this](const QUrl& url) { opened.push_back(url.toString()); },
                [this](const QString& program) {
                    started.push_back(program);
                    return startWorks;
                }};
    }
    static void click(UpdaterWindow& window, const char* button) {
        window.findChild<QAbstractButton*>(QString::fromUtf8(button))->click();
    }

    TempDir folder;
    AppSettings settings{folder.file("config.ini")};
    std::vector<QString> opened, started;
    bool startWorks = true;
};

TEST_F(UpdaterWindowTest, ShowsTheAnnouncedVersionAndItsLog) {
    UpdaterWindow window(announced(), settings, recorded());
    EXPECT_TRUE(window.findChild<QLabel*>("标签_版本")->text().contains("Beta V1.2.0"));
    const QString log = window.findChild<QLabel*>("标签_更新日志")->text();
    EXPECT_TRUE(log.contains("新增：更新程序\n修复：频谱"));
}

TEST_F(UpdaterWindowTest, SkippingRecordsTheVersionAndStartsTheProgramAgain) {
    settings.write("Setting", "Path", "/opt/mivra/mivra");
    UpdaterWindow window(announced(), settings, recorded());
    window.show();
    click(window, "按钮_暂不更新");
    EXPECT_EQ(settings.read("Data", "SkipVer"), "Beta V1.2.0");
    EXPECT_EQ(started, std::vector<QString>{"/opt/mivra/mivra"});
    EXPECT_FALSE(window.isVisible()) << "the updater is done";
}

TEST_F(UpdaterWindowTest, AProgramThatWillNotStartIsReportedAndTheWindowStays) {
    startWorks = false;
    settings.write("Setting", "Path", "/opt/mivra/mivra");
    UpdaterWindow window(announced(), settings, recorded());
    window.show();
    click(window, "按钮_暂不更新");
    EXPECT_EQ(started.size(), 1u);
    EXPECT_NE(MessageBoxWindow::dialog(), nullptr);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(UpdaterWindowTest, DownloadOpensOnlyAWebPage) {
    struct Case {
        const char* url;
        bool opens;
    };
    for (const Case c : {Case{"http://127.0.0.1:38580/download/", true}, Case{"https://example.com/get?a=1%26b", true},
                         Case{"file:///etc/passwd", false}, Case{"", false}, Case{"javascript:alert(1)", false}}) {
        SCOPED_TRACE(c.url);
        opened.clear();
        delete MessageBoxWindow::dialog();
        UpdaterWindow window(announced(c.url), settings, recorded());
        click(window, "按钮_前往下载");
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
        EXPECT_EQ(MessageBoxWindow::dialog() != nullptr, !c.opens) << "a missing page is told";
        EXPECT_TRUE(started.empty());
    }
}

}  // namespace
