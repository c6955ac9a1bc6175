// Global hotkeys on a virtual X display (the test runs under xvfb-run):
// key texts read into what X grabs, a hotkey pressed outside any window of
// ours, a hotkey another program holds, and a display that is not there.
#include "desktop/GlobalHotkeys.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

namespace {

TEST(KeyChordTest, KeyTextsReadIntoModifiersAndKeysyms) {
    struct Case {
        const char* text;
        std::optional<std::pair<std::uint16_t, std::uint32_t>> chord;
    };
    const Case cases[] = {
        {"Ctrl+Alt+P", std::pair<std::uint16_t, std::uint32_t>{4 | 8, 'p'}},
        {"Space", std::pair<std::uint16_t, std::uint32_t>{0, 0x20}},
        {"Ctrl+Left", std::pair<std::uint16_t, std::uint32_t>{4, 0xff51}},
        {"Shift+Meta+F12", std::pair<std::uint16_t, std::uint32_t>{1 | 64, 0xffc9}},
        {"Ctrl++", std::pair<std::uint16_t, std::uint32_t>{4, '+'}},
        {"Media Next", std::pair<std::uint16_t, std::uint32_t>{0, 0x1008ff17}},
        {"", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"Ctrl+Nonsense", std::nullopt},
        {"Ctrl+é", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<KeyChord> chord = KeyChord::parse(c.text);
        ASSERT_EQ(chord.has_value(), c.chord.has_value());
        if (!chord) continue;
        EXPECT_EQ(chord->modifiers, c.chord->first);
        EXPECT_EQ(chord->keysym, c.chord->second);
    }
}

class GlobalHotkeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        ASSERT_TRUE(display && *display) << "run under xvfb-run";
        display_ = display;
    }
    static void press(const char* keys) { ASSERT_EQ(std::system((std::string("xdotool key ") + keys).c_str()), 0); }
    std::string display_;
};

TEST_F(GlobalHotkeysTest, ABoundHotkeyFiresWithAndWithoutNumLockAndStopsOnceUnbound) {
    GlobalHotkeys hotkeys(display_, nullptr);
    ASSERT_TRUE(hotkeys.isAvailable());
    QSignalSpy activated(&hotkeys, &GlobalHotkeys::activated);
    EXPECT_EQ(hotkeys.bind(3, "Ctrl+Alt+P"), "");
    EXPECT_EQ(hotkeys.bind(4, "Ctrl+Alt+Right"), "");

    press("ctrl+alt+p");
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 3);
    press("ctrl+alt+Right");
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 4);

    press("Num_Lock ctrl+alt+p Num_Lock");
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000)) << "Num Lock on";
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 3);

    EXPECT_EQ(hotkeys.bind(3, ""), "");
    press("ctrl+alt+p ctrl+alt+Right");
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 4) << "only the hotkey still bound";
}

TEST_F(GlobalHotkeysTest, AHotkeyAnotherProgramHoldsOrAKeyTheKeyboardLacksIsReported) {
    X11Hotkeys otherProgram(display_);  // a connection of its own: another X client
    ASSERT_EQ(otherProgram.grab(1, *KeyChord::parse("Ctrl+Alt+K")), X11Hotkeys::GrabResult::Grabbed);

    GlobalHotkeys hotkeys(display_, nullptr);
    EXPECT_EQ(hotkeys.bind(7, "Ctrl+Alt+K"), GlobalHotkeys::kTaken);
    EXPECT_EQ(hotkeys.problem(7), GlobalHotkeys::kTaken);
    EXPECT_EQ(hotkeys.bind(8, "Ctrl+Nonsense"), GlobalHotkeys::kUnknownKey);
    EXPECT_EQ(hotkeys.bind(9, "Ctrl+Alt+J"), "");
    EXPECT_EQ(hotkeys.problem(9), "");

    // Once the other program lets go, the key can be had.
    otherProgram.releaseAll();
    EXPECT_EQ(hotkeys.bind(7, "Ctrl+Alt+K"), "");
    EXPECT_EQ(hotkeys.problem(7), "");
}

TEST_F(GlobalHotkeysTest, WithoutADisplayTheHotkeysSayTheyAreUnavailable) {
    GlobalHotkeys hotkeys(":97", nullptr);
    EXPECT_FALSE(hotkeys.isAvailable());
    EXPECT_EQ(hotkeys.bind(1, "Ctrl+Alt+P"), GlobalHotkeys::kUnavailable);
}

}  // namespace
