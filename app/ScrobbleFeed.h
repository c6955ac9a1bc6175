#pragma once
// Feeds the scrobbler from the player: a song that starts is "playing now"
// with its title, artists, album and length; each progress tick that
// counts on by one is a second played (a seek jumps and is not played
// time); a cleared queue stops the song.
//
// Threads: the UI thread only.
#include <QObject>

class Player;
class Scrobbler;

class ScrobbleFeed : public QObject {
public:
    ScrobbleFeed(Player& player, Scrobbler& scrobbler);

private:
    void onProgress(int ticks);

    Player& player_;
    Scrobbler& scrobbler_;
    int lastTicks_ = 0;
};
