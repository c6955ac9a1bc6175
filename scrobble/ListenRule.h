#pragma once
// When a play counts as a listen: once the song has sounded for half its
// length or four minutes, whichever comes first (seconds actually played:
// a seek forward does not count). Songs of 30 seconds or less never count.
// A pure value; the scrobbler feeds it one second at a time.
class ListenRule {
public:
    static constexpr int kMaxSecondsNeeded = 240;
    static constexpr int kShortestSeconds = 30;

    ListenRule() = default;
    explicit ListenRule(int lengthSeconds) : lengthSeconds_(lengthSeconds) {}

    // One more second played; true exactly once: at the second the play
    // becomes a listen.
    bool playedSecond();
    bool counted() const { return counted_; }

private:
    int lengthSeconds_ = 0;
    int played_ = 0;
    bool counted_ = false;
};
