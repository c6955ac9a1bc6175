#include "ui/pages/Page.h"

#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QScrollBar>

namespace {

QWidget* makeBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(geometry);
    return box;
}

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
        case C::GroupBox: content_ = makeBox(this, layout.containerName, layout.containerRect); break;
        case C::SlideBox:
            content_ = makeBox(this, layout.pane->slideBoxName, layout.containerRect);
            pane_ = std::make_unique<ScrollPane>(layout.pane->key, content_, this, scrollBar);
            break;
        case C::Mask: {
            QWidget* mask = makeBox(this, layout.containerName, layout.containerRect);
            content_ = makeBox(mask, layout.pane->slideBoxName, QRect(QPoint(0, 0), layout.pane->slideBoxSize));
            pane_ = std::make_unique<ScrollPane>(layout.pane->key, content_, mask, scrollBar);
            break;
        }
    }
}

Page::~Page() = default;

QString Page::title() const { return QString::fromUtf8(pageLayout(index_).title); }

ServiceFailureLine* Page::addFailureLine(QRect geometry) {
    failureLine_ = new ServiceFailureLine(content_, geometry);
    return failureLine_;
}
