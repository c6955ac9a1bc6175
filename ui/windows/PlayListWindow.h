#pragma once
// The play-list window: the play queue as a list of songs (title and first
// artist), opened from the play bar's cover menu. A view of the player's
// queue: it follows the queue while it is open, marks the song playing and
// keeps its row in view; activating a row plays that song at its queue
// position, and its clear button empties the queue through the player.
// A frameless 650×520 window without a parent, dragged by its title.
// UI thread only.
#include "ui/widgets/Theme.h"

#include <QWidget>
#include <string>
#include <vector>

class CloudApiClient;
class IconList;
class Player;
class QScrollArea;

class PlayListWindow : public QWidget {
    Q_OBJECT
public:
    // The row height of the list.
    static constexpr int kRowHeight = 66;

    // Loads the list at once. `player` and `catalogue` must outlive the window.
    PlayListWindow(Player& player, const CloudApiClient& catalogue, TypefaceChoice typeface);

    // Loads the list again from the queue as it is now. One queued song is
    // shown with the play bar's title and artists; more are named by one
    // request for all of them. Rows whose names do not come stay empty.
    void reload();

    IconList* list() const { return list_; }
    // The queued ids the rows stand for, row by row.
    const std::vector<std::string>& rowIds() const { return rowIds_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void createControls();
    void playChosen(int row);
    void clearQueue();
    void followSong();
    void markPlaying();
    void keepInView(const QRect& rect);

    Player& player_;
    const CloudApiClient& catalogue_;
    const TypefaceChoice typeface_;
    std::vector<std::string> rowIds_;
    QScrollArea* scrollArea_ = nullptr;
    IconList* list_ = nullptr;
};
