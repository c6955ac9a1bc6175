#include "server/media/AudioClips.h"

const std::vector<AudioClip>& audioClips() {
    static const std::vector<AudioClip> clips = {
        {"morning-light", 8, 132, {3, 7, 10, 15, 10, 7, 3, kRest}, -21},
        {"city-walk", 15, 110, {5, 7, 8, 12, 10, 8, 7, 5, 3, 5, 7, kRest}, -16},
        {"night-rain", 24, 84, {0, 3, 7, 12, 10, 7, 5, 3, 2, 3, 0, kRest}, -24},
        {"paper-lanterns", 33, 96, {3, 5, 7, 10, 12, 10, 7, 5, 3, 0, 3, kRest}, -21},
        {"long-road", 47, 100, {-2, 2, 5, 10, 9, 5, 2, 0, -2, 0, 2, 5, 2, kRest}, -26},
        {"starfield", 60, 72, {7, 10, 14, 19, 17, 14, 10, 12, 14, 10, 7, kRest}, -17},
    };
    return clips;
}
