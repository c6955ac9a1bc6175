// Certificates are verified by every engine; a private authority is trusted
// only through MIVRA_CA_FILE.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "HttpTestHelpers.h"
#include "RecordingServer.h"
#include "TestCertificates.h"
#include "net/HttpClient.h"

namespace {

class HttpTlsTest : public HttpTest {
protected:
    static void SetUpTestSuite() {
        HttpTest::SetUpTestSuite();
        certificates_ = std::make_unique<TestCertificates>();
    }
    static void TearDownTestSuite() { certificates_.reset(); }
    void SetUp() override { unsetenv("MIVRA_CA_FILE"); }
    void TearDown() override { unsetenv("MIVRA_CA_FILE"); }

    static std::unique_ptr<TestCertificates> certificates_;
};

std::unique_ptr<TestCertificates> HttpTlsTest::certificates_;

TEST_F(HttpTlsTest, UntrustedCertificateIsRefusedBeforeAnythingIsSent) {
    RecordingServer server(certificates_.get());
    HttpRequest request;
    request.url = server.url("/cover.jpg");

    HttpResponse main = HttpClient::fetchService(request);
    EXPECT_EQ(main.status, "711 发送请求失败!");
    EXPECT_EQ(main.headers, "");
    EXPECT_EQ(main.bodyBytes, "");
    HttpResponse picture = HttpClient::fetchPicture(request);
    EXPECT_EQ(picture.bodyBytes, "");
    EXPECT_EQ(picture.statusCode, 0);
    EXPECT_EQ(HttpClient::fetchLyric(request).bodyBytes, "");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpTlsTest, AuthorityNamedByMivraCaFileIsTrusted) {
    setenv("MIVRA_CA_FILE", certificates_->authorityFile().c_str(), 1);
    RecordingServer server(certificates_.get());
    HttpRequest request;
    request.url = server.url("/cover.jpg");

    HttpResponse main = HttpClient::fetchService(request);
    EXPECT_EQ(main.status, "200 OK");
    EXPECT_EQ(main.bodyText, "ok");
    EXPECT_EQ(HttpClient::fetchPicture(request).bodyBytes, "ok");
    EXPECT_EQ(HttpClient::fetchLyric(request).bodyBytes, "ok");
    std::string port = hostOf(server.url()).substr(hostOf(server.url()).find(':') + 1);
    request.url = "https://localhost:" + port + "/cover.jpg";
    EXPECT_EQ(HttpClient::fetchService(request).status, "200 OK");
}

TEST_F(HttpTlsTest, UnreadableCaFileAddsNoTrust) {
    setenv("MIVRA_CA_FILE", "/nonexistent/authority.pem", 1);
    RecordingServer server(certificates_.get());
    HttpRequest request;
    request.url = server.url("/");
    EXPECT_EQ(HttpClient::fetchService(request).status, "711 发送请求失败!");
}

TEST_F(HttpTlsTest, PictureEngineKeepsTheTlsConnection) {
    setenv("MIVRA_CA_FILE", certificates_->authorityFile().c_str(), 1);
    RecordingServer server(certificates_.get());
    HttpRequest request;
    for (const char* path : {"/a.jpg", "/b.jpg", "/c.jpg"}) {
        request.url = server.url(path);
        EXPECT_EQ(HttpClient::fetchPicture(request).bodyBytes, "ok") << path;
    }
    std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].remotePort, requests[1].remotePort);
    EXPECT_EQ(requests[1].remotePort, requests[2].remotePort);
}

}  // namespace
