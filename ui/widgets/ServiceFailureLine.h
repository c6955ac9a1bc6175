#pragma once
// The quiet line a page shows in its own area when its content could not be
// loaded from the service: "Mivra酱连不上音乐服务了，请检查网络后点这里重试",
// or, where the service is the demo server on this machine, the server's
// name and how to start it.
// The parts of a page (a list, a header) report the outcome of each of their
// loads together with the way to load that part again. The line shows while
// any part's last load failed; a click hides it and loads every failed part
// again through the page's own loaders, and a part whose load then succeeds
// is no longer counted. No dialog, nothing modal: every other control keeps
// working.
#include "api/ServiceStatus.h"
#include "browse/Feed.h"

#include <QLabel>
#include <functional>
#include <string>
#include <vector>

class ServiceFailureLine : public QLabel {
public:
    static constexpr const char* kText = "Mivra酱连不上音乐服务了，请检查网络后点这里重试";

    // The demo server on this machine the pages load from ("http://127.0.0.1:38580"),
    // or empty where the service is reached otherwise. Lines that show from
    // now on name it. UI thread only.
    static void setLocalCompanion(const std::string& origin);
    // What a line says where the pages load from `localCompanion` (empty:
    // any other service).
    static QString textFor(const std::string& localCompanion);

    // Placed in `parent` at `geometry`'s top left, as wide as its text (at
    // most the geometry's width), above the controls made before it; hidden
    // until a part fails.
    ServiceFailureLine(QWidget* parent, QRect geometry);

    // A new load of `part` started: an older failure of the part no longer
    // counts (a click must not reload what the user has moved on from).
    void loadStarted(const void* part);
    // The outcome of a load of `part`; `reload` loads the part again.
    void report(const void* part, ServiceStatus status, std::function<void()> reload);
    // For a list fill of `part` that starts now: loadStarted(part), and the
    // fill's onLoaded, which reports its outcome with `reload` to fill it again.
    std::function<void(ServiceStatus status, int itemCount)> watchFill(const void* part, std::function<void()> reload);
    // Makes `feed` one of the parts: each load it starts and each request's
    // outcome is counted, and a click makes it ask again. For as long as
    // both the line and the feed live.
    void follow(FeedSignals& feed);
    // What a click does: every failed part loads again.
    void retry();
    bool failed(const void* part) const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct FailedPart {
        const void* part;
        std::function<void()> reload;
    };
    void showFailure();

    std::vector<FailedPart> failed_;  // in the order the parts failed
    int widest_;                      // the width of the geometry it was given
};
