#pragma once
// What the player leaves for the next start, kept in the data folder: every
// song that starts goes first into the listening history, and the resume
// point (queue, song, position, volume, mode, personal FM) is written a moment after
// anything of it changes, every few seconds while a song plays, and when
// asked (as the program ends). The songs' lyric offsets are kept beside them.
//
// Lives on the UI thread with the player, which must outlive it.
#include "player/ListeningHistory.h"

#include <QObject>
#include <QTimer>
#include <string>

class Player;

class ListeningKeeper : public QObject {
    Q_OBJECT
public:
    // A change is written this long after it, several changes at once.
    static constexpr int kSettleMs = 1000;
    // While a song plays, its position is written this often.
    static constexpr int kPlayingWriteMs = 10000;

    // `folder` holds the files (made when first written).
    ListeningKeeper(Player& player, const std::string& folder);

    ListeningHistory& history() { return history_; }
    // Start-up: the player comes back to where the last run left it, paused;
    // in personal FM when it was there, for the account of `accountCookie`
    // (empty: logged out, the song comes back alone).
    void resumePlayer(const std::string& accountCookie);
    // Writes the resume point now.
    void writeResumePoint();

signals:
    // The history has a new first song.
    void historyChanged();

private:
    Player& player_;
    const std::string resumePath_;
    ListeningHistory history_;
    QTimer settle_;   // single shot after a change
    QTimer playing_;  // while a song plays
};
