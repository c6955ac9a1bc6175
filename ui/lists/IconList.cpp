#include "ui/lists/IconList.h"

#include "ui/widgets/RoundedPicture.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// The lines of `text` that fit in `width`, at most `maxLines` of them; the
// last one ends in "…" when text is left over.
QStringList wrappedLines(const QString& text, const QFont& font, int width, int maxLines) {
    const QFontMetrics metrics(font);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (int(lines.size()) == maxLines - 1) {
            lines << metrics.elidedText(text.mid(line.textStart()).trimmed(), Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

void drawTextElement(QPainter& painter, const IconTextElement& element, QPoint offset, const QString& text) {
    if (text.isEmpty()) return;
    const QRect rect = element.rect.translated(offset);
    const QFontMetrics metrics(element.font);
    painter.setFont(element.font);
    painter.setPen(element.color);
    if (!element.wrap) {
        painter.drawText(rect, int(element.alignment) | Qt::TextSingleLine,
                         metrics.elidedText(text, Qt::ElideRight, rect.width()));
        return;
    }
    const int lineHeight = metrics.lineSpacing();
    const QStringList lines = wrappedLines(text, element.font, rect.width(), std::max(1, rect.height() / lineHeight));
    const int blockHeight = int(lines.size()) * lineHeight;
    int top = rect.top();
    if (element.alignment & Qt::AlignVCenter) top += (rect.height() - blockHeight) / 2;
    if (element.alignment & Qt::AlignBottom) top += rect.height() - blockHeight;
    const int horizontal = int(element.alignment & Qt::AlignHorizontal_Mask);
    for (const QString& line : lines) {
        painter.drawText(QRect(rect.left(), top, rect.width(), lineHeight), horizontal | Qt::AlignVCenter, line);
        top += lineHeight;
    }
}

}  // namespace

IconList::IconList(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

IconList::~IconList() {
    if (fillCancelled_) fillCancelled_->store(true);
}

void IconList::setItemTemplate(const IconTemplate& itemTemplate) {
    template_ = itemTemplate;
    update();
}

void IconList::insertItems(int count) {
    if (count <= 0) return;
    items_.resize(items_.size() + size_t(count));
    update();
}

void IconList::removeAllItems() {
    items_.clear();
    current_ = marked_ = hovered_ = pressed_ = -1;
    fadedBefore_ = 0;
    unsetCursor();
    update();
}

void IconList::setItemPicture(int index, const QImage& picture) {
    if (index < 0 || index >= itemCount()) return;
    items_[size_t(index)].picture = picture;
    update(itemRect(index));
}

void IconList::setItemText(int index, IconText element, const QString& text) {
    if (index < 0 || index >= itemCount()) return;
    Item& item = items_[size_t(index)];
    (element == IconText::Main ? item.mainText : item.secondText) = text;
    update(itemRect(index));
}

QImage IconList::itemPicture(int index) const {
    return index >= 0 && index < itemCount() ? items_[size_t(index)].picture : QImage();
}

QString IconList::itemText(int index, IconText element) const {
    if (index < 0 || index >= itemCount()) return {};
    const Item& item = items_[size_t(index)];
    return element == IconText::Main ? item.mainText : item.secondText;
}

void IconList::setCurrentItem(int index) {
    if (index < -1 || index >= itemCount() || index == current_) return;
    if (current_ >= 0) update(itemRect(current_));
    current_ = index;
    if (current_ >= 0) update(itemRect(current_));
}

void IconList::setMarkedItem(int index) {
    if (index < -1 || index >= itemCount() || index == marked_) return;
    if (marked_ >= 0) update(itemRect(marked_));
    marked_ = index;
    if (marked_ >= 0) update(itemRect(marked_));
}

int IconList::columns() const { return columnsAt(width()); }

int IconList::columnsAt(int width) const {
    const int cellWidth = template_.cellSize.width();
    if (cellWidth <= 0) return 1;
    return std::max(1, (width - template_.origin.x()) / cellWidth);
}

QRect IconList::itemRect(int index) const {
    const int perRow = columns();
    const QPoint place(template_.origin.x() + (index % perRow) * template_.cellSize.width(),
                       template_.origin.y() + (index / perRow) * template_.cellSize.height());
    return QRect(place, template_.cellSize);
}

int IconList::itemAt(QPoint point) const {
    const QSize cell = template_.cellSize;
    if (cell.isEmpty()) return -1;
    const QPoint local = point - template_.origin;
    if (local.x() < 0 || local.y() < 0) return -1;
    const int column = local.x() / cell.width();
    if (column >= columns()) return -1;
    const int index = (local.y() / cell.height()) * columns() + column;
    if (index >= itemCount()) return -1;
    // Only the picture and the text lines answer, not the space between items.
    const QPoint inItem = point - itemRect(index).topLeft();
    return template_.usedRect().contains(inItem) ? index : -1;
}

std::shared_ptr<std::atomic<bool>> IconList::replaceFill() {
    if (fillCancelled_) fillCancelled_->store(true);
    fillCancelled_ = std::make_shared<std::atomic<bool>>(false);
    return fillCancelled_;
}

void IconList::setHovered(int index) {
    if (index == hovered_) return;
    if (hovered_ >= 0) update(itemRect(hovered_));
    hovered_ = index;
    if (hovered_ >= 0) update(itemRect(hovered_));
    if (hovered_ >= 0)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void IconList::chooseByUser(int index) {
    setCurrentItem(index);
    emit itemChosen(index);
}

void IconList::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton ? itemAt(event->position().toPoint()) : -1;
}

void IconList::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = std::exchange(pressed_, -1);
    if (event->button() != Qt::LeftButton || pressed < 0 || itemAt(event->position().toPoint()) != pressed) return;
    setCurrentItem(pressed);
    emit itemClicked(pressed);
    emit itemChosen(pressed);
}

void IconList::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) emit itemActivated(index);
}

