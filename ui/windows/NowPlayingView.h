#pragma once
// The now-playing view: a full-window panel that shows the current song's
// cover blurred across its whole size, and in front of it the large cover,
// the song's title, the lyric offset with its two buttons and the lyric list. The lyric list sits in a clipping
// container and is moved up so that the selected line sits near its top.
// It is parked below the window and slides up when the play bar's cover is
// clicked; pressing on it drags the main window.
#include "player/LyricTimeline.h"

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

class FlatButton;
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
    // moves, the list does not. A line sung part-way stops filling when
    // another is selected.
    void selectLyric(int index);
    // Word-timed lyrics: how much of the selected line is sung (0 to 1),
    // drawn over its first line from the left in the sung colour; nothing
    // draws the line as it is.
    void showSungPart(std::optional<double> part);
    std::optional<double> sungPart() const;

    QListWidget* lyricList() const { return lyrics_; }
    // The lyric offset of the song shown, and the buttons that shift the
    // lyrics half a second earlier or later.
    void showLyricOffset(int offsetMs);
    FlatButton* earlierButton() const { return earlier_; }
    FlatButton* laterButton() const { return later_; }
    QLabel* offsetLabel() const { return offset_; }
    const QImage& backdrop() const { return backdrop_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage backdrop_;  // the blurred cover, smaller than the view, drawn scaled up
    PictureBox* cover_;
    QLabel* title_;
    QListWidget* lyrics_;
    FlatButton* earlier_;
    QLabel* offset_;
    FlatButton* later_;
};
