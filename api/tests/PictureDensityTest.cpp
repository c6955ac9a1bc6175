// Picture URLs asked for at a dense screen's pixels.
#include "api/PictureDensity.h"

#include <gtest/gtest.h>

namespace {

struct DensityCase {
    const char* url;
    double ratio;
    const char* asked;
};

TEST(PictureDensity, TheSizeParameterGrowsWithTheScreensPixelRatio) {
    const DensityCase cases[] = {
        {"http://p.example/a.jpg?param=250y250", 1.0, "http://p.example/a.jpg?param=250y250"},
        {"http://p.example/a.jpg?param=250y250", 0.5, "http://p.example/a.jpg?param=250y250"},
        {"http://p.example/a.jpg?param=250y250", 2.0, "http://p.example/a.jpg?param=500y500"},
        {"http://p.example/a.jpg?param=200x120", 1.5, "http://p.example/a.jpg?param=300x180"},
        {"http://p.example/a.jpg?param=125y125", 1.25, "http://p.example/a.jpg?param=157y157"},
        {"http://p.example/a.jpg?x=1&param=250y250&y=2", 2.0, "http://p.example/a.jpg?x=1&param=500y500&y=2"},
        {"http://p.example/a.jpg?param=3000y3000", 2.0, "http://p.example/a.jpg?param=4096y4096"},
        // Nothing to scale: no size, or one that is not two whole numbers.
        {"http://p.example/a.jpg", 2.0, "http://p.example/a.jpg"},
        {"", 2.0, ""},
        {"http://p.example/a.jpg?param=", 2.0, "http://p.example/a.jpg?param="},
        {"http://p.example/a.jpg?param=250", 2.0, "http://p.example/a.jpg?param=250"},
        {"http://p.example/a.jpg?param=y250", 2.0, "http://p.example/a.jpg?param=y250"},
        {"http://p.example/a.jpg?param=-5y5", 2.0, "http://p.example/a.jpg?param=-5y5"},
        {"http://p.example/a.jpg?param=0y0", 2.0, "http://p.example/a.jpg?param=0y0"},
        {"http://p.example/a.jpg?param=99999999999y1", 2.0, "http://p.example/a.jpg?param=99999999999y1"},
        {"http://p.example/a.jpg?xparam=250y250", 2.0, "http://p.example/a.jpg?xparam=250y250"},
        {"http://p.example/param=250y250.jpg", 2.0, "http://p.example/param=250y250.jpg"},
    };
    for (const DensityCase& c : cases) {
        SCOPED_TRACE(std::string(c.url) + " at " + std::to_string(c.ratio));
        EXPECT_EQ(pictureUrlForDensity(c.url, c.ratio), c.asked);
    }
}

}  // namespace
