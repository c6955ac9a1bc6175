#pragma once
// The pictures drawn for this program (logo, toolbar icons, the default
// avatar and the note picture of song lists), rendered from vector drawings
// at any size, sharp at the screen's device pixel ratio.
#include <QImage>
#include <QSize>

namespace Artwork {

enum class Picture {
    Logo,           // pink rounded square with a white note
    Badge,          // a small pink "BETA" pill beside the title
    Search,         // magnifying glass
    Minimise,       // a short bar
    Close,          // a cross
    Settings,       // a gear
    Maximise,       // a square, on a 28×40 button
    Restore,        // two overlapping squares, on a 28×40 button
    Clear,          // a waste bin
    DefaultAvatar,  // grey silhouette in a circle
    SongNote,       // white note on a light blue ground, for song lists
    // Round buttons that sit on pictures: a white disc with a pink play
    // triangle, and frosted dark discs with a white "next" and arrow.
    OverlayPlay,
    OverlayNext,
    OverlayEnter,
};

// `logicalSize` in device-independent pixels; the image holds
// logicalSize × devicePixelRatio pixels and carries that ratio.
QImage render(Picture picture, QSize logicalSize, qreal devicePixelRatio = 1.0);

}  // namespace Artwork
