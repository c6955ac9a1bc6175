#include "ui/pages/Page.h"

#include "ui/widgets/EdgeFollower.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace {

QWidget* makeBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(geometry);
    return box;
}

// A panel as wide as the page stretches with it; a smaller one (the login
// box) stays in the middle.
bool stretchesWithPage(QRect panel) { return panel.width() * 2 > kPageAreaRect.width(); }

}  // namespace

Page::Page(int index, QScrollBar* scrollBar) : index_(index) {
    const PageLayout& layout = pageLayout(index);
    setObjectName(QString::fromUtf8(layout.title));
    // The page area's size from the start, so panes that use the page as
    // their mask know its height before the page is placed.
    resize(kPageAreaRect.size());
    using C = PageLayout::Container;
    switch (layout.container) {
        case C::None: break;
        case C::GroupBox: content_ = container_ = makeBox(this, layout.containerName, layout.containerRect); break;
        case C::SlideBox:
            content_ = container_ = makeBox(this, layout.pane->slideBoxName, layout.containerRect);
            pane_ = std::make_unique<ScrollPane>(layout.pane->key, content_, this, scrollBar);
            break;
        case C::Mask: {
            container_ = makeBox(this, layout.containerName, layout.containerRect);
            content_ = makeBox(container_, layout.pane->slideBoxName, QRect(QPoint(0, 0), layout.pane->slideBoxSize));
            pane_ = std::make_unique<ScrollPane>(layout.pane->key, content_, container_, scrollBar);
            break;
        }
    }
    // The controls of scrolled content keep to its sides as it widens; its
    // height is the content's own.
    // So do those of a panel as wide as the page (the settings).
    if (pane_ || (layout.container == C::GroupBox && stretchesWithPage(layout.containerRect)))
        contentFollower_ = new EdgeFollower(content_, {}, {.follows = false});
}

void Page::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!container_) return;
    const PageLayout& layout = pageLayout(index_);
    const QSize extra = size() - kPageAreaRect.size();
    const QRect designed = layout.containerRect;
    using C = PageLayout::Container;
    switch (layout.container) {
        case C::None: return;
        case C::GroupBox:
            if (stretchesWithPage(designed))
                container_->setGeometry(designed.adjusted(0, 0, extra.width(), extra.height()));
            else
                container_->move(designed.topLeft() + QPoint(extra.width() / 2, extra.height() / 2));
            break;
        case C::SlideBox: content_->resize(designed.width() + extra.width(), content_->height()); break;
        case C::Mask:
            container_->setGeometry(designed.adjusted(0, 0, extra.width(), extra.height()));
            content_->resize(layout.pane->slideBoxSize.width() + extra.width(), content_->height());
            break;
    }
    if (pane_) pane_->followMaskHeight();
    if (contentFollower_) contentFollower_->placeAll();
    if (event->oldSize().width() != width()) widthChanged();
}

Page::~Page() = default;

QString Page::title() const { return QString::fromUtf8(pageLayout(index_).title); }

ServiceFailureLine* Page::addFailureLine(QRect geometry) {
    failureLine_ = new ServiceFailureLine(content_, geometry);
    return failureLine_;
}
