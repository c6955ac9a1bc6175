#include "ui/IconListFill.h"

#include "api/CloudApiClient.h"
#include "ui/IconList.h"
#include "ui/PictureDecoder.h"
#include "ui/RoundedPicture.h"

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
    QSize pictureSize;
    int rounding;
    qreal devicePixelRatio;
    QImage fixedPicture;  // already shaped
};

// Runs `update` on the UI thread unless the fill was replaced or the list is gone.
void onUiThread(const std::shared_ptr<FillRun>& run, std::function<void(IconList&)> update) {
    runOnUiThread(QCoreApplication::instance(), [run, update = std::move(update)] {
        if (run->cancelled->load() || !run->list) return;
        update(*run->list);
    });
}

QImage itemPicture(const FillRun& run, const PictureFetcher& fetch, const std::string& url) {
    if (!run.fixedPicture.isNull()) return run.fixedPicture;
    if (url.empty() || !fetch) return {};
    const QImage decoded = decodePicture(fetch(url), run.pictureSize * run.devicePixelRatio);
    return makeRoundedPicture(decoded, run.pictureSize, run.rounding, run.devicePixelRatio);
}

void fillOnTask(const std::shared_ptr<FillRun>& run, const IconListFill& fill) {
    std::vector<CoverItem> records = fill.fetchRecords ? fill.fetchRecords() : std::vector<CoverItem>{};
    if (records.size() > fill.maxItems) records.resize(fill.maxItems);
    const int count = int(records.size());
    onUiThread(run, [run, count](IconList& list) {
        list.insertItems(count);
        if (run->clearCurrentItem) list.setCurrentItem(-1);
        if (run->onItemsInserted) run->onItemsInserted(count);
    });
    for (int i = 0; i < count && !run->cancelled->load(); ++i) {
        CoverItem& record = records[size_t(i)];
        QImage picture = itemPicture(*run, fill.fetchPicture, record.pictureUrl);
        onUiThread(run, [run, i, picture = std::move(picture), record = std::move(record)](IconList& list) {
            list.setItemText(i, IconText::Main, QString::fromStdString(record.name));
            list.setItemText(i, IconText::Second, QString::fromStdString(record.subtitle));
            list.setItemPicture(i, picture);
            if (run->itemIds) run->itemIds->push_back(record.id);
        });
    }
    onUiThread(run, [run](IconList& list) {
        if (run->reenableAtEnd) list.setEnabled(true);
    });
}

}  // namespace

PictureFetcher cataloguePictures(const CloudApiClient& catalogue) {
    return [&catalogue](const std::string& url) { return catalogue.fetchPicture(url); };
}

BackgroundTask::Handle fillIconList(IconList* list, IconListFill fill) {
    auto run = std::make_shared<FillRun>();
    run->list = list;
    run->itemIds = fill.itemIds;
    run->cancelled = list->replaceFill();
    run->reenableAtEnd = fill.disableWhileFilling;
    run->clearCurrentItem = fill.clearCurrentItem;
    run->onItemsInserted = std::move(fill.onItemsInserted);
    run->pictureSize = fill.itemTemplate.pictureRect.size();
    run->rounding = fill.itemTemplate.rounding;
    run->devicePixelRatio = list->devicePixelRatioF();
    run->fixedPicture =
        makeRoundedPicture(fill.fixedPicture, run->pictureSize, run->rounding, run->devicePixelRatio);

    if (fill.disableWhileFilling) list->setEnabled(false);
    list->setItemTemplate(fill.itemTemplate);
    list->removeAllItems();
    if (run->itemIds) run->itemIds->clear();
    // The task needs neither the template's fonts nor the callbacks it has handed over.
    fill.itemTemplate = {};
    return list->fillTasks().start([run, fill = std::move(fill)] { fillOnTask(run, fill); });
}
