#include "app/KeyboardControl.h"

#include "anim/ProgramAnimations.h"
#include "player/Player.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NowPlayingSlide.h"
#include "ui/windows/NowPlayingView.h"
#include "ui/windows/ShortcutWindow.h"

#include <QLineEdit>
#include <QShortcut>

KeyboardControl::KeyboardControl(MainWindow& window, Player& player, AppSettings settings)
    : window_(window), player_(player), settings_(std::move(settings)) {
    const Shortcuts shortcuts = Shortcuts::read(settings_);
    for (int i = 0; i < kShortcutCount; ++i) {
        auto* shortcut = new QShortcut(
            QKeySequence(QString::fromStdString(shortcuts.window[size_t(i)]), QKeySequence::PortableText), &window_);
        shortcut->setContext(Qt::WindowShortcut);
        const ShortcutAction action = shortcutTable()[size_t(i)].action;
        connect(shortcut, &QShortcut::activated, this, [this, action] { run(action); });
        windowKeys_[size_t(i)] = shortcut;
        if (global_.isAvailable() && shortcutTable()[size_t(i)].globalDefault)
            bindGlobal(i, shortcuts.global[size_t(i)]);
    }
    connect(&global_, &GlobalHotkeys::activated, this,
            [this](int index) { run(shortcutTable().at(size_t(index)).action); });
    connect(&global_, &GlobalHotkeys::changed, this, &KeyboardControl::showGlobalState);
}

void KeyboardControl::run(ShortcutAction action) {
    QWidget* nowPlaying = window_.nowPlayingView();
    switch (action) {
        case ShortcutAction::PlayPause:
            if (!player_.currentSongId().empty() && !player_.isLoading()) player_.togglePlay();
            return;
        case ShortcutAction::Previous: player_.previous(); return;
        case ShortcutAction::Next: player_.next(); return;
        case ShortcutAction::VolumeUp: player_.setVolume(std::min(100, player_.volume() + kVolumeStep)); return;
        case ShortcutAction::VolumeDown: player_.setVolume(std::max(0, player_.volume() - kVolumeStep)); return;
        case ShortcutAction::Search: {
            QLineEdit* box = window_.toolbar()->searchBox();
            box->setFocus(Qt::ShortcutFocusReason);
            box->selectAll();
            return;
        }
        case ShortcutAction::Lyrics: NowPlayingSlide::toggle(*nowPlaying, ProgramAnimations::nowPlayingSlide()); return;
        case ShortcutAction::CloseNowPlaying:
            if (nowPlaying->y() == MainWindow::kNowPlayingShownTop)
                NowPlayingSlide::toggle(*nowPlaying, ProgramAnimations::nowPlayingSlide());
            return;
    }
}

void KeyboardControl::rebind(int index, bool global, const QString& key) {
    if (index < 0 || index >= kShortcutCount) return;
    if (global)
        bindGlobal(index, key.toStdString());
    else
        windowKeys_[size_t(index)]->setKey(QKeySequence(key, QKeySequence::PortableText));
}

void KeyboardControl::bindGlobal(int index, const std::string& key) {
    const std::string problem = global_.bind(index, key, shortcutTable()[size_t(index)].label);
    if (box_) box_->showGlobalProblem(index, QString::fromStdString(problem));
}

void KeyboardControl::attach(ShortcutWindow& box) {
    box_ = &box;
    showGlobalState();
    connect(&box, &ShortcutWindow::shortcutChanged, this, &KeyboardControl::rebind);
}

void KeyboardControl::showGlobalState() {
    if (!box_) return;
    box_->showGlobalUnavailable(global_.isAvailable() ? QString() : QString::fromUtf8(GlobalHotkeys::kUnavailable));
    for (int i = 0; i < kShortcutCount; ++i) box_->showGlobalProblem(i, QString::fromStdString(global_.problem(i)));
}
