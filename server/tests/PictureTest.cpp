// Generated pictures: the format their URL names, the size "?param=" asks
// for, a colour of their own and a caption; and the QR picture of a text.
#include <png.h>
#include <qrencode.h>
#include <turbojpeg.h>

#include <set>

#include "ServerTestSupport.h"
#include "server/catalogue/DemoBuilders.h"
#include "server/media/DrawnPictures.h"

namespace {

// RGB pixels of PNG or JPEG bytes.
struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    std::array<int, 3> at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

Pixels decode(const std::string& bytes) {
    Pixels pixels;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        png.format = PNG_FORMAT_RGB;
        pixels.width = static_cast<int>(png.width);
        pixels.height = static_cast<int>(png.height);
        pixels.rgb.resize(PNG_IMAGE_SIZE(png));
        png_image_finish_read(&png, nullptr, pixels.rgb.data(), 0, nullptr);
        return pixels;
    }
    tjhandle handle = tjInitDecompress();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle, data, bytes.size(), &pixels.width, &pixels.height, &subsampling, &colourspace) ==
        0) {
        pixels.rgb.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
        tjDecompress2(handle, data, bytes.size(), pixels.rgb.data(), pixels.width, 0, pixels.height, TJPF_RGB, 0);
    }
    tjDestroy(handle);
    return pixels;
}

// Each picture is drawn once per size and format, then served as kept.
TEST(DrawnPicturesTest, DrawsEachKeyOnceAndLetsTheOldestGo) {
    DrawnPictures kept(2);
    int draws = 0;
    auto draw = [&draws](std::string bytes) {
        return [&draws, bytes] {
            ++draws;
            return bytes;
        };
    };
    EXPECT_EQ(kept.obtain("1/250x250.jpg", draw("a")), "a");
    EXPECT_EQ(kept.obtain("1/250x250.jpg", draw("changed")), "a");
    EXPECT_EQ(kept.obtain("1/200x200.jpg", draw("b")), "b");
    EXPECT_EQ(draws, 2);
    kept.obtain("1/250x250.jpg", draw("unused"));  // now asked for more recently than "1/200x200.jpg"
    kept.obtain("2/250x250.png", draw("c"));       // one too many: the oldest goes
    EXPECT_EQ(kept.obtain("1/250x250.jpg", draw("again")), "a");
    EXPECT_EQ(kept.obtain("1/200x200.jpg", draw("b2")), "b2");
    EXPECT_EQ(draws, 4);
}

}  // namespace

class PictureTest : public ServerTest {
protected:
    std::string pictureUrlPath(Id picId) {
        const Picture* picture = demoCatalogue().picture(picId);
        EXPECT_NE(picture, nullptr);
        return "/pic/" + std::to_string(picId) + (picture && picture->format == PictureFormat::Png ? ".png" : ".jpg");
    }
};

TEST_F(PictureTest, SizeFollowsParamAndFormatFollowsTheName) {
    const Id albumCover = demoCatalogue().album(150001)->picId;             // JPEG
    const Id artistPicture = demoCatalogue().artist(demo::kLinXia)->picId;  // PNG
    struct Case {
        std::string target;
        std::string contentType;
        std::pair<int, int> size;
    };
    const Case cases[] = {
        {pictureUrlPath(albumCover) + "?param=250y250", "image/jpeg", {250, 250}},
        {pictureUrlPath(albumCover), "image/jpeg", {640, 640}},
        {pictureUrlPath(artistPicture) + "?param=200y200", "image/png", {200, 200}},
        {pictureUrlPath(artistPicture) + "?param=180x100", "image/png", {180, 100}},
        {pictureUrlPath(artistPicture) + "?param=nonsense", "image/png", {640, 640}},
        {pictureUrlPath(demoCatalogue().banners().front().picId), "image/jpeg", {1080, 420}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        auto result = get(c.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->get_header_value("Content-Type"), c.contentType);
        EXPECT_EQ(pictureDimensions(result->body), c.size);
    }
    for (const std::string& wrong : {"/pic/" + std::to_string(albumCover) + ".png", std::string("/pic/5.jpg"),
                                     std::string("/pic/99999999999999999999.jpg")}) {
        auto result = get(wrong);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 404) << wrong;
    }
}

TEST_F(PictureTest, CoversHaveTheirOwnColourAndACaption) {
    std::set<std::array<int, 3>> corners;
    for (Id album = 150001; album <= 150008; ++album) {
        auto result = get(pictureUrlPath(demoCatalogue().album(album)->picId) + "?param=120y120");
        ASSERT_TRUE(result);
        const Pixels pixels = decode(result->body);
        ASSERT_EQ(pixels.width, 120);
        // Quantised, so JPEG noise does not make equal colours look different.
        const auto corner = pixels.at(1, 1);
        corners.insert({corner[0] / 16, corner[1] / 16, corner[2] / 16});
        int white = 0;
        for (int y = 40; y < 80; ++y) {
            for (int x = 0; x < 120; ++x) {
                const auto p = pixels.at(x, y);
                if (p[0] > 235 && p[1] > 235 && p[2] > 235) ++white;
            }
        }
        EXPECT_GT(white, 100) << "no caption on album " << album;
    }
    EXPECT_EQ(corners.size(), 8u);
}

TEST_F(PictureTest, QrPictureEncodesTheWholeTextAfterText) {
    // The client appends the login URL unencoded, "&" and "=" included.
    const std::string text = server->origin() + "/demo/scan/abc-123&x=1";
    auto result = get("/lokpay/qrcode.php?size=256&text=" + text);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "image/png");
    const Pixels pixels = decode(result->body);
    ASSERT_EQ(pixels.width, 256);
    ASSERT_EQ(pixels.height, 256);

    QRcode* expected = QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    ASSERT_NE(expected, nullptr);
    const int modules = expected->width;
    const int modulePixels = 256 / (modules + 8);
    const int origin = (256 - modulePixels * modules) / 2;
    int mismatches = 0;
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            const bool dark = expected->data[y * modules + x] & 1;
            const auto p =
                pixels.at(origin + x * modulePixels + modulePixels / 2, origin + y * modulePixels + modulePixels / 2);
            if (dark != (p[0] < 128)) ++mismatches;
        }
    }
    QRcode_free(expected);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(pixels.at(2, 2)[0], 255);  // quiet zone
}
