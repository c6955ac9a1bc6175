#pragma once
// The play bar's icons, drawn for this program as vector pictures and
// rendered at any size. A mode icon, the lyrics icon and the spectrum icon
// come in a grey normal form and a pink highlighted form.
#include <QImage>
#include <QSize>

enum class PlayBarIcon {
    Previous,
    Next,
    Play,
    Pause,
    Mv,
    SingleLoop,
    ListLoop,
    Shuffle,
    Volume,
    Muted,
    Lyrics,
    Spectrum,
};

namespace PlayBarIcons {

// `logicalSize` in device-independent pixels, drawn at twice that so the
// icon stays sharp on high-density screens.
QImage render(PlayBarIcon icon, QSize logicalSize, bool highlighted = false);

}  // namespace PlayBarIcons
