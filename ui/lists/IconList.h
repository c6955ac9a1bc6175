#pragma once
// The icon list of every catalogue list: items built from one template (a
// picture and one or two text lines), drawn by the list itself. The list
// does not scroll: its page's slide box does, and its filler sets its height.
// UI thread only.
#include "base/BackgroundTask.h"
#include "ui/lists/IconTemplate.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <atomic>
#include <memory>
#include <vector>

enum class IconText { Main, Second };

class IconList : public QWidget {
    Q_OBJECT
public:
    explicit IconList(QWidget* parent = nullptr);
    ~IconList() override;

    void setItemTemplate(const IconTemplate& itemTemplate);
    const IconTemplate& itemTemplate() const { return template_; }

    // Appends `count` items without picture or text.
    void insertItems(int count);
    void removeAllItems();
    int itemCount() const { return int(items_.size()); }

    // Changes of items that do not exist are ignored.
    void setItemPicture(int index, const QImage& picture);
    void setItemText(int index, IconText element, const QString& text);
    QImage itemPicture(int index) const;
    QString itemText(int index, IconText element) const;

    // The current item, −1 for none.
    int currentItem() const { return current_; }
    void setCurrentItem(int index);
    // The marked item (the song playing, say), its lines drawn in the
    // accent colour; −1 for none.
    int markedItem() const { return marked_; }
    void setMarkedItem(int index);
    // The items before `index` are drawn faded (the songs played already).
    void setFadedBefore(int index);
    int fadedBefore() const { return fadedBefore_; }

    // Where item `index` is drawn, and the item under a point (−1 for none).
    QRect itemRect(int index) const;
    int itemAt(QPoint point) const;

    // Fills in flight on this list share a flag each; starting a new fill
    // raises the flag of the one before, so only the newest fill writes.
    std::shared_ptr<std::atomic<bool>> replaceFill();
    // The list's fill tasks; they end before the list is gone.
    TaskOwner& fillTasks() { return fillTasks_; }

    // How many items fit side by side at the list's width (at least one).
    int columns() const;
    // How many would fit at `width`.
    int columnsAt(int width) const;

signals:
    // A left click on an item; it becomes the current item.
    void itemClicked(int index);
    // The user made the item current, by click or with the arrow keys.
    void itemChosen(int index);
    // A double-click, or Enter on the current item.
    void itemActivated(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Item {
        QImage picture;
        QString mainText;
        QString secondText;
    };

    void setHovered(int index);
    void chooseByUser(int index);
    void paintItem(QPainter& painter, int index);

    IconTemplate template_;
    std::vector<Item> items_;
    int current_ = -1;
    int marked_ = -1;
    int fadedBefore_ = 0;
    int hovered_ = -1;
    int pressed_ = -1;
    std::shared_ptr<std::atomic<bool>> fillCancelled_;
    TaskOwner fillTasks_;  // last: its tasks stop before anything above goes
};
