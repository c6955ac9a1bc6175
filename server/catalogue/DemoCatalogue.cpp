// Puts the parts of the demo catalogue together.
#include <cstdio>

#include "server/catalogue/DemoBuilders.h"

namespace demo {

// Days from 1970-01-01 to a civil date and back (Howard Hinnant's algorithms).
std::int64_t dateMs(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
    return days * 86400000;
}

std::string dateText(std::int64_t ms) {
    const std::int64_t z = ms / 86400000 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

}  // namespace demo

const Catalogue& demoCatalogue() {
    static const Catalogue catalogue([] {
        CatalogueData data;
        demo::addPeople(data);
        demo::addMusic(data);
        demo::addVideos(data);
        demo::addPlaylists(data);
        demo::addHome(data);
        return data;
    }());
    return catalogue;
}
