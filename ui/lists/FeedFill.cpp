#include "ui/lists/FeedFill.h"

#include "ui/lists/IconList.h"
#include "ui/widgets/ServiceFailureLine.h"

void showFeedInList(FeedSignals& feed, std::function<std::vector<CoverItem>()> covers, IconList* list, ListLook look,
                    ServiceFailureLine* failures, FeedListHooks hooks) {
    failures->follow(feed);
    QObject::connect(&feed, &FeedSignals::started, list, [list, look] {
        // An empty fill drops what the list showed and whatever an older fill still hands over.
        fillIconList(list, look());
    });
    QObject::connect(&feed, &FeedSignals::requestEnded, list, [&feed, covers, list, look, hooks](ServiceStatus status) {
        std::vector<CoverItem> records = status == ServiceStatus::Answered ? covers() : std::vector<CoverItem>{};
        if (hooks.requestEnded) hooks.requestEnded(status, int(records.size()));
        if (status != ServiceStatus::Answered) {
            if (hooks.shown) hooks.shown();
            return;
        }
        IconListFill shown = look();
        shown.fetchRecords = [records = std::move(records)](ServiceStatus*) { return records; };
        const BackgroundTask::Handle fill = fillIconList(list, std::move(shown));
        if (!hooks.shown) return;
        // A fill that a newer load has replaced shows nothing of note.
        QObject::connect(fill.get(), &BackgroundTask::TaskState::finished, list, [&feed, shownHook = hooks.shown] {
            if (!feed.isLoading()) shownHook();
        });
    });
}
