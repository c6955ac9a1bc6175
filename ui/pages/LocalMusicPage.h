#pragma once
// The "本地音乐" page: the songs of the user's own folders as the local
// index holds them (title, artists, album, length), the scan's progress and
// outcome, a button that scans again and one that opens the folder list.
// A double-click queues the songs listed and plays the one clicked.
//
// Threads: the UI thread only.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"
#include "ui/pages/PageTable.h"

class LocalLibrary;
class QLabel;
class QPushButton;
class QTreeWidget;

class LocalMusicPage : public Page {
    Q_OBJECT
public:
    static constexpr int kIndex = Pages::kLibraryPlaceholder;

    explicit LocalMusicPage(Navigation& navigation);

    // The library shown; it must outlive the page.
    void showLibrary(LocalLibrary* library);
    // Lists the indexed songs again.
    void refresh();

    QTreeWidget* songList() const { return list_; }
    QLabel* status() const { return status_; }
    QPushButton* scanButton() const { return scan_; }
    QPushButton* foldersButton() const { return folders_; }

signals:
    void foldersRequested();

private:
    void showProgress(int done, int total);
    void showOutcome();
    void play(int row);

    Navigation& navigation_;
    LocalLibrary* library_ = nullptr;
    QLabel* status_;
    QPushButton* scan_;
    QPushButton* folders_;
    QTreeWidget* list_;
};
