#include "ui/windows/NowPlayingView.h"

#include "ui/widgets/EdgeFollower.h"

#include "anim/ProgramAnimations.h"
#include "ui/pictures/ImageBlur.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/RoundedPicture.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/WindowDrag.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr QRgb kLyricText = 0xFFF5F5F5;
constexpr QRgb kSelectedLyricText = 0xFFFFFFFF;
// The backdrop is blurred at a quarter of the view's size: the blur is
// wide anyway, and scaling up smooths it further.
constexpr int kBackdropScale = 4;
constexpr int kBackdropBlurRadius = 6;
// Darkens the blurred cover so the light lyric text reads on any cover.
constexpr QRgb kBackdropShade = 0x8C141418;

// The panel in front of the backdrop: it holds the cover, the title and the
// lyrics, and shades the backdrop behind them.
class ShadePanel : public QWidget {
public:
    explicit ShadePanel(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgba(kBackdropShade));
    }
};

// The item data role holding how much of a line is sung (a double from 0 to 1).
constexpr int kSungPartRole = Qt::UserRole + 1;

// Draws lyric items as the list's style does, except the selected one with a
// sung part: its background as the style draws it, then its lines centred in
// the selected colour, the sung part of the first one from its left in the
// sung colour.
class SungLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QVariant sung = index.data(kSungPartRole);
        if (!sung.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        // The item's own text: the option's has its line breaks turned into line separators.
        const QStringList lines = index.data(Qt::DisplayRole).toString().split('\n');
        item.text.clear();
        const QWidget* list = option.widget;
        QStyle* style = list ? list->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, list);

        const QFontMetricsF metrics(item.font);
        const double top = item.rect.center().y() + 1 - lines.size() * metrics.lineSpacing() / 2;
        painter->save();
        painter->setFont(item.font);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double width = metrics.horizontalAdvance(lines[i]);
            const QPointF at(item.rect.left() + (item.rect.width() - width) / 2,
                             top + i * metrics.lineSpacing() + metrics.ascent());
            painter->setPen(QColor::fromRgba(kSelectedLyricText));
            painter->drawText(at, lines[i]);
            if (i != 0) continue;
            painter->save();
            painter->setClipRect(QRectF(at.x(), top, width * sung.toDouble(), metrics.lineSpacing()));
            painter->setPen(QColor::fromRgba(DesktopLyricsWindow::kSungColour));
            painter->drawText(at, lines[i]);
            painter->restore();
        }
        painter->restore();
    }
};

QImage blurredBackdrop(const QImage& cover, QSize viewSize) {
    if (cover.isNull()) return {};
    const QSize small = viewSize / kBackdropScale;
    QImage cropped = cover.copy(coverSourceRect(cover, small).toRect())
                         .scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return blurredImage(cropped, kBackdropBlurRadius);
}

}  // namespace

