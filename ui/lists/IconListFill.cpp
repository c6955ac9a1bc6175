#include "ui/lists/IconListFill.h"

#include "ui/lists/IconList.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/RoundedPicture.h"

#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <memory>

namespace {

// What the task and its UI-thread updates share. The task thread reads only
// the plain picture values and `cancelled`; `list` and `itemIds` are used on
// the UI thread only.
struct FillRun {
    QPointer<IconList> list;
    ItemIds* itemIds;
    std::shared_ptr<std::atomic<bool>> cancelled;
    bool reenableAtEnd;
    bool clearCurrentItem;
    std::function<void(int)> onItemsInserted;
    std::function<void(ServiceStatus, int)> onLoaded;
    PictureShape shape;
    QImage fixedPicture;  // already shaped
    int itemCount = 0;    // set with the items' insertion, UI thread only
    int itemsShown = 0;   // UI thread only
};

// Runs `update` on the UI thread unless the fill was replaced or the list is gone.
void onUiThread(const std::shared_ptr<FillRun>& run, std::function<void(IconList&)> update) {
    runOnUiThread(QCoreApplication::instance(), [run, update = std::move(update)] {
        if (run->cancelled->load() || !run->list) return;
        update(*run->list);
    });
}

// Hands item `i` to the UI thread: its texts, its picture and its id.
void showItem(const std::shared_ptr<FillRun>& run, int i, CoverItem record, QImage picture) {
    onUiThread(run, [run, i, picture = std::move(picture), record = std::move(record)](IconList& list) {
        list.setItemText(i, IconText::Main, QString::fromStdString(record.name));
        list.setItemText(i, IconText::Second, QString::fromStdString(record.subtitle));
        list.setItemPicture(i, picture);
        if (run->itemIds) run->itemIds->push_back(record.id);
        // The list takes clicks again together with its last item, so a
        // click on a list that shows everything is never lost.
        if (++run->itemsShown == run->itemCount && run->reenableAtEnd) list.setEnabled(true);
    });
}

void fillOnTask(const std::shared_ptr<FillRun>& run, const IconListFill& fill) {
    ServiceStatus status = ServiceStatus::Answered;
    std::vector<CoverItem> records = fill.fetchRecords ? fill.fetchRecords(&status) : std::vector<CoverItem>{};
    if (records.size() > fill.maxItems) records.resize(fill.maxItems);
    const int count = int(records.size());
    onUiThread(run, [run, count, status](IconList& list) {
        run->itemCount = count;
        list.insertItems(count);
        if (run->clearCurrentItem) list.setCurrentItem(-1);
        if (run->onItemsInserted) run->onItemsInserted(count);
        if (run->onLoaded) run->onLoaded(status, count);
    });
    if (!run->fixedPicture.isNull() || !fill.pictures) {
        for (int i = 0; i < count && !run->cancelled->load(); ++i)
            showItem(run, i, std::move(records[size_t(i)]), run->fixedPicture);
    } else {
        std::vector<std::string> urls;
        urls.reserve(records.size());
        for (const CoverItem& record : records) urls.push_back(record.pictureUrl);
        fill.pictures->loadInOrder(
            urls, run->shape,
            [&](std::size_t i, QImage picture) { showItem(run, int(i), std::move(records[i]), std::move(picture)); },
            [&cancelled = *run->cancelled] { return cancelled.load(); });
    }
    onUiThread(run, [run](IconList& list) {
        if (run->reenableAtEnd) list.setEnabled(true);
    });
}

}  // namespace

BackgroundTask::Handle fillIconList(IconList* list, IconListFill fill) {
    auto run = std::make_shared<FillRun>();
    run->list = list;
    run->itemIds = fill.itemIds;
    run->cancelled = list->replaceFill();
    run->reenableAtEnd = fill.disableWhileFilling;
    run->clearCurrentItem = fill.clearCurrentItem;
    run->onItemsInserted = std::move(fill.onItemsInserted);
    run->onLoaded = std::move(fill.onLoaded);
    run->shape = {fill.itemTemplate.pictureRect.size(), fill.itemTemplate.rounding, list->devicePixelRatioF()};
    run->fixedPicture =
        makeRoundedPicture(fill.fixedPicture, run->shape.size, run->shape.rounding, run->shape.devicePixelRatio);

    if (fill.disableWhileFilling) list->setEnabled(false);
    list->setItemTemplate(fill.itemTemplate);
    list->removeAllItems();
    if (run->itemIds) run->itemIds->clear();
    // The task needs neither the template's fonts nor the callbacks it has handed over.
    fill.itemTemplate = {};
    return list->fillTasks().start([run, fill = std::move(fill)] { fillOnTask(run, fill); });
}
