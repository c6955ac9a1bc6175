#include "ui/windows/PlaybackSettingsWindow.h"

#include "audio/PlayedAudioCache.h"
#include "audio/PortAudioOutput.h"
#include "player/LoudnessLevelling.h"
#include "player/Player.h"
#include "ui/widgets/Theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The sleep timer's choices: minutes, or 0 for the end of the song.
struct SleepChoice {
    const char* text;
    int minutes;
};
constexpr std::array<SleepChoice, 5> kSleepChoices = {
    {{"15 分钟后", 15}, {"30 分钟后", 30}, {"60 分钟后", 60}, {"90 分钟后", 90}, {"播完当前歌曲后", 0}}};

const char* const kBandNames[kEqualizerBands] = {"31", "62", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"};

QLabel* caption(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setFont(Theme::font(14));
    return label;
}

QGroupBox* group(const char* name, const char* title, QWidget* parent) {
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    box->setObjectName(name);
    box->setFont(Theme::font(15));
    return box;
}

}  // namespace

PlaybackSettingsWindow::PlaybackSettingsWindow(AudioEngine& engine, Player& player, AppSettings settings,
                                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      engine_(engine),
      player_(player),
      settings_(std::move(settings)),
      preferences_(PlaybackPreferences::read(settings_)),
      devices_(PortAudioOutput::devices()) {
    setObjectName("播放设置窗口");
    setWindowTitle(QString::fromUtf8("播放设置"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(equalizerGroup());
    layout->addWidget(levellingGroup());
    layout->addWidget(outputGroup());
    layout->addWidget(cacheGroup());
    showEqualizer();
    resize(480, sizeHint().height());
}

QWidget* PlaybackSettingsWindow::equalizerGroup() {
    QGroupBox* box = group("分组框_均衡器", "均衡器", this);
    auto* layout = new QGridLayout(box);
    equalizerOn_ = new QCheckBox(QString::fromUtf8("开启"), box);
    equalizerOn_->setObjectName("均衡器_开启");
    presets_ = new QComboBox(box);
    presets_->setObjectName("均衡器_预设");
    for (const EqualizerPreset& preset : kEqualizerPresets) presets_->addItem(QString::fromUtf8(preset.name));
    presets_->addItem(QString::fromUtf8(kCustomPresetName));
    layout->addWidget(equalizerOn_, 0, 0, 1, 3);
    layout->addWidget(caption("预设", box), 0, 4, 1, 2, Qt::AlignRight);
    layout->addWidget(presets_, 0, 6, 1, 4);
    for (int band = 0; band < kEqualizerBands; ++band) {
        auto* slider = new QSlider(Qt::Vertical, box);
        slider->setObjectName(QString::fromUtf8("均衡器_频段%1").arg(band + 1));
        slider->setRange(-int(kEqualizerLimitDb), int(kEqualizerLimitDb));
        slider->setMinimumHeight(120);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setTickInterval(6);
        bands_[static_cast<size_t>(band)] = slider;
        layout->addWidget(slider, 1, band, Qt::AlignHCenter);
        layout->addWidget(caption(kBandNames[band], box), 2, band, Qt::AlignHCenter);
        connect(slider, &QSlider::sliderMoved, this, [this, band](int gain) { moveBand(band, gain); });
    }
    connect(equalizerOn_, &QCheckBox::clicked, this, &PlaybackSettingsWindow::chooseEqualizerOn);
    connect(presets_, &QComboBox::activated, this, &PlaybackSettingsWindow::choosePreset);
    return box;
}

QWidget* PlaybackSettingsWindow::levellingGroup() {
    QGroupBox* box = group("分组框_音量均衡", "音量均衡", this);
    auto* layout = new QHBoxLayout(box);
    loudnessMode_ = new QComboBox(box);
    loudnessMode_->setObjectName("音量均衡_方式");
    loudnessMode_->addItems({QString::fromUtf8("关闭"), QString::fromUtf8("按单曲"), QString::fromUtf8("按专辑")});
    loudnessTarget_ = new QDoubleSpinBox(box);
    loudnessTarget_->setObjectName("音量均衡_目标");
    loudnessTarget_->setRange(LoudnessSettings::kLowestTargetLufs, LoudnessSettings::kHighestTargetLufs);
    loudnessTarget_->setDecimals(1);
    loudnessTarget_->setSuffix(" LUFS");
    const LoudnessSettings levelling = LoudnessSettings::read(settings_);
    loudnessMode_->setCurrentIndex(static_cast<int>(levelling.mode));
    loudnessTarget_->setValue(levelling.targetLufs);
    layout->addWidget(loudnessMode_);
    layout->addWidget(caption("目标响度", box));
    layout->addWidget(loudnessTarget_);
    layout->addStretch();
    connect(loudnessMode_, &QComboBox::activated, this, &PlaybackSettingsWindow::chooseLoudnessMode);
    connect(loudnessTarget_, &QDoubleSpinBox::editingFinished, this,
            [this] { chooseLoudnessTarget(loudnessTarget_->value()); });
    return box;
}

QWidget* PlaybackSettingsWindow::outputGroup() {
    QGroupBox* box = group("分组框_输出", "输出与定时", this);
    auto* layout = new QGridLayout(box);
    deviceBox_ = new QComboBox(box);
    deviceBox_->setObjectName("输出_设备");
    int chosen = 0;
    for (size_t i = 0; i < devices_.size(); ++i) {
        const QString name = QString::fromStdString(devices_[i].name);
        deviceBox_->addItem(devices_[i].number < 0 ? QString::fromUtf8("默认设备：") + name : name);
        if (devices_[i].number >= 0 && devices_[i].name == preferences_.outputDevice) chosen = static_cast<int>(i);
    }
    if (devices_.empty()) deviceBox_->addItem(QString::fromUtf8("没有可用的声音设备"));
    deviceBox_->setCurrentIndex(chosen);
    sleep_ = new QComboBox(box);
    sleep_->setObjectName("定时_睡眠");
    sleep_->addItem(QString::fromUtf8("关闭"));
    for (const SleepChoice& choice : kSleepChoices) sleep_->addItem(QString::fromUtf8(choice.text));
    if (player_.sleepsAtSongEnd()) sleep_->setCurrentIndex(static_cast<int>(kSleepChoices.size()));
    for (size_t i = 0; i < kSleepChoices.size(); ++i) {
        if (player_.sleepTimer().isActive() && player_.sleepTimer().interval() == kSleepChoices[i].minutes * 60 * 1000)
            sleep_->setCurrentIndex(static_cast<int>(i) + 1);
    }
    // A sleep that came is over: the box says so.
    connect(&player_, &Player::sleepStarted, sleep_, [box = sleep_] { box->setCurrentIndex(0); });
    layout->addWidget(caption("输出设备", box), 0, 0);
    layout->addWidget(deviceBox_, 0, 1);
    layout->addWidget(caption("睡眠定时", box), 1, 0);
    layout->addWidget(sleep_, 1, 1);
    layout->setColumnStretch(1, 1);
    connect(deviceBox_, &QComboBox::activated, this, &PlaybackSettingsWindow::chooseDevice);
    connect(sleep_, &QComboBox::activated, this, &PlaybackSettingsWindow::chooseSleep);
    return box;
}

QWidget* PlaybackSettingsWindow::cacheGroup() {
    QGroupBox* box = group("分组框_缓存", "播放缓存", this);
    auto* layout = new QHBoxLayout(box);
    cacheSize_ = new QSpinBox(box);
    cacheSize_->setObjectName("缓存_上限");
    cacheSize_->setRange(PlaybackPreferences::kLeastCacheMegabytes, PlaybackPreferences::kMostCacheMegabytes);
    cacheSize_->setSingleStep(100);
    cacheSize_->setSuffix(" MB");
    cacheSize_->setValue(preferences_.cacheMegabytes);
    layout->addWidget(caption("听过的歌曲最多占用", box));
    layout->addWidget(cacheSize_);
    layout->addStretch();
    connect(cacheSize_, &QSpinBox::editingFinished, this, [this] { chooseCacheSize(cacheSize_->value()); });
    return box;
}

void PlaybackSettingsWindow::showEqualizer() {
    const QSignalBlocker quietOn(equalizerOn_), quietPresets(presets_);
    equalizerOn_->setChecked(preferences_.equalizer.on);
    const int preset = presets_->findText(QString::fromStdString(preferences_.preset));
    presets_->setCurrentIndex(preset < 0 ? presets_->count() - 1 : preset);
    for (int band = 0; band < kEqualizerBands; ++band) {
        QSlider* slider = bands_[static_cast<size_t>(band)];
        const QSignalBlocker quiet(slider);
        slider->setValue(static_cast<int>(std::lround(preferences_.equalizer.gainsDb[static_cast<size_t>(band)])));
        slider->setEnabled(preferences_.equalizer.on);
    }
    presets_->setEnabled(preferences_.equalizer.on);
}

void PlaybackSettingsWindow::applyEqualizer() {
    engine_.setEqualizer(preferences_.equalizer);
    preferences_.writeEqualizer(settings_);
    showEqualizer();
}

void PlaybackSettingsWindow::chooseEqualizerOn(bool on) {
    preferences_.equalizer.on = on;
    applyEqualizer();
}

void PlaybackSettingsWindow::choosePreset(int index) {
    if (index < 0 || index >= static_cast<int>(kEqualizerPresets.size())) return;  // "自定义" is set by the sliders
    preferences_.preset = kEqualizerPresets[static_cast<size_t>(index)].name;
    preferences_.equalizer.gainsDb = kEqualizerPresets[static_cast<size_t>(index)].gainsDb;
    applyEqualizer();
}

void PlaybackSettingsWindow::moveBand(int band, int gainDb) {
    if (band < 0 || band >= kEqualizerBands) return;
    preferences_.equalizer.gainsDb[static_cast<size_t>(band)] = gainDb;
    preferences_.preset = kCustomPresetName;
    applyEqualizer();
}

void PlaybackSettingsWindow::chooseLoudnessMode(int index) {
    LoudnessSettings levelling = LoudnessSettings::read(settings_);
    if (index < 0 || index > 2) return;
    levelling.mode = static_cast<LoudnessMode>(index);
    levelling.write(settings_);
}

void PlaybackSettingsWindow::chooseLoudnessTarget(double lufs) {
    LoudnessSettings levelling = LoudnessSettings::read(settings_);
    levelling.targetLufs = std::clamp(lufs, LoudnessSettings::kLowestTargetLufs, LoudnessSettings::kHighestTargetLufs);
    levelling.write(settings_);
}

void PlaybackSettingsWindow::chooseDevice(int index) {
    if (index < 0 || index >= static_cast<int>(devices_.size())) return;
    const OutputDevice& device = devices_[static_cast<size_t>(index)];
    if (!engine_.useDevice(device.number)) return;
    preferences_.outputDevice = device.number < 0 ? std::string() : device.name;
    preferences_.writeOutputDevice(settings_);
}

void PlaybackSettingsWindow::chooseSleep(int index) {
    if (index == 0) {
        player_.cancelSleep();
    } else if (index > 0 && index <= static_cast<int>(kSleepChoices.size())) {
        const SleepChoice& choice = kSleepChoices[static_cast<size_t>(index) - 1];
        if (choice.minutes == 0)
            player_.sleepAtSongEnd();
        else
            player_.sleepAfter(choice.minutes);
    }
}

void PlaybackSettingsWindow::chooseCacheSize(int megabytes) {
    preferences_.cacheMegabytes =
        std::clamp(megabytes, PlaybackPreferences::kLeastCacheMegabytes, PlaybackPreferences::kMostCacheMegabytes);
    preferences_.writeCacheSize(settings_);
    if (player_.playedAudio()) player_.playedAudio()->setMaxBytes(preferences_.cacheBytes());
}
