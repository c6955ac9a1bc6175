#pragma once
// The play-list window: the play queue as a list of songs (title and first
// artist), opened from the play bar's cover menu. A view of the player's
// queue: it follows the queue while it is open, marks the song playing,
// fades the songs played before it and keeps its row in view; activating a
// row plays that song at its queue position. A row's menu (right click)
// plays the song next, moves it up or down or takes it out (Delete does
// too); the clear button asks first, then empties the queue through the
// player.
// A frameless 650×520 window without a parent, dragged by its title.
// UI thread only.
#include "api/CloudRecords.h"
#include "ui/widgets/Theme.h"

#include <QWidget>
#include <map>
#include <string>
#include <vector>

class SongNames;
class IconList;
class Player;
class QMenu;
class QScrollArea;

class PlayListWindow : public QWidget {
    Q_OBJECT
public:
    // The row height of the list.
    static constexpr int kRowHeight = 66;

    // Loads the list at once. `player` and `names` must outlive the window.
    PlayListWindow(Player& player, const SongNames& names, TypefaceChoice typeface);

    // Loads the list again from the queue as it is now. One queued song is
    // shown with the play bar's title and artists; more are named by one
    // request for all of them. Rows whose names do not come stay empty.
    void reload();

    IconList* list() const { return list_; }
    // The queued ids the rows stand for, row by row.
    const std::vector<std::string>& rowIds() const { return rowIds_; }

    // The menu of row `row` (from 0), its items set for that row: "下一首播放",
    // "上移", "下移", "从播放列表中删除". Shown by a right click on the row.
    QMenu* rowMenu(int row);
    // What the clear button does: asks before emptying a queue that holds songs.
    void askToClear();

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createRowMenu();
    // Keeps the names the rows show now, for the next load.
    void keepShownNames();
    void playChosen(int row);
    void clearQueue();
    void followSong();
    void markPlaying();
    void keepInView(const QRect& rect);

    Player& player_;
    const SongNames& names_;
    const TypefaceChoice typeface_;
    std::vector<std::string> rowIds_;
    std::vector<std::string> shownIds_;           // the ids of the rows filled so far
    std::map<std::string, CoverItem> namedRows_;  // rows named so far, by song id
    QMenu* rowMenu_ = nullptr;
    int menuRow_ = -1;
    QScrollArea* scrollArea_ = nullptr;
    IconList* list_ = nullptr;
};
