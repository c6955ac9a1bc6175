#pragma once
// The toolbar search box's own behaviour: the hint text that leaves when the
// box gets the focus and comes back when it is left blank, Enter to search
// and a double-click to reach the settings page.
#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

class SearchBox : public QObject {
public:
    // `box` shows `hint` while it is blank and unfocused. `onEnter` runs on
    // Enter, `onDoubleClick` on a double-click; both on the UI thread.
    SearchBox(QLineEdit* box, QString hint, std::function<void()> onEnter, std::function<void()> onDoubleClick);

    // The text a search sends: whatever the box holds, the hint included.
    QString keyword() const;

    // Blank means empty, one space or two spaces; more spaces are kept.
    static bool isBlank(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    QString hint_;
    std::function<void()> onDoubleClick_;
};
