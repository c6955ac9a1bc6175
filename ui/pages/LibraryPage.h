#pragma once
// The music library (page 11): the account's avatar and name over its
// playlists; a click on a playlist opens it, and the refresh button asks
// for the account and the list again. The list is the view of the
// listener's library feed, loaded again when a subscription changes it.
#include "base/BackgroundTask.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <QImage>
#include <string>

class FlatButton;
class IconList;
class PictureBox;
class QLabel;
class QScrollBar;

class LibraryPage : public Page {
public:
    LibraryPage(Navigation& navigation, QScrollBar* scrollBar);

    // The account's avatar and nickname + "的音乐库".
    void showAccount(const std::string& nickname, const QImage& avatar);
    // Loads the playlists of `userId` without waiting; a newer load
    // replaces an older one.
    BackgroundTask::Handle loadLibrary(const std::string& userId, const std::string& cookie);
    void showFeeds(CatalogueFeeds& feeds) override;
    void followAccount(Account& account) override;

    PictureBox* avatar() const { return avatar_; }
    QLabel* heading() const { return heading_; }
    FlatButton* refreshButton() const { return refresh_; }
    IconList* playlistList() const { return playlists_; }
    const ItemIds& libraryIds() const { return libraryIds_; }

private:
    // Opens the local music page.
    void addLocalMusicButton(QWidget* box);

    Navigation& navigation_;
    PictureBox* avatar_;
    QLabel* heading_;
    FlatButton* refresh_;
    IconList* playlists_;
    ItemIds libraryIds_;
};
