#pragma once
// The playback settings, opened from the settings page: the equalizer with
// its presets and ten band sliders, loudness levelling (off, by song, by
// album; the target), the output device, and the sleep timer. Every change
// acts at once (the equalizer on the audio decoded next, the loudness from
// the next song) and is written to the settings file, except the sleep
// timer, which lasts for this run only. One window at a time (the settings
// page raises it when open).
//
// Threads: the UI thread only.
#include "audio/AudioEngine.h"
#include "audio/PortAudioOutput.h"
#include "base/AppSettings.h"
#include "player/PlaybackPreferences.h"

#include <QWidget>
#include <array>
#include <vector>

class Player;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSlider;

class PlaybackSettingsWindow : public QWidget {
    Q_OBJECT
public:
    PlaybackSettingsWindow(AudioEngine& engine, Player& player, AppSettings settings, QWidget* parent = nullptr);

    // What the controls do when the user changes them.
    void chooseEqualizerOn(bool on);
    void choosePreset(int index);
    void moveBand(int band, int gainDb);
    void chooseLoudnessMode(int index);
    void chooseLoudnessTarget(double lufs);
    void chooseDevice(int index);
    void chooseSleep(int index);

private:
    QWidget* equalizerGroup();
    QWidget* levellingGroup();
    QWidget* outputGroup();
    void showEqualizer();
    void applyEqualizer();

    AudioEngine& engine_;
    Player& player_;
    const AppSettings settings_;
    PlaybackPreferences preferences_;
    std::vector<OutputDevice> devices_;

    QCheckBox* equalizerOn_ = nullptr;
    QComboBox* presets_ = nullptr;
    std::array<QSlider*, kEqualizerBands> bands_{};
    QComboBox* loudnessMode_ = nullptr;
    QDoubleSpinBox* loudnessTarget_ = nullptr;
    QComboBox* deviceBox_ = nullptr;
    QComboBox* sleep_ = nullptr;
};
