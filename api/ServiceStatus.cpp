#include "api/ServiceStatus.h"

#include "data/JsonDocument.h"

namespace {

// "2xx ..." — the engine's own failure messages are numbered 7xx.
bool successStatus(std::string_view statusLine) {
    return statusLine.size() >= 3 && statusLine[0] == '2' && statusLine[1] >= '0' && statusLine[1] <= '9' &&
           statusLine[2] >= '0' && statusLine[2] <= '9';
}

}  // namespace

ServiceStatus judgeServiceAnswer(std::string_view statusLine, bool parsedAsJson, const JsonDocument& answer) {
    if (!successStatus(statusLine) || !parsedAsJson) return ServiceStatus::Failed;
    // A relay whose upstream is unreachable answers 200 with {"code":502,...}.
    if (answer.exists("code") && answer.getText("code") != "200") return ServiceStatus::Failed;
    return ServiceStatus::Answered;
}
