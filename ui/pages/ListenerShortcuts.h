#pragma once
// The row of listener buttons on the music library page: "每日推荐",
// "私人FM", "最近播放" and "听歌排行". It only tells which one was clicked.
#include <QWidget>

class QPushButton;

class ListenerShortcuts : public QWidget {
    Q_OBJECT
public:
    explicit ListenerShortcuts(QWidget* parent);

    QPushButton* dailyButton() const { return daily_; }
    QPushButton* fmButton() const { return fm_; }
    QPushButton* playedHereButton() const { return playedHere_; }
    QPushButton* weekRecordButton() const { return weekRecord_; }

signals:
    void dailyClicked();
    void fmClicked();
    void playedHereClicked();
    void weekRecordClicked();

private:
    QPushButton* daily_;
    QPushButton* fm_;
    QPushButton* playedHere_;
    QPushButton* weekRecord_;
};
