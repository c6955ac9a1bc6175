#include "ServerTestSupport.h"

#include <turbojpeg.h>

ServerOptions testServerOptions() {
    ServerOptions options = DemoServer::testOptions();
    options.cacheFolder = MIVRA_SERVER_TEST_CACHE;
    return options;
}

void ServerTest::SetUp() {
    server = std::make_unique<DemoServer>(options, [this](const std::string& line) {
        std::lock_guard lock(logMutex_);
        log_.push_back(line);
    });
    ASSERT_TRUE(server->start());
    client = std::make_unique<httplib::Client>(server->origin());
    client->set_url_encode(false);
    client->set_read_timeout(120, 0);
}

void ServerTest::TearDown() {
    client.reset();
    server.reset();
}

httplib::Result ServerTest::get(const std::string& target, const httplib::Headers& headers) {
    return client->Get(target, headers);
}

Json ServerTest::getJson(const std::string& target) {
    auto result = get(target);
    if (!result) {
        ADD_FAILURE() << "no answer to " << target;
        return nullptr;
    }
    EXPECT_EQ(result->status, 200) << target;
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json; charset=utf-8") << target;
    return Json::parse(result->body, nullptr, false);
}

std::vector<std::string> ServerTest::logLines() {
    std::lock_guard lock(logMutex_);
    return log_;
}

std::string encodeQueryValue(const std::string& text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(static_cast<char>(c));
        } else {
            out += {'%', kDigits[c >> 4], kDigits[c & 0xF]};
        }
    }
    return out;
}

std::pair<int, int> pictureDimensions(const std::string& bytes) {
    if (bytes.size() > 24 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        auto bigEndian = [&bytes](std::size_t at) {
            return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
                   (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
        };
        return {bigEndian(16), bigEndian(20)};
    }
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    const int failed = tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                           &width, &height, &subsampling, &colourspace);
    tjDestroy(handle);
    return failed ? std::pair{0, 0} : std::pair{width, height};
}
