// The shortcuts kept in the settings: their defaults, a changed key and a
// key set to none.
#include "TempDir.h"
#include "base/Shortcuts.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutsTest, DefaultsUntilChangedAndAnEmptyKeyMeansNone) {
    TempDir dir;
    const AppSettings settings(dir.file("config.ini"));
    Shortcuts shortcuts = Shortcuts::read(settings);
    EXPECT_EQ(shortcuts.window, (std::array<std::string, kShortcutCount>{"Space", "Ctrl+Left", "Ctrl+Right", "Ctrl+Up",
                                                                         "Ctrl+Down", "Ctrl+F", "Ctrl+L", "Esc"}));
    EXPECT_EQ(shortcuts.global[0], "Ctrl+Alt+P");
    EXPECT_EQ(shortcuts.global[5], "") << "the search box has no global hotkey";

    ASSERT_TRUE(Shortcuts::write(settings, 2, false, "Ctrl+Shift+N"));
    ASSERT_TRUE(Shortcuts::write(settings, 0, true, ""));
    EXPECT_FALSE(Shortcuts::write(settings, 5, true, "Ctrl+Alt+F")) << "no global hotkey to keep";
    EXPECT_FALSE(Shortcuts::write(settings, kShortcutCount, false, "X"));
    shortcuts = Shortcuts::read(settings);
    EXPECT_EQ(shortcuts.window[2], "Ctrl+Shift+N");
    EXPECT_EQ(shortcuts.global[0], "");
    EXPECT_EQ(shortcuts.global[1], "Ctrl+Alt+Left");
}

}  // namespace
