#include "ui/lists/RowStack.h"

#include "ui/lists/IconList.h"
#include "ui/lists/ListHeight.h"

#include <QWidget>

RowStack::RowStack(QWidget* content) : content_(content) {
    for (QObject* child : content->children())
        if (child->isWidgetType())
            designedTops_.insert(static_cast<QWidget*>(child), static_cast<QWidget*>(child)->y());
}

void RowStack::addList(IconList* list, int rowHeight) {
    lists_.push_back({list, rowHeight, list->width(), designedTops_.value(list, list->y())});
}

int RowStack::layOut() {
    // How many pixels each list needs beyond its height at the designed width.
    std::vector<int> extras;
    for (const StackedList& s : lists_) {
        const int count = s.list->itemCount();
        // An empty list keeps the height it was given (by its page, or by a
        // fill that brought nothing).
        if (count == 0) {
            extras.push_back(0);
            continue;
        }
        const int rows = int(rowsFor(count, s.list->columns()));
        const int designedRows = int(rowsFor(count, s.list->columnsAt(s.designedWidth)));
        s.list->resize(s.list->width(), clampListHeight(std::int64_t(rows) * s.rowHeight));
        extras.push_back((rows - designedRows) * s.rowHeight);
    }
    int total = 0;
    for (int extra : extras) total += extra;
    for (auto it = designedTops_.cbegin(); it != designedTops_.cend(); ++it) {
        QWidget* control = it.key();
        int shift = 0;
        for (size_t i = 0; i < lists_.size(); ++i)
            if (lists_[i].designedTop < it.value()) shift += extras[i];
        if (control->y() != it.value() + shift) control->move(control->x(), it.value() + shift);
    }
    const int change = total - appliedExtra_;
    appliedExtra_ = total;
    return change;
}
