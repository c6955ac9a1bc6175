#pragma once
// The names under which the program offers itself to the desktop's media
// controls (MPRIS over the session bus) and by which it is installed.
inline constexpr char kMprisService[] = "org.mpris.MediaPlayer2.mivra";
inline constexpr char kMprisPath[] = "/org/mpris/MediaPlayer2";
inline constexpr char kMprisRootInterface[] = "org.mpris.MediaPlayer2";
inline constexpr char kMprisPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
// The installed desktop entry's and icon's name, also the Wayland app id.
inline constexpr char kDesktopEntryName[] = "org.mivra.Music";
