#include "api/ServiceRequest.h"

#include "data/NameValueList.h"

HttpRequest makeGetRequest(std::string_view url) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    HttpRequest request;
    request.method = kGet;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            request.url += '%';
            request.url += kHexDigits[byte >> 4];
            request.url += kHexDigits[byte & 0x0F];
        } else {
            request.url += c;
        }
    }
    return request;
}

HttpResponse fetchResponse(const std::string& url, RequestHeaders headers) {
    HttpRequest request = makeGetRequest(url);
    if (headers == RequestHeaders::EngineDefaults) return HttpClient::fetchService(request);

    NameValueList block;
    block.add("User-Agent", kBrowserUserAgent);
    request.extraHeaders = block.toHeaderBlock();
    return HttpClient::fetchService(request);
}

namespace {

const std::string& bodyOf(const HttpResponse& response, RequestHeaders headers) {
    return headers == RequestHeaders::EngineDefaults ? response.bodyText : response.bodyBytes;
}

}  // namespace

std::string fetchAnswer(const std::string& url, RequestHeaders headers) {
    return bodyOf(fetchResponse(url, headers), headers);
}

JsonDocument fetchJson(const std::string& url, RequestHeaders headers, ServiceStatus* status) {
    const HttpResponse response = fetchResponse(url, headers);
    JsonDocument document;
    const bool parsed = document.parse(bodyOf(response, headers));
    if (status) *status = judgeServiceAnswer(response.status, parsed, document);
    return document;
}
