#pragma once
// The "快捷键" box, opened from the settings page: every shortcut with its
// key in the window and, for the player's controls, its global hotkey,
// each changed by pressing the new key in its field (the field's clear
// button removes it). A change is written to the settings file at once and
// announced; what keeps a global hotkey from working (another program
// holds it, or the desktop offers none) shows beside it.
//
// Threads: the UI thread only.
#include "base/AppSettings.h"
#include "base/Shortcuts.h"

#include <QWidget>
#include <array>
#include <string>

class QKeySequenceEdit;
class QLabel;

class ShortcutWindow : public QWidget {
    Q_OBJECT
public:
    explicit ShortcutWindow(AppSettings settings, QWidget* parent = nullptr);

    // Why global hotkeys cannot work here; an empty text: they can.
    void showGlobalUnavailable(const QString& why);
    // Why the global hotkey of entry `index` is not working (empty: it is).
    void showGlobalProblem(int index, const QString& problem);

    // What the fields do when the user has pressed a key (an empty key
    // removes the shortcut).
    void chooseKey(int index, bool global, const QString& key);

    QKeySequenceEdit* keyField(int index, bool global) const;
    QLabel* problemLabel(int index) const { return problems_.at(size_t(index)); }
    QLabel* unavailableLine() const { return unavailable_; }

signals:
    void shortcutChanged(int index, bool global, const QString& key);

private:
    AppSettings settings_;
    std::array<QKeySequenceEdit*, kShortcutCount> windowKeys_{};
    std::array<QKeySequenceEdit*, kShortcutCount> globalKeys_{};  // nullptr where none
    std::array<QLabel*, kShortcutCount> problems_{};
    QLabel* unavailable_;
};
