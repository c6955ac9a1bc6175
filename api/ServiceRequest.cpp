#include "api/ServiceRequest.h"

#include "data/NameValueList.h"
#include "net/HttpClient.h"

std::string fetchAnswer(const std::string& url, RequestHeaders headers) {
    HttpRequest request;
    request.url = url;
    request.method = kGet;
    if (headers == RequestHeaders::EngineDefaults) return HttpClient::execute(request).bodyText;

    NameValueList block;
    block.add("User-Agent", kBrowserUserAgent);
    request.extraHeaders = block.toHeaderBlock();
    return HttpClient::execute(request).bodyBytes;
}

JsonDocument fetchJson(const std::string& url, RequestHeaders headers) {
    JsonDocument document;
    document.parse(fetchAnswer(url, headers));
    return document;
}
