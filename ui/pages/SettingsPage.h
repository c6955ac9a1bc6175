#pragma once
// The settings page (page 10): the account box with the log-out button, and
// the lyric settings. Of those only the two colours and the fill mode act:
// a change is written to the settings file at once and announced, so the
// desktop lyrics take it at once. The quality box's choice is announced
// for the song URLs to ask for it; the typeface and style boxes keep the
// stored values and, doing nothing, are hidden. The "服务" group chooses how the service is
// reached.
#include "base/AppSettings.h"
#include "base/StoredSettings.h"
#include "ui/pages/Page.h"
#include "ui/windows/ColourPickerWindow.h"

#include <QPointer>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class PictureBox;
class ServiceSettingsGroup;

// The lyric and spectrum colours (ARGB) and the desktop lyrics' fill mode.
struct LyricColours {
    std::int32_t first = 0;
    std::int32_t second = 0;
    int fillMode = 0;
};

class SettingsPage : public Page {
    Q_OBJECT
public:
    SettingsPage();
    ~SettingsPage() override;

    // Shows the stored settings without running any handler, and makes
    // `settings` the file later changes are written to.
    void applyStored(const StoredSettings& stored, const AppSettings& settings);

    // Opens the colour picker for colour 1 or 2 (raising it when open).
    void editColour(int which);
    // What the picker reports: the colour being edited becomes `argb`.
    void setEditedColour(std::uint32_t argb);
    // What the gradient box does when the user picks item `index`.
    void chooseFillMode(int index);

    const LyricColours& lyricColours() const { return colours_; }
    PictureBox* accountAvatar() const { return avatar_; }
    QLabel* nickname() const { return nickname_; }
    QPushButton* logOutButton() const { return logOut_; }
    ColourPickerWindow* colourPicker() const { return picker_; }
    QComboBox* qualityBox() const { return qualities_; }
    ServiceSettingsGroup* serviceGroup() const { return service_; }

signals:
    // The colours or the fill mode changed (already written to the file).
    void lyricColoursChanged(const LyricColours& colours);
    // The user asked for the playback settings window.
    void playbackSettingsRequested();
    // The user asked for the "快捷键" box.
    void shortcutsRequested();
    // The user asked for the local music page (its folders are set there).
    void localMusicRequested();
    // The user asked for the "听歌记录" (scrobbling) settings.
    void scrobbleSettingsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSwatch(QLabel* swatch, std::int32_t argb);
    // The buttons below "播放设置" that open the shortcuts, the local music
    // and the scrobbling settings.
    void addShortcutAndLocalMusicButtons(QWidget* page);

    PictureBox* avatar_;
    QLabel* nickname_;
    QPushButton* logOut_;
    QComboBox* typefaces_;
    QComboBox* styles_;
    QComboBox* qualities_;
    ServiceSettingsGroup* service_;
    QComboBox* fillModes_;
    QLabel* swatch1_;
    QLabel* swatch2_;
    std::optional<AppSettings> settings_;
    LyricColours colours_;
    int editingColour_ = 1;
    QPointer<ColourPickerWindow> picker_;
};
