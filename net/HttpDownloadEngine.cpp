// The download engine: a plain GET whose body streams to the caller with
// progress, for files too large to hold in memory.
#include "net/HttpClient.h"
#include "net/HttpTransfer.h"

namespace {

// What the platform's download service says it is.
constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kIdleTimeoutSeconds = 30;

}  // namespace

namespace HttpClient {

HttpResponse download(const std::string& url, const DownloadReceiver& receiver) {
    HttpRequest request;
    request.url = url;
    TransferSettings settings;
    settings.headerLines = {"Accept: */*"};
    settings.userAgent = kAgent;
    settings.connectTimeoutSeconds = kConnectTimeoutSeconds;
    settings.idleTimeoutSeconds = kIdleTimeoutSeconds;
    settings.bodyLimit = kDownloadBodyLimit;
    settings.bodySink = receiver.write;
    settings.progress = receiver.progress;

    HttpResponse response;
    CurlExchangeResult result = runTransfer(request, settings);
    if (result.outcome == CurlExchangeResult::Outcome::Complete) {
        response.headers = std::move(result.headers);
        response.statusCode = result.statusCode;
    }
    return response;
}

}  // namespace HttpClient
