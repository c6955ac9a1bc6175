// The play bar's spectrum switch drives the program's spectrum window.
#include "TempDir.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/widgets/PlayBarButton.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/SpectrumWindow.h"

#include <gtest/gtest.h>
#include <QTest>

namespace {

TEST(SpectrumSwitchTest, ThePlayBarSwitchShowsAndHidesTheSpectrumWithTheWarningEachTime) {
    HttpClient::globalInit();
    DemoServer server;
    ASSERT_TRUE(server.start());
    TempDir documents, program;
    Application app(documents.path().string(), program.path().string(), ServiceHosts::allAt(server.origin()));
    app.setExitHandler([] {});
    ASSERT_TRUE(startAndWait(app));

    SpectrumWindow* spectrum = app.spectrumWindow();
    ASSERT_NE(spectrum, nullptr);
    EXPECT_FALSE(spectrum->isVisible());
    auto* button = app.mainWindow()->findChild<PlayBarButton*>("播放栏_频谱");
    ASSERT_NE(button, nullptr);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(spectrum->isVisible());
        EXPECT_TRUE(spectrum->frameTimer().isActive());
        ASSERT_NE(MessageBoxWindow::dialog(), nullptr);
        delete MessageBoxWindow::dialog();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(spectrum->isVisible());
        EXPECT_FALSE(spectrum->frameTimer().isActive());
    }

    // Nothing plays: the bars rest at 2 pixels.
    spectrum->advanceFrame();
    EXPECT_EQ(spectrum->bars().barHeight(0), 2);
}

}  // namespace
