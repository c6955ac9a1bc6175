#pragma once
// The listener's parts of the program, made and wired in one place: the
// liked songs the hearts show (following the account), the play bar's
// heart and personal FM look, the music library's listener buttons, the
// home page's way into the daily songs, the listener song page with the
// history of this machine, and the keeper of that history and of the resume
// point. UI thread only; everything given must outlive it.
#include "browse/LikedSongs.h"
#include "player/ListeningKeeper.h"

#include <string>

class Account;
class CloudApiClient;
class MainWindow;
class PlayBar;
class Player;

class ListenerParts {
public:
    // The history and resume point are kept in `folder`.
    ListenerParts(const CloudApiClient& api, Player& player, const std::string& folder);

    // Puts the parts into the windows and follows the account from now on.
    void show(MainWindow& window, PlayBar& bar, const Account& account);

    LikedSongs& liked() { return liked_; }
    ListeningKeeper& keeper() { return keeper_; }

private:
    Player& player_;
    LikedSongs liked_;
    ListeningKeeper keeper_;
};
