// Global hotkeys through the desktop portal, against a fake portal on the
// test's private session bus: a desktop without the interface, the key
// texts written as the portal's triggers, shortcuts bound and pressed, a
// shortcut the desktop refuses, and a change binding all in a new session.
#include "desktop/GlobalHotkeys.h"

#include "FakePortal.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kAnswerTimeoutMs = 5000;

TEST(KeyChordTest, KeyTextsAreWrittenAsThePortalsTriggers) {
    struct Case {
        const char* text;
        std::optional<std::string> trigger;
    };
    const Case cases[] = {
        {"Ctrl+Alt+P", "CTRL+ALT+p"},
        {"Ctrl+Alt+Left", "CTRL+ALT+Left"},
        {"Shift+Meta+F12", "SHIFT+LOGO+F12"},
        {"Space", "space"},
        {"Ctrl+7", "CTRL+7"},
        {"Alt+PgDown", "ALT+Next"},
        {"Media Next", "XF86AudioNext"},
        {"Ctrl++", std::nullopt},  // no name known here for "+"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<KeyChord> chord = KeyChord::parse(c.text);
        ASSERT_TRUE(chord);
        EXPECT_EQ(chord->xdgTrigger(), c.trigger);
    }
}

TEST(PortalHotkeysTest, ADesktopWithoutTheInterfaceOffersNoHotkeys) {
    struct Case {
        const char* name;
        std::optional<uint> portalVersion;  // nothing: no portal on the bus
    };
    const Case cases[] = {{"no portal", std::nullopt}, {"no GlobalShortcuts interface", 0u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<FakePortal> portal;
        if (c.portalVersion) portal.emplace(*c.portalVersion);
        GlobalHotkeys hotkeys(QDBusConnection::sessionBus(), nullptr);
        QSignalSpy changed(&hotkeys, &GlobalHotkeys::changed);
        ASSERT_TRUE(changed.wait(kAnswerTimeoutMs));
        EXPECT_FALSE(hotkeys.isAvailable());
        EXPECT_EQ(hotkeys.bind(1, "Ctrl+Alt+P"), GlobalHotkeys::kUnavailable);
    }
}

TEST(PortalHotkeysTest, ShortcutsAreBoundInASessionWithTheirTriggersAndFireWhenPressed) {
    FakePortal portal(1);
    GlobalHotkeys hotkeys(QDBusConnection::sessionBus(), nullptr);
    QSignalSpy changed(&hotkeys, &GlobalHotkeys::changed);
    QSignalSpy activated(&hotkeys, &GlobalHotkeys::activated);
    EXPECT_TRUE(hotkeys.isAvailable()) << "taken as available while the portal is asked";
    EXPECT_EQ(hotkeys.bind(0, "Ctrl+Alt+P", "播放/暂停"), "");
    EXPECT_EQ(hotkeys.bind(2, "Ctrl+Alt+Right", "下一首"), "");
    EXPECT_EQ(hotkeys.bind(5, "Ctrl+Nonsense", "音量"), GlobalHotkeys::kUnknownKey);
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.boundIn(portal.lastSession()).size() == 2; }, kAnswerTimeoutMs));
    // Its state, then its answer to the binding.
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() >= 2; }, kAnswerTimeoutMs));
    EXPECT_EQ(hotkeys.problem(0), "");
    EXPECT_TRUE(hotkeys.isAvailable());
    EXPECT_EQ(portal.openSessions().size(), 1u);

    const std::map<QString, QVariantMap>& bound = portal.boundIn(portal.lastSession());
    ASSERT_EQ(bound.count("mivra-shortcut-0"), 1u);
    EXPECT_EQ(bound.at("mivra-shortcut-0").value("preferred_trigger").toString(), "CTRL+ALT+p");
    EXPECT_EQ(bound.at("mivra-shortcut-0").value("description").toString(), "播放/暂停");
    EXPECT_EQ(bound.at("mivra-shortcut-2").value("preferred_trigger").toString(), "CTRL+ALT+Right");

    portal.activate(portal.lastSession(), "mivra-shortcut-2");
    ASSERT_TRUE(activated.wait(kAnswerTimeoutMs));
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 2);
    // Another session's shortcut or one of another program is not ours.
    portal.activate(portal.lastSession() + "x", "mivra-shortcut-2");
    portal.activate(portal.lastSession(), "other-program-0");
    portal.activate(portal.lastSession(), "mivra-shortcut-0");
    ASSERT_TRUE(activated.wait(kAnswerTimeoutMs));
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), 0);
}

TEST(PortalHotkeysTest, AShortcutTheDesktopRefusesIsReportedAndAChangeBindsAllInANewSession) {
    FakePortal portal(2);
    portal.takeTrigger("CTRL+ALT+Right");
    GlobalHotkeys hotkeys(QDBusConnection::sessionBus(), nullptr);
    QSignalSpy changed(&hotkeys, &GlobalHotkeys::changed);
    hotkeys.bind(0, "Ctrl+Alt+P", "播放/暂停");
    hotkeys.bind(2, "Ctrl+Alt+Right", "下一首");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hotkeys.problem(2) == GlobalHotkeys::kRefused; }, kAnswerTimeoutMs))
        << "the desktop did not take it";
    EXPECT_EQ(hotkeys.problem(0), "");
    const QString first = portal.lastSession();

    // The user picks another key: both are bound again, in a new session.
    changed.clear();
    EXPECT_EQ(hotkeys.bind(2, "Ctrl+Alt+N", "下一首"), "");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return portal.lastSession() != first && portal.boundIn(portal.lastSession()).size() == 2; },
        kAnswerTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !changed.isEmpty(); }, kAnswerTimeoutMs)) << "the desktop's answer";
    EXPECT_EQ(hotkeys.problem(2), "");
    EXPECT_EQ(portal.boundIn(portal.lastSession()).at("mivra-shortcut-2").value("preferred_trigger").toString(),
              "CTRL+ALT+n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.openSessions().size() == 1; }, kAnswerTimeoutMs))
        << "the old session is closed";

    // A key removed leaves the other bound.
    const QString second = portal.lastSession();
    EXPECT_EQ(hotkeys.bind(0, ""), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.lastSession() != second; }, kAnswerTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.boundIn(portal.lastSession()).size() == 1; }, kAnswerTimeoutMs));
    EXPECT_EQ(portal.boundIn(portal.lastSession()).count("mivra-shortcut-2"), 1u);
}

}  // namespace
