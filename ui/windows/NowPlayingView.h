#pragma once
// The now-playing view: a full-window panel that shows the current song's
// cover blurred across its whole size, and in front of it the large cover,
// the song's title and the lyric list. The lyric list sits in a clipping
// container and is moved up so that the selected line sits near its top.
// It is parked below the window and slides up when the play bar's cover is
// clicked; pressing on it drags the main window.
#include "player/LyricTimeline.h"

#include <QImage>
#include <QWidget>
#include <vector>

class PictureBox;
class QLabel;
class QListWidget;

class NowPlayingView : public QWidget {
public:
    // The selected lyric line's top inside the lyric container.
    static constexpr int kSelectedLineTop = 35;
    static constexpr int kScrollCurve = 31;
    static constexpr int kScrollDurationMs = 120;

    explicit NowPlayingView(QWidget* window);

    // The cover behind everything (blurred) and as the large cover.
    void showCover(const QImage& cover);
    void setTitle(const QString& title);

    void clearLyrics();
    // One list item per lyric line; the list gets `listHeight` pixels.
    void setLyrics(const std::vector<LyricItem>& items, int listHeight);
    // Selects item `index` (from 0) and scrolls the list so that it sits
    // near the top. A scroll still running finishes first: the selection
    // moves, the list does not.
    void selectLyric(int index);

    QListWidget* lyricList() const { return lyrics_; }
    const QImage& backdrop() const { return backdrop_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage backdrop_;  // the blurred cover, smaller than the view, drawn scaled up
    PictureBox* cover_;
    QLabel* title_;
    QListWidget* lyrics_;
};