void IconList::mouseMoveEvent(QMouseEvent* event) { setHovered(itemAt(event->position().toPoint())); }

void IconList::leaveEvent(QEvent*) { setHovered(-1); }

void IconList::keyPressEvent(QKeyEvent* event) {
    if (itemCount() == 0) return QWidget::keyPressEvent(event);
    const int from = std::max(current_, 0);
    int to = from;
    switch (event->key()) {
        case Qt::Key_Left: to = from - 1; break;
        case Qt::Key_Right: to = from + 1; break;
        case Qt::Key_Up: to = from - columns(); break;
        case Qt::Key_Down: to = from + columns(); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (current_ >= 0) emit itemActivated(current_);
            return;
        default: return QWidget::keyPressEvent(event);
    }
    if (to >= 0 && to < itemCount()) chooseByUser(to);
}

void IconList::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Only the rows of boxes the exposed area crosses, so a long list paints
    // as fast as a short one.
    const QRect exposed = event->rect();
    const int cellHeight = std::max(1, template_.cellSize.height());
    const int perRow = columns();
    const int firstRow = std::max(0, (exposed.top() - template_.origin.y()) / cellHeight);
    const int lastRow = std::max(0, (exposed.bottom() - template_.origin.y()) / cellHeight);
    const int last = int(std::min<std::int64_t>(itemCount(), std::int64_t(lastRow + 1) * perRow));
    for (int i = firstRow * perRow; i < last; ++i) {
        if (itemRect(i).intersects(exposed)) paintItem(painter, i);
    }
}

void IconList::setFadedBefore(int index) {
    if (index == fadedBefore_) return;
    fadedBefore_ = index;
    update();
}

void IconList::paintItem(QPainter& painter, int index) {
    const Item& item = items_[size_t(index)];
    const QPoint offset = itemRect(index).topLeft();
    painter.setOpacity(index < fadedBefore_ ? 0.5 : 1.0);
    if (index == current_ || index == hovered_) {
        // A soft ground behind the item's picture and lines.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(index == current_ ? 0xFFFDF0F5 : Theme::kHover));
        painter.drawRoundedRect(QRectF(template_.usedRect().translated(offset)).adjusted(-6, -6, 6, 6), 12, 12);
    }
    const QRect pictureRect = template_.pictureRect.translated(offset);
    if (!pictureRect.isEmpty()) {
        if (item.picture.isNull()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor::fromRgba(Theme::kPlaceholder));
            painter.drawPath(roundedOutline(pictureRect, template_.rounding));
        } else {
            painter.drawImage(pictureRect, item.picture);
        }
    }
    auto drawLine = [&](IconTextElement element, const QString& text) {
        if (index == marked_) element.color = QColor::fromRgba(Theme::kAccent);
        drawTextElement(painter, element, offset, text);
    };
    drawLine(template_.mainText, item.mainText);
    if (template_.secondText) drawLine(*template_.secondText, item.secondText);
}
