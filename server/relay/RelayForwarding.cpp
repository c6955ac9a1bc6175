// Service paths go to the upstream as they came (method, path, query, the
// Cookie header, a body with its type), and its answer comes back as it came:
// status, body (streamed) and content type. A failing upstream answers in the service's
// JSON form with a gateway status, which the program reads as an empty result.
// The one thing the relay keeps from these requests is the account cookie the
// program checks its stored login with.
#include "server/HttpHelpers.h"
#include "server/relay/RelayRoutes.h"
#include "server/relay/UpstreamStream.h"

#include <memory>

namespace {

// The relay's own answer when the upstream gave none to pass back.
void replyFailure(UpstreamAnswer::Outcome outcome, httplib::Response& response) {
    const int status = outcome == UpstreamAnswer::Outcome::Silent ? 504 : 502;
    const char* why = outcome == UpstreamAnswer::Outcome::Silent     ? "上游服务器未及时应答"
                      : outcome == UpstreamAnswer::Outcome::TooLarge ? "上游服务器应答过大"
                                                                     : "无法连接上游服务器";
    replyJson(response, {{"code", status}, {"msg", why}});
    response.status = status;
}

// A successful answer with a body streams on as it arrives; a cut-off body
// cuts the client's answer off too. Other answers (errors, redirects, no
// content) are small and go back whole.
void passBack(const std::shared_ptr<UpstreamStream>& stream, httplib::Response& response) {
    const UpstreamStream::Head head = stream->head();
    if (head.outcome != UpstreamAnswer::Outcome::Answered) {
        replyFailure(head.outcome, response);
        return;
    }
    const std::string type = head.contentType.empty() ? "application/octet-stream" : head.contentType;
    response.status = head.status;
    if (head.status >= 200 && head.status < 300 && head.status != 204) {
        response.set_chunked_content_provider(
            type,
            [stream](std::size_t, httplib::DataSink& sink) {
                std::string piece;
                if (stream->next(piece)) return sink.write(piece.data(), piece.size());
                if (stream->broken()) return false;
                sink.done();
                return true;
            },
            [stream](bool) { stream->cancel(); });
        return;
    }
    std::string body;
    for (std::string piece; stream->next(piece);) body += piece;
    if (stream->broken()) {
        replyFailure(UpstreamAnswer::Outcome::Silent, response);
        return;
    }
    response.set_content(body, type);
}

}  // namespace

void addRelayForwarding(httplib::Server& server, RelayContext& relay, std::function<void(const std::string&)> say) {
    const auto forward = [&relay, say = std::move(say)](const httplib::Request& request, httplib::Response& response) {
        const std::optional<HttpUrl> url = relay.upstream.forwardUrl(request.target);
        if (!url) {
            say("refused to forward " + request.method + " " + request.target + ": not a path of " +
                relay.upstream.text());
            replyJson(response, {{"code", 400}, {"msg", "只转发上游服务器自己的路径"}});
            response.status = 400;
            return;
        }
        // The program checks its stored login here at start: the maker's
        // paths answer for that user from then on.
        if (const std::string cookie = queryText(request, "cookie"); request.path == "/user/account" && !cookie.empty())
            relay.account.remember(cookie);
        UpstreamRequest call;
        call.url = *url;
        call.method = request.method;
        call.body = request.body;
        call.contentType = request.get_header_value("Content-Type");
        call.cookie = request.get_header_value("Cookie");
        passBack(std::make_shared<UpstreamStream>(call, relay.phaseSeconds), response);
    };
    server.Get(".*", forward);
    server.Post(".*", forward);
}
