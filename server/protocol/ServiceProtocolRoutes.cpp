// The service's own web API on the demo catalogue: a weapi, eapi or linuxapi
// request is unwrapped, its service URI and parameters turned into the demo
// path that answers the same question, that path's handler answers, and the
// answer is put into the shape the service gives for the URI.
#include "server/HttpHelpers.h"
#include "server/protocol/ServiceTranslation.h"
#include "server/routes/Routes.h"

#include "net/ServiceCipher.h"

#include <algorithm>

namespace {

// The longest wrapped request read: a playlist's whole track list in one
// song detail request stays far below it.
constexpr std::size_t kMaxBodyBytes = 4 * 1024 * 1024;

// The value of `name` in a form body; "+" and %XX escapes decoded.
std::string formValue(const std::string& body, const std::string& name) {
    for (std::size_t from = 0; from <= body.size();) {
        const std::size_t end = std::min(body.find('&', from), body.size());
        const std::string item = body.substr(from, end - from);
        if (item.starts_with(name + "=")) {
            std::string value = item.substr(name.size() + 1);
            std::replace(value.begin(), value.end(), '+', ' ');
            return percentDecoded(value);
        }
        from = end + 1;
    }
    return {};
}

// The URI and parameters of a wrapped request; nothing when it cannot be read.
std::optional<WrappedRequest> unwrap(const httplib::Request& request, const std::string& body,
                                     const std::string& weapiKey) {
    const std::string& path = request.path;
    if (path.starts_with("/weapi/")) {
        const std::optional<std::string> json = ServiceCipher::openWeapi(formValue(body, "params"), weapiKey);
        if (!json) return std::nullopt;
        return WrappedRequest::fromJson("/api/" + path.substr(7), *json);
    }
    if (path.starts_with("/eapi/")) {
        const std::optional<ServiceCipher::EapiMessage> message = ServiceCipher::openEapi(formValue(body, "params"));
        if (!message || "/eapi/" + message->uri.substr(std::min<std::size_t>(5, message->uri.size())) != path)
            return std::nullopt;
        return WrappedRequest::fromJson(message->uri, message->json);
    }
    const std::optional<std::string> forwarded = ServiceCipher::openLinuxapi(formValue(body, "eparams"));
    if (!forwarded) return std::nullopt;
    const Json wrapper = Json::parse(*forwarded, nullptr, false);
    if (!wrapper.is_object() || !wrapper.contains("url") || !wrapper["url"].is_string()) return std::nullopt;
    const std::string url = wrapper["url"].get<std::string>();
    const std::size_t pathStart = url.find("/api/");
    if (pathStart == std::string::npos) return std::nullopt;
    return WrappedRequest::fromJson(url.substr(pathStart),
                                    wrapper.contains("params") ? wrapper["params"].dump() : std::string("{}"));
}

void answer(const RouteBook& book, const ServerContext& context, const httplib::Request& request,
            const std::string& body, httplib::Response& response) {
    const std::optional<WrappedRequest> wrapped = unwrap(request, body, context.options.weapiKey);
    if (!wrapped) {
        response.status = 400;
        replyJson(response, {{"code", 400}, {"msg", "参数错误"}});
        return;
    }
    const std::optional<DemoQuestion> question = demoQuestionOf(*wrapped);
    if (!question) {
        response.status = 404;
        replyJson(response, {{"code", 404}, {"msg", "Not Found"}});
        return;
    }
    if (question->answeredHere()) {
        answerHere(*question, request, response);
        return;
    }
    const httplib::Server::Handler* handler = book.find(question->path);
    if (!handler) {
        response.status = 404;
        replyJson(response, {{"code", 404}, {"msg", "Not Found"}});
        return;
    }
    httplib::Request inner;
    inner.method = "GET";
    inner.path = question->path;
    inner.target = question->target();
    inner.headers = request.headers;
    inner.headers.erase("Cookie");
    inner.headers.emplace("Cookie", plainCookie(request.get_header_value("Cookie")));
    httplib::Response innerResponse;
    (*handler)(inner, innerResponse);
    reshapeAnswer(*question, innerResponse, response);
}

}  // namespace

void addServiceProtocolRoutes(httplib::Server& server, const RouteBook& book, const ServerContext& context) {
    // The body is read here: the server library refuses form bodies of more
    // than 8 KB, and a song detail request for a long playlist is larger.
    const auto handler = [&book, &context](const httplib::Request& request, httplib::Response& response,
                                           const httplib::ContentReader& reader) {
        std::string body;
        const bool read = reader([&body](const char* data, std::size_t length) {
            body.append(data, length);
            return body.size() <= kMaxBodyBytes;
        });
        if (!read || body.size() > kMaxBodyBytes) {
            response.status = 413;
            replyJson(response, {{"code", 413}, {"msg", "Payload Too Large"}});
            return;
        }
        answer(book, context, request, body, response);
    };
    server.Post(R"(/weapi/.+)", handler);
    server.Post(R"(/eapi/.+)", handler);
    server.Post("/api/linux/forward", handler);
}
