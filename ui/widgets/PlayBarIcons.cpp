#include "ui/widgets/PlayBarIcons.h"

#include "ui/widgets/SvgPicture.h"

#include <string>

namespace {

constexpr const char* kGrey = "#5A606B";
constexpr const char* kPink = "#EC6E9A";
constexpr qreal kPixelRatio = 2.0;

// Two arrows chasing each other round a rounded loop, on a 24-unit square.
constexpr const char* kLoop =
    "<path d='M5 11 V9.5 A2.5 2.5 0 0 1 7.5 7 H18 M15.5 4.5 L18 7 L15.5 9.5"
    " M19 13 V14.5 A2.5 2.5 0 0 1 16.5 17 H6 M8.5 14.5 L6 17 L8.5 19.5'"
    " fill='none' stroke-width='1.7' stroke-linecap='round' stroke-linejoin='round'/>";

constexpr const char* kSpeaker = "<path d='M4 9.5 H7.5 L12 6 V18 L7.5 14.5 H4 Z' stroke-linejoin='round'/>";

// The drawing of `icon` with `colour` for strokes and fills.
std::string svgBody(PlayBarIcon icon, const std::string& colour) {
    const std::string stroke = "stroke='" + colour + "'";
    const std::string fill = "fill='" + colour + "'";
    switch (icon) {
        case PlayBarIcon::Previous:
            return "<g " + fill +
                   "><rect x='5' y='6' width='2' height='12' rx='1'/>"
                   "<path d='M18.5 6.6 V17.4 A0.8 0.8 0 0 1 17.3 18 L9.2 12.6 A0.7 0.7 0 0 1 9.2 11.4 L17.3 6 A0.8 0.8 "
                   "0 0 "
                   "1 18.5 6.6 Z'/></g>";
        case PlayBarIcon::Next:
            return "<g " + fill +
                   "><rect x='17' y='6' width='2' height='12' rx='1'/>"
                   "<path d='M5.5 6.6 V17.4 A0.8 0.8 0 0 0 6.7 18 L14.8 12.6 A0.7 0.7 0 0 0 14.8 11.4 L6.7 6 A0.8 0.8 "
                   "0 0 "
                   "0 5.5 6.6 Z'/></g>";
        case PlayBarIcon::Play:
            return "<circle cx='12' cy='12' r='11' fill='#F48FB1'/>"
                   "<path d='M9.8 7.6 L16.6 12 L9.8 16.4 Z' fill='#FFFFFF' stroke='#FFFFFF' stroke-width='1'"
                   " stroke-linejoin='round'/>";
        case PlayBarIcon::Pause:
            return "<circle cx='12' cy='12' r='11' fill='#F48FB1'/>"
                   "<rect x='8.3' y='7.5' width='2.6' height='9' rx='1' fill='#FFFFFF'/>"
                   "<rect x='13.1' y='7.5' width='2.6' height='9' rx='1' fill='#FFFFFF'/>";
        case PlayBarIcon::Mv:
            return "<rect x='3.5' y='5.5' width='17' height='13' rx='3' fill='none' stroke-width='1.7' " + stroke +
                   "/><path d='M10.3 9.3 L14.8 12 L10.3 14.7 Z' " + fill + "/>";
        case PlayBarIcon::SingleLoop:
            return "<g " + stroke + ">" + kLoop + "</g><path d='M10.6 10.4 L12.5 9.3 V14.7' fill='none' " + stroke +
                   " stroke-width='1.7' stroke-linecap='round' stroke-linejoin='round'/>";
        case PlayBarIcon::ListLoop: return "<g " + stroke + ">" + kLoop + "</g>";
        case PlayBarIcon::Shuffle:
            return "<g fill='none' " + stroke +
                   " stroke-width='1.7' stroke-linecap='round' stroke-linejoin='round'>"
                   "<path d='M4 7.5 H7 C11 7.5 12 16.5 16 16.5 H19.5 M17 14 L19.5 16.5 L17 19'/>"
                   "<path d='M4 16.5 H7 C8.6 16.5 9.6 15 10.4 13.4 M13.2 9.9 C14 8.6 14.9 7.5 16 7.5 H19.5"
                   " M17 5 L19.5 7.5 L17 10'/></g>";
        case PlayBarIcon::Volume:
            return "<g " + fill + " " + stroke + " stroke-width='1'>" + kSpeaker +
                   "</g><path d='M15 9.2 A4 4 0 0 1 15 14.8 M17.3 6.8 A7.3 7.3 0 0 1 17.3 17.2' fill='none' " + stroke +
                   " stroke-width='1.6' stroke-linecap='round'/>";
        case PlayBarIcon::Muted:
            return "<g " + fill + " " + stroke + " stroke-width='1'>" + kSpeaker +
                   "</g><path d='M15 9.5 L20 14.5 M20 9.5 L15 14.5' " + stroke +
                   " stroke-width='1.6' stroke-linecap='round'/>";
        case PlayBarIcon::Lyrics:
            return "<g fill='none' " + stroke +
                   " stroke-width='1.6' stroke-linecap='round'>"
                   "<path d='M4 7 H13 M4 11 H11 M4 15 H9'/></g>"
                   "<path d='M17 6.5 V15' " +
                   stroke +
                   " stroke-width='1.5'/>"
                   "<path d='M17 6.5 L20 7.6' " +
                   stroke +
                   " stroke-width='1.5' stroke-linecap='round'/>"
                   "<ellipse cx='15.3' cy='15.6' rx='2.1' ry='1.7' " +
                   fill + "/>";
        case PlayBarIcon::Spectrum:
            return "<g " + fill +
                   "><rect x='4' y='12' width='2.4' height='7' rx='1.2'/>"
                   "<rect x='8.2' y='7' width='2.4' height='12' rx='1.2'/>"
                   "<rect x='12.4' y='4.5' width='2.4' height='14.5' rx='1.2'/>"
                   "<rect x='16.6' y='9.5' width='2.4' height='9.5' rx='1.2'/></g>";
        case PlayBarIcon::Heart:
            return "<path d='M12 19.5 C7 15.6 3.8 12.8 3.8 9.3 A4.1 4.1 0 0 1 12 7.6 A4.1 4.1 0 0 1 20.2 9.3"
                   " C20.2 12.8 17 15.6 12 19.5 Z' stroke-width='1.7' stroke-linejoin='round' " +
                   stroke + " " + (colour == kPink ? fill : std::string("fill='none'")) + "/>";
        case PlayBarIcon::Trash:
            return "<g fill='none' " + stroke +
                   " stroke-width='1.7' stroke-linecap='round' stroke-linejoin='round'>"
                   "<path d='M4.5 7 H19.5 M9.5 7 V5 H14.5 V7 M6.5 7 L7.5 19 H16.5 L17.5 7 M10.5 10.5 V15.5"
                   " M13.5 10.5 V15.5'/></g>";
    }
    return {};
}

}  // namespace

namespace PlayBarIcons {

QImage render(PlayBarIcon icon, QSize logicalSize, bool highlighted) {
    return SvgPicture::render(SvgPicture::document(24, 24, svgBody(icon, highlighted ? kPink : kGrey)), logicalSize,
                              kPixelRatio);
}

}  // namespace PlayBarIcons
