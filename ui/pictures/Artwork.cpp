#include "ui/pictures/Artwork.h"

#include "ui/widgets/SvgPicture.h"

#include <string>

namespace {

// A beamed pair of eighth notes on a 36-unit square, in white.
constexpr const char* kWhiteNotes =
    "<g fill='#FFFFFF'>"
    "<path d='M15 11.2 L26 8.4 V11.6 L17 14.4 Z'/>"
    "<rect x='15' y='11.5' width='2' height='13.5'/>"
    "<rect x='24' y='9' width='2' height='13.2'/>"
    "<ellipse cx='13.9' cy='25.2' rx='3.7' ry='2.9' transform='rotate(-22 13.9 25.2)'/>"
    "<ellipse cx='22.9' cy='22.4' rx='3.7' ry='2.9' transform='rotate(-22 22.9 22.4)'/>"
    "</g>";

std::string svgText(Artwork::Picture picture) {
    using SvgPicture::document;
    switch (picture) {
        case Artwork::Picture::Logo:
            return document(36, 36,
                            "<defs><linearGradient id='g' x1='0' y1='0' x2='1' y2='1'>"
                            "<stop offset='0' stop-color='#F9B3CB'/><stop offset='1' stop-color='#EC6E9A'/>"
                            "</linearGradient></defs>"
                            "<rect x='1' y='1' width='34' height='34' rx='10' fill='url(#g)'/>" +
                                std::string(kWhiteNotes));
        case Artwork::Picture::Badge:
            return document(50, 20,
                            "<rect x='4' y='3' width='38' height='15' rx='7.5' fill='#FDE6EE'/>"
                            "<text x='23' y='14.2' text-anchor='middle' font-family='DejaVu Sans, Arial, sans-serif'"
                            " font-size='8.5' font-weight='bold' letter-spacing='0.6' fill='#E5679A'>BETA</text>");
        case Artwork::Picture::Search:
            return document(18, 18,
                            "<circle cx='7.8' cy='7.8' r='5.3' fill='none' stroke='#8E95A1' stroke-width='1.8'/>"
                            "<path d='M11.8 11.8 L15.6 15.6' stroke='#8E95A1' stroke-width='1.9' "
                            "stroke-linecap='round'/>");
        case Artwork::Picture::Minimise:
            return document(40, 40,
                            "<path d='M13.5 20.5 H26.5' stroke='#5A606B' stroke-width='1.8' stroke-linecap='round'/>");
        case Artwork::Picture::Close:
            return document(40, 40,
                            "<path d='M14.5 14.5 L25.5 25.5 M25.5 14.5 L14.5 25.5' stroke='#5A606B' "
                            "stroke-width='1.8' stroke-linecap='round'/>");
        case Artwork::Picture::Settings:
            // Eight teeth: a thick ring dashed into eight equal parts.
            return document(40, 40,
                            "<g fill='none' stroke='#5A606B'>"
                            "<circle cx='20' cy='20' r='8.3' stroke-width='2.8' stroke-dasharray='3.26 3.26'/>"
                            "<circle cx='20' cy='20' r='6.4' stroke-width='1.8'/>"
                            "<circle cx='20' cy='20' r='2.4' stroke-width='1.6'/></g>");
        case Artwork::Picture::Maximise:
            return document(28, 40,
                            "<rect x='8.5' y='14.5' width='11' height='11' rx='1.5' fill='none' stroke='#5A606B' "
                            "stroke-width='1.8'/>");
        case Artwork::Picture::Restore:
            return document(28, 40,
                            "<g fill='none' stroke='#5A606B' stroke-width='1.8' stroke-linejoin='round'>"
                            "<rect x='8' y='17' width='9' height='9' rx='1.5'/>"
                            "<path d='M11 14 H19.5 A1 1 0 0 1 20.5 15 V23'/></g>");
        case Artwork::Picture::Clear:
            return document(40, 40,
                            "<g fill='none' stroke='#5A606B' stroke-width='1.8' stroke-linecap='round' "
                            "stroke-linejoin='round'>"
                            "<path d='M13 15 H27 M17.5 15 V13 H22.5 V15'/>"
                            "<path d='M15 15 L16 27 H24 L25 15'/>"
                            "<path d='M18.5 18.5 V24 M21.5 18.5 V24'/></g>");
        case Artwork::Picture::DefaultAvatar:
            return document(36, 36,
                            "<circle cx='18' cy='18' r='18' fill='#E9EBF0'/>"
                            "<circle cx='18' cy='14' r='6' fill='#B8BEC9'/>"
                            "<path d='M8 31.6 C9.5 24.5 13.5 22 18 22 C22.5 22 26.5 24.5 28 31.6 A18 18 0 0 1 8 "
                            "31.6 Z' fill='#B8BEC9'/>");
        case Artwork::Picture::SongNote:
            return document(36, 36,
                            "<defs><linearGradient id='g' x1='0' y1='0' x2='1' y2='1'>"
                            "<stop offset='0' stop-color='#B9E2FB'/><stop offset='1' stop-color='#8CC8F2'/>"
                            "</linearGradient></defs>"
                            "<rect width='36' height='36' fill='url(#g)'/>" +
                                std::string(kWhiteNotes));
        case Artwork::Picture::OverlayPlay:
            return document(46, 46,
                            "<circle cx='23' cy='23' r='22' fill='#FFFFFF' fill-opacity='0.92'/>"
                            "<path d='M19 14.5 L31.5 23 L19 31.5 Z' fill='#F48FB1' stroke='#F48FB1' "
                            "stroke-width='2' stroke-linejoin='round'/>");
        case Artwork::Picture::OverlayNext:
            return document(
                40, 40,
                "<circle cx='20' cy='20' r='19' fill='#000000' fill-opacity='0.35'/>"
                "<g fill='#FFFFFF'><rect x='25' y='13' width='2.4' height='14' rx='1.2'/>"
                "<path d='M13.5 13.8 V26.2 A1 1 0 0 0 15 27 L23.2 20.8 A1 1 0 0 0 23.2 19.2 L15 13 A1 1 0 0 "
                "0 13.5 13.8 Z'/></g>");
        case Artwork::Picture::OverlayEnter:
            return document(40, 40,
                            "<circle cx='20' cy='20' r='19' fill='#000000' fill-opacity='0.35'/>"
                            "<path d='M17 13 L24 20 L17 27' fill='none' stroke='#FFFFFF' stroke-width='2.6' "
                            "stroke-linecap='round' stroke-linejoin='round'/>");
    }
    return {};
}

}  // namespace

namespace Artwork {

QImage render(Picture picture, QSize logicalSize, qreal devicePixelRatio) {
    return SvgPicture::render(svgText(picture), logicalSize, devicePixelRatio);
}

}  // namespace Artwork
