#pragma once
// A list the service gives, as one object the pages draw: it owns the
// request that fetches the list, its paging, the rule that the newest load
// wins, the status of its last request and the way to make that request
// again. Records are fetched on a background task and handed to the UI
// thread whole, a page at a time.
//
// Threads: a feed lives on the UI thread. Every member function is called
// there and every signal is emitted there; the fetch function alone runs on
// the feed's background tasks, so whatever it uses must outlive the feed or
// be captured by value. A load started later supersedes every older one:
// an older task is asked to stop and whatever it still hands over is dropped.
#include "api/ServiceStatus.h"
#include "base/BackgroundTask.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Which part of a list one request asks for.
struct FeedWindow {
    int offset = 0;
    int limit = 0;  // 0 for a list that comes whole in one answer
};

// What every feed tells its views, whatever its records are.
class FeedSignals : public QObject {
    Q_OBJECT
public:
    // Makes the last request again if it failed (the first page of a load,
    // or the page after the last one in); does nothing otherwise.
    virtual void retry() = 0;
    virtual ServiceStatus status() const = 0;
    virtual bool isLoading() const = 0;

signals:
    // A new load started: the items are empty until its first page is in.
    void started();
    // `count` items were appended after the first `from`.
    void appended(int from, int count);
    // The request of the newest load is over: its page is in (after
    // `appended`), or it failed and the items stay as they were.
    void requestEnded(ServiceStatus status);
};

template <typename Record>
class Feed : public FeedSignals {
public:
    // Fetches one window of the list; may set `status` (Answered before the
    // call) when the request failed. Runs on a background task.
    using Fetch = std::function<std::vector<Record>(FeedWindow window, ServiceStatus* status)>;

    // `pageSize` 0: one request brings the whole list. Otherwise the list
    // comes `pageSize` records at a time, the next page when asked for.
    explicit Feed(int pageSize = 0) : pageSize_(pageSize) {}

    // Empties the feed and starts fetching the list's first page with
    // `fetch`, superseding any load still running.
    BackgroundTask::Handle load(Fetch fetch) {
        fetch_ = std::move(fetch);
        items_.clear();
        morePagesMayFollow_ = false;
        status_ = ServiceStatus::Answered;
        ++generation_;
        // The request is under way (isLoading) by the time the views hear of it.
        BackgroundTask::Handle task = request(0);
        emit started();
        return task;
    }

    // The feed's own request again from the start (a refresh).
    BackgroundTask::Handle reload() { return fetch_ ? load(fetch_) : nullptr; }

    // Empties the feed and stops any load still running.
    void clear() {
        fetch_ = nullptr;
        items_.clear();
        morePagesMayFollow_ = false;
        status_ = ServiceStatus::Answered;
        ++generation_;
        if (task_) task_->requestStop();
        task_ = nullptr;
        emit started();
    }

    // Asks for the next page when the last one came full (more records may
    // follow) and no request is under way. Returns whether it asked.
    bool loadMore() {
        if (!fetch_ || task_ || !morePagesMayFollow_ || status_ != ServiceStatus::Answered) return false;
        request(int(items_.size()));
        return true;
    }

    void retry() override {
        if (!fetch_ || task_ || status_ != ServiceStatus::Failed) return;
        status_ = ServiceStatus::Answered;
        request(int(items_.size()));
    }

    const std::vector<Record>& items() const { return items_; }
    ServiceStatus status() const override { return status_; }
    bool isLoading() const override { return task_ != nullptr; }
    bool hasMore() const { return morePagesMayFollow_; }

private:
    BackgroundTask::Handle request(int offset) {
        if (task_) task_->requestStop();
        const std::uint64_t generation = generation_;
        const FeedWindow window{offset, pageSize_};
        task_ = tasks_.start([this, generation, window, fetch = fetch_] {
            ServiceStatus status = ServiceStatus::Answered;
            std::vector<Record> page = fetch(window, &status);
            runOnUiThread(this, [this, generation, window, status, page = std::move(page)]() mutable {
                if (generation != generation_) return;
                task_ = nullptr;
                deliver(window, status, std::move(page));
            });
        });
        return task_;
    }

    void deliver(FeedWindow window, ServiceStatus status, std::vector<Record> page) {
        status_ = status;
        if (status == ServiceStatus::Answered) {
            const int from = int(items_.size());
            morePagesMayFollow_ = window.limit > 0 && int(page.size()) >= window.limit;
            items_.insert(items_.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
            if (!page.empty()) emit appended(from, int(page.size()));
        }
        emit requestEnded(status);
    }

    const int pageSize_;
    Fetch fetch_;
    std::vector<Record> items_;
    ServiceStatus status_ = ServiceStatus::Answered;
    bool morePagesMayFollow_ = false;
    std::uint64_t generation_ = 0;  // bumped by every load; older deliveries are dropped
    BackgroundTask::Handle task_;   // the request under way, if any
    TaskOwner tasks_;               // last: its tasks stop before anything above goes
};
