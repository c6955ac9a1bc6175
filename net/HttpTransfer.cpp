#include "net/HttpTransfer.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "net/HttpRequestParts.h"
#include "net/HttpUrl.h"

namespace HttpClient {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
#if defined(__GLIBC__)
        // Blocks of a megabyte and more (answer bodies growing, decoded
        // pictures) get mappings of their own, which go back to the system
        // when freed. glibc's default raises this bound to the largest block
        // freed so far, after which a burst of large answers leaves its
        // memory in the heap for good.
        mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
    });
}

}  // namespace HttpClient

namespace {

// MIVRA_REQUEST_BOUND (seconds) shortens every bounded request, each phase
// and the whole: for networks where waiting long is pointless, and for
// tests that drive the program against a service that never answers.
std::optional<long> requestBoundFromEnvironment() {
    const char* text = std::getenv("MIVRA_REQUEST_BOUND");
    long seconds = 0;
    if (!text || std::from_chars(text, text + std::strlen(text), seconds).ec != std::errc() || seconds < 1)
        return std::nullopt;
    return seconds;
}

}  // namespace

CurlExchangeResult runTransfer(const HttpRequest& request, const TransferSettings& settings) {
    std::optional<HttpUrl> url = splitHttpUrl(request.url, settings.schemeOptional);
    if (!url) {
        CurlExchangeResult rejected;
        rejected.outcome = CurlExchangeResult::Outcome::UrlRejected;
        return rejected;
    }
    CurlExchangeSpec spec;
    spec.url = std::move(*url);
    spec.method = methodName(request.method);
    if (settings.bodyOnGet || spec.method != "GET") spec.body = requestBody(request);
    spec.sendBody = sendsBody(spec.method, spec.body);
    spec.headerLines = settings.headerLines;
    spec.userAgent = settings.userAgent;
    spec.proxy = request.proxy;
    spec.socksProxy = settings.socksProxy;
    spec.serverCredentials = settings.serverCredentials;
    spec.proxyCredentials = settings.proxyCredentials;
    spec.connectTimeoutSeconds = settings.connectTimeoutSeconds;
    spec.idleTimeoutSeconds = settings.idleTimeoutSeconds;
    spec.totalTimeoutSeconds = settings.totalTimeoutSeconds;
    static const std::optional<long> shortened = requestBoundFromEnvironment();
    if (shortened && spec.totalTimeoutSeconds > 0) {
        spec.connectTimeoutSeconds = std::min(spec.connectTimeoutSeconds, *shortened);
        spec.idleTimeoutSeconds = std::min(spec.idleTimeoutSeconds, *shortened);
        spec.totalTimeoutSeconds = std::min(spec.totalTimeoutSeconds, *shortened);
    }
    spec.followRedirects = !request.noRedirect;
    spec.bodyLimit = settings.bodyLimit;
    spec.bodySink = settings.bodySink;
    spec.progress = settings.progress;

    if (settings.pool) {
        CurlSessionPool::Lease lease = settings.pool->acquire();
        return runCurlExchange(lease.session(), spec);
    }
    CurlSession session;
    return runCurlExchange(session, spec);
}
