#pragma once
// The play bar's small pieces of state that need no window: the "mm:ss" text
// of a time and the volume the mute button brings back.
#include <string>

// Whole seconds as "mm:ss", each part at least two digits; minutes are not
// capped at 59 and a negative time reads as "00:00".
std::string formatPlayTime(int seconds);

// The volume slider's position and the volume unmuting restores. Only the
// UI thread uses it.
class VolumeMemory {
public:
    // The volume unmuting falls back to when no audible volume was ever set,
    // so the mute button never leaves the sound off for good.
    static constexpr int kFallbackVolume = 20;

    // The slider's position before the user or the settings move it.
    explicit VolumeMemory(int designedPosition = kFallbackVolume) : position_(designedPosition) {}

    // The slider moved to `volume` (held to 0..100). An audible volume is
    // remembered; moving to 0 keeps the last audible one for unmuting.
    void move(int volume);
    // Muted: the slider goes to 0 and the remembered volume stays. Unmuted:
    // the slider goes back to the remembered volume.
    void toggleMute();

    int position() const { return position_; }
    int remembered() const { return remembered_; }
    bool muted() const { return position_ == 0; }

private:
    int position_;
    int remembered_ = 0;  // 0 until an audible volume is set
};
