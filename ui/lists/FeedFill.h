#pragma once
// An icon list as the view of a feed: the list empties when the feed starts
// a load and fills, pictures through the pipeline and in order, when the
// feed's records are in. The page's failure line follows the feed's status,
// and a click on it makes the feed ask again.
#include "api/CloudRecords.h"
#include "browse/Feed.h"
#include "ui/lists/IconListFill.h"

#include <functional>
#include <vector>

class IconList;
class ServiceFailureLine;

// How the list draws the records it is given (template, pictures, ids,
// heights), asked anew for every load, so a page may change its look with
// what it shows; `fetchRecords` and `onLoaded` are the binding's own.
using ListLook = std::function<IconListFill()>;

// What a page may add to the binding; each runs on the UI thread.
struct FeedListHooks {
    // The feed's request ended, with its status and the records it holds.
    std::function<void(ServiceStatus status, int itemCount)> requestEnded{};
    // The list shows what the request brought, pictures and all (at once
    // when the request failed): where a page starts what must come after.
    std::function<void()> shown{};
};

// `covers` gives the feed's records as the list shows them. The binding
// lasts as long as both the feed and the list.
void showFeedInList(FeedSignals& feed, std::function<std::vector<CoverItem>()> covers, IconList* list, ListLook look,
                    ServiceFailureLine* failures, FeedListHooks hooks = {});

inline void showFeedInList(Feed<CoverItem>& feed, IconList* list, ListLook look, ServiceFailureLine* failures,
                           FeedListHooks hooks = {}) {
    showFeedInList(
        feed, [&feed] { return feed.items(); }, list, std::move(look), failures, std::move(hooks));
}
