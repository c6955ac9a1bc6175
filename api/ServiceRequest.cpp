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

std::string fetchAnswer(const std::string& url, RequestHeaders headers) {
    HttpRequest request = makeGetRequest(url);
    if (headers == RequestHeaders::EngineDefaults) return HttpClient::fetchService(request).bodyText;

    NameValueList block;
    block.add("User-Agent", kBrowserUserAgent);
    request.extraHeaders = block.toHeaderBlock();
    return HttpClient::fetchService(request).bodyBytes;
}

JsonDocument fetchJson(const std::string& url, RequestHeaders headers) {
    JsonDocument document;
    document.parse(fetchAnswer(url, headers));
    return document;
}
