#pragma once
// Filling an icon list from the network: the records are fetched on a
// background task, the pictures side by side through the picture pipeline,
// and each item is handed to the UI thread in order as soon as its picture
// (and every one before it) is in, so items appear in order while the window
// stays responsive.
#include "api/CloudRecords.h"
#include "api/ServiceStatus.h"
#include "base/BackgroundTask.h"
#include "ui/lists/IconTemplate.h"
#include "ui/pages/Navigation.h"

#include <QImage>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

class IconList;
class PicturePipeline;

struct IconListFill {
    // Callers name the fields they need ({.itemTemplate = ..., ...}); the
    // "{}" of the others keeps -Wmissing-field-initializers quiet about that.
    IconTemplate itemTemplate{};
    // Runs on the background task. Each record gives an item its picture
    // (none for an empty URL), its name as the main line, its subtitle as
    // the second line, and its id. It may set `status` (Answered before the
    // call) to tell a failed request from an answer that listed nothing.
    std::function<std::vector<CoverItem>(ServiceStatus* status)> fetchRecords{};
    // Where the pictures come from; must outlive the fill. Without it the
    // items have no pictures.
    PicturePipeline* pictures = nullptr;
    // When set, every item shows this picture instead of a fetched one (the
    // note picture of song lists).
    QImage fixedPicture{};
    // The list's ids: emptied when the fill starts, then each item's id is
    // appended as the item is shown, so entry i always belongs to item i.
    // Must outlive the list; touched on the UI thread only.
    ItemIds* itemIds = nullptr;
    std::size_t maxItems = std::numeric_limits<std::size_t>::max();
    bool disableWhileFilling = true;
    bool clearCurrentItem = false;
    // Runs on the UI thread once the items are inserted, with their count:
    // the place to set the heights of the list, its slide box and scrollbar.
    std::function<void(int itemCount)> onItemsInserted{};
    // Runs on the UI thread right after onItemsInserted, with the status the
    // fetch gave: where the page tells the user the request failed.
    std::function<void(ServiceStatus status, int itemCount)> onLoaded{};
};

// Starts filling `list` (call on the UI thread): applies the template,
// removes all items and runs the rest as a background task, whose handle is
// returned for callers that wait. A newer fill of the same list, or the
// list's destruction, stops an older one; its remaining updates are dropped.
BackgroundTask::Handle fillIconList(IconList* list, IconListFill fill);
