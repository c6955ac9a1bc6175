#include "app/AppSettings.h"
#include "app/Application.h"
#include "ui/MainWindow.h"

#include "TempDir.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(ApplicationTest, StartOpensTheMainWindowAfterPreparingTheSettings) {
    TempDir documents, program;
    Application app(documents.path().string(), program.path().string());
    int exits = 0;
    app.setExitHandler([&] { ++exits; });
    app.start();

    MainWindow* window = app.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(1110, 780));
    EXPECT_EQ(window->windowTitle(), "Mivra Music");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(AppSettings(app.paths().settingsPath).read("Data", "Name"), "Mivra Music");

    window->findChild<QPushButton*>("工具栏_关闭")->click();
    EXPECT_EQ(exits, 1);
    window->close();
    EXPECT_EQ(exits, 2) << "closing the window any other way ends the program too";
}

TEST(ApplicationTest, MinimiseButtonMinimisesTheMainWindow) {
    TempDir documents, program;
    Application app(documents.path().string(), program.path().string());
    app.setExitHandler([] {});
    app.start();
    app.mainWindow()->findChild<QPushButton*>("工具栏_最小化")->click();
    EXPECT_TRUE(app.mainWindow()->isMinimized());
}

}  // namespace