NowPlayingView::NowPlayingView(QWidget* window) : QWidget(window) {
    setObjectName("图片框_大封面");

    auto* filter = new ShadePanel(this);
    filter->setObjectName("滤镜_高斯模糊");
    filter->setGeometry(0, 0, 1068, 655);
    makeWindowDragHandle(filter, window);

    cover_ = new PictureBox(filter);
    cover_->setObjectName("大屏_封面");
    cover_->setGeometry(55, 80, 320, 320);
    cover_->setRounding(16);

    title_ = new QLabel(filter);
    title_->setObjectName("大屏_歌名");
    title_->setGeometry(55, 420, 320, 115);
    title_->setWordWrap(true);
    title_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title_->setFont(Theme::font(22, QFont::DemiBold));
    title_->setStyleSheet(QString("color: %1; background: transparent;").arg(QColor::fromRgba(kLyricText).name()));

    // The lyric offset: "‹ 提前0.5秒", the shift, "延后0.5秒 ›".
    const QString lightText = QString("color: %1; background: transparent;").arg(QColor::fromRgba(kLyricText).name());
    earlier_ = new FlatButton("‹ 提前0.5秒", filter);
    earlier_->setObjectName("大屏_歌词提前");
    earlier_->setGeometry(55, 560, 110, 32);
    offset_ = new QLabel(filter);
    offset_->setObjectName("大屏_歌词偏移");
    offset_->setGeometry(165, 560, 100, 32);
    offset_->setAlignment(Qt::AlignCenter);
    later_ = new FlatButton("延后0.5秒 ›", filter);
    later_->setObjectName("大屏_歌词延后");
    later_->setGeometry(265, 560, 110, 32);
    for (FlatButton* button : {earlier_, later_}) {
        button->setFont(Theme::font(13));
        button->setTextColor(kLyricText);
    }
    offset_->setFont(Theme::font(13));
    offset_->setStyleSheet(lightText);
    showLyricOffset(0);

    auto* container = new QWidget(filter);
    container->setObjectName("分组框_歌词容器");
    container->setGeometry(420, 42, 580, 570);

    lyrics_ = new QListWidget(container);
    lyrics_->setObjectName("列表框_歌词");
    lyrics_->setGeometry(0, 0, 580, 570);
    lyrics_->setFont(Theme::font(Theme::kDefaultTypeface, 22));
    lyrics_->setFrameShape(QFrame::NoFrame);
    lyrics_->setFocusPolicy(Qt::NoFocus);
    lyrics_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lyrics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lyrics_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list only shows; presses fall through to the panel, which drags the window.
    lyrics_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lyrics_->setItemDelegate(new SungLineDelegate(lyrics_));
    lyrics_->setStyleSheet(QString("QListWidget { background: transparent; color: %1; outline: none; }"
                                   "QListWidget::item { border: none; border-radius: 12px; }"
                                   "QListWidget::item:selected { color: %2; background: rgba(255, 255, 255, 38); }")
                               .arg(QColor::fromRgba(kLyricText).name(), QColor::fromRgba(kSelectedLyricText).name()));

    // As the window grows the backdrop fills it, the lyrics take the room
    // and the cover keeps to the left.
    for (QWidget* follows : {static_cast<QWidget*>(this), static_cast<QWidget*>(filter), container})
        new EdgeFollower(follows, {}, {});
}

void NowPlayingView::showCover(const QImage& cover) {
    cover_->setPicture(cover);
    backdrop_ = blurredBackdrop(cover, size());
    update();
}

void NowPlayingView::setTitle(const QString& title) { title_->setText(title); }

void NowPlayingView::showLyricOffset(int offsetMs) {
    offset_->setText(
        offsetMs == 0
            ? QString("歌词未偏移")
            : QString("%1%2秒").arg(offsetMs > 0 ? "提前" : "延后").arg(std::abs(offsetMs) / 1000.0, 0, 'f', 1));
}

void NowPlayingView::clearLyrics() { lyrics_->clear(); }

void NowPlayingView::setLyrics(const std::vector<LyricItem>& items, int listHeight) {
    for (const LyricItem& line : items) {
        // A translated line is the line, "\r\n" and its translation with its
        // line feed; the list breaks lines at "\n" alone and shows a last
        // one as an empty line.
        QString text = QString::fromStdString(line.text).remove('\r');
        while (text.endsWith('\n')) text.chop(1);
        auto* item = new QListWidgetItem(text, lyrics_);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(lyrics_->width(), line.height));
    }
    lyrics_->resize(lyrics_->width(), listHeight);
}

void NowPlayingView::selectLyric(int index) {
    QListWidgetItem* item = lyrics_->item(index);
    if (!item) return;
    if (item != lyrics_->currentItem()) showSungPart(std::nullopt);
    lyrics_->setCurrentItem(item);
    const int target = kSelectedLineTop - index * item->sizeHint().height();
    // A line lasts several ticks of the lyric timer: once it is in place
    // there is nothing to animate.
    if (lyrics_->y() == target) return;
    QPointer<QListWidget> list(lyrics_);
    ProgramAnimations::lyricScroll().start(
        lyrics_->y(), target, kScrollCurve,
        [list](double value, double) {
            if (list) list->move(list->x(), static_cast<int>(value));
        },
        {}, TimerAnimation::kDefaultInterval, kScrollDurationMs);
}

void NowPlayingView::showSungPart(std::optional<double> part) {
    QListWidgetItem* item = lyrics_->currentItem();
    if (!item) return;
    if (part)
        item->setData(kSungPartRole, std::clamp(*part, 0.0, 1.0));
    else
        item->setData(kSungPartRole, QVariant());
}

std::optional<double> NowPlayingView::sungPart() const {
    const QListWidgetItem* item = lyrics_->currentItem();
    const QVariant part = item ? item->data(kSungPartRole) : QVariant();
    return part.isValid() ? std::optional<double>(part.toDouble()) : std::nullopt;
}

void NowPlayingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (backdrop_.isNull()) {
        painter.fillRect(rect(), QColor(0x2A, 0x2A, 0x30));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), backdrop_);
}
