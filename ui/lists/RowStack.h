#pragma once
// A slide box that stacks sections one under the other, some of them icon
// lists that fill rows at their width. At the designed width each list
// takes the rows its items fill and everything stays where it was placed;
// where a list needs more rows than it would at the designed width (a
// narrower window) or fewer (a wider one), everything below it moves down
// or up by the difference. UI thread only.
#include <QHash>
#include <QPointer>
#include <vector>

class IconList;
class QWidget;

class RowStack {
public:
    // Records where the controls of `content` are placed now: their
    // designed tops.
    explicit RowStack(QWidget* content);

    // A list of the stack, `rowHeight` pixels a row; its width now is its
    // designed width.
    void addList(IconList* list, int rowHeight);

    // Lays the lists out for their widths and items; returns by how much the
    // content's height changed since the last layout (the caller grows or
    // shrinks its slide box by as much).
    int layOut();

private:
    struct StackedList {
        IconList* list;
        int rowHeight;
        int designedWidth;
        int designedTop;
    };

    QWidget* content_;
    QHash<QWidget*, int> designedTops_;
    std::vector<StackedList> lists_;
    int appliedExtra_ = 0;
};
