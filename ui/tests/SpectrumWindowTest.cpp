// The desktop spectrum window: switched on and off from the play bar with
// its warning each time, placed above the task bar, and drawing a fixed
// frame in the two colours.
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/SpectrumWindow.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>

namespace {

class SpectrumWindowTest : public ::testing::Test {
protected:
    void TearDown() override { delete MessageBoxWindow::dialog(); }

    QString noticeText(const char* name) const {
        QWidget* dialog = MessageBoxWindow::dialog();
        QLabel* label = dialog ? dialog->findChild<QLabel*>(QString::fromUtf8(name)) : nullptr;
        return label ? label->text() : QString();
    }

    std::array<float, kSpectrumBins> frame{};
    int reads = 0;
    SpectrumWindow window{[this](std::array<float, kSpectrumBins>& magnitudes) {
        ++reads;
        magnitudes = frame;
    }};
};

TEST_F(SpectrumWindowTest, SwitchingOnWarnsShowsAndTicksSwitchingOffHidesAndStops) {
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.frameTimer().isActive());
    EXPECT_EQ(window.frameTimer().objectName(), "时钟_频谱");

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        window.setSwitchedOn(true);
        ASSERT_NE(MessageBoxWindow::dialog(), nullptr) << "the warning comes every time";
        EXPECT_EQ(noticeText("标签_提示框标题"), "温馨提示");
        // The bars cost under 1 % of a core: the warning says where they
        // show and how to switch them off, and frightens nobody about cost.
        const QString content = noticeText("标签_内容");
        EXPECT_TRUE(content.startsWith("Mivra酱提醒您：音乐频谱")) << content.toStdString();
        for (const char* scare : {"高额", "极不稳定", "内存", "未知的问题"})
            EXPECT_FALSE(content.contains(QString::fromUtf8(scare))) << scare;
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.frameTimer().isActive());
        EXPECT_EQ(window.frameTimer().interval(), SpectrumWindow::kFrameMs);
        delete MessageBoxWindow::dialog();

        window.setSwitchedOn(false);
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(window.frameTimer().isActive());
        EXPECT_EQ(MessageBoxWindow::dialog(), nullptr) << "switching off warns of nothing";
    }
}

TEST_F(SpectrumWindowTest, SpansThePrimaryScreenAboveTheTaskBarWithoutTakingFocus) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(window.geometry(), spectrumWindowGeometry(screen->geometry(), screen->availableGeometry()));
    EXPECT_EQ(window.panel()->geometry(), QRect(0, 20, window.width(), window.height() - 20));
    EXPECT_EQ(window.barWidth(), spectrumBarWidth(screen->geometry().width()));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
}

TEST_F(SpectrumWindowTest, TimerTicksDrawFramesWhileOn) {
    window.setSwitchedOn(true);
    const int before = reads;
    QElapsedTimer clock;
    clock.start();
    while (reads < before + 3 && clock.elapsed() < 2000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(reads, before + 3);
    window.setSwitchedOn(false);
    const int stopped = reads;
    QApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(reads, stopped);
}

TEST_F(SpectrumWindowTest, BarsFadeFromTheFirstColourAtTheTopToTheSecondAtTheBottom) {
    window.setColours(std::int32_t(0xFFFF0000u), std::int32_t(0xFF0000FFu));  // red over blue
    frame[0] = 0.4f;  // x 2.5: the whole panel, cut to its height less 10
    window.advanceFrame();
    const int panelHeight = window.panel()->height();
    const int bar = int(window.bars().barHeight(0));
    ASSERT_EQ(bar, panelHeight - 10);

    const QImage drawn = window.panel()->grab().toImage();
    const qreal dpr = drawn.devicePixelRatio();
    auto pixel = [&](int x, int y) { return drawn.pixelColor(int(x * dpr), int(y * dpr)); };
    const int x = 1 + window.barWidth() / 2;
    const QColor top = pixel(x, panelHeight - bar + 2);
    const QColor bottom = pixel(x, panelHeight - 1);
    EXPECT_GT(top.red(), 200);
    EXPECT_LT(top.blue(), 60);
    EXPECT_GT(bottom.blue(), 200);
    EXPECT_LT(bottom.red(), 60);
    // The cap line sits 2 pixels above its height, in the first colour.
    const QColor cap = pixel(x, panelHeight - int(window.bars().capHeight(0)) - 2);
    EXPECT_GT(cap.red(), 200);
    // A silent bar next to it is 2 pixels high: above that is the
    // background, as in the gap left of the first bar.
    const int silentX = 1 + (window.barWidth() + 1) + window.barWidth() / 2;
    const QColor background = pixel(0, panelHeight - 5);
    EXPECT_NE(pixel(silentX, panelHeight - 1), background);
    EXPECT_EQ(pixel(silentX, panelHeight - 3), background);
}

TEST_F(SpectrumWindowTest, WithoutSoundTheBarsRest) {
    for (int i = 0; i < 5; ++i) window.advanceFrame();
    for (int i = 0; i < window.barCount(); ++i) EXPECT_EQ(window.bars().barHeight(i), 2);
}

}  // namespace
