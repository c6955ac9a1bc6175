#pragma once
// One page of the main window's page area, built from its row of the page
// table: its container (a slide box on the page, a mask holding a slide box,
// or a plain panel) and its scroll pane. Pages with content derive from it
// and place their controls in `content()`.
#include "browse/Router.h"
#include "ui/pages/PageTable.h"

#include <QWidget>
#include <memory>

class EdgeFollower;
class QScrollBar;
class ScrollPane;
class ServiceFailureLine;

class Account;
class CatalogueFeeds;

class Page : public QWidget {
public:
    // `scrollBar` is the window's scrollbar for this page's pane (nullptr
    // for pages without one).
    Page(int index, QScrollBar* scrollBar);
    ~Page() override;

    int index() const { return index_; }
    QString title() const;
    // Where the page's controls go: the slide box, or the plain panel;
    // nullptr for pages without a container.
    QWidget* content() const { return content_; }
    ScrollPane* scrollPane() const { return pane_.get(); }
    // While a song loads, lists on the page that start a play wait.
    virtual void lockPlayStarters(bool /*locked*/) {}
    // The page has just been shown for `destination` (the artist or playlist
    // of a clicked item, a keyword): pages that show one thing load it.
    virtual void open(const Destination& /*destination*/) {}
    // The catalogue feeds were made (or made anew): pages that show one of
    // them become its view here.
    virtual void showFeeds(CatalogueFeeds& /*feeds*/) {}
    // The account was made: pages that show part of it follow it from here.
    virtual void followAccount(Account& /*account*/) {}
    // The line the page shows where its content could not be loaded;
    // nullptr on pages that load nothing.
    ServiceFailureLine* failureLine() const { return failureLine_; }

protected:
    // The page area changed size: the container follows it (a mask and its
    // slide box widen and grow, a slide box widens, a wide panel stretches,
    // a small one stays in the middle) and the controls of the content keep
    // to its edges; then `widthChanged` runs.
    void resizeEvent(QResizeEvent* event) override;
    // The content has its new width: pages whose lists lay out by their
    // width fit their heights here.
    virtual void widthChanged() {}

    // Places the page's failure line in its content at `geometry`, above the
    // controls made so far.
    ServiceFailureLine* addFailureLine(QRect geometry);

private:
    int index_;
    QWidget* content_ = nullptr;
    QWidget* container_ = nullptr;  // the page's one child: the mask, the slide box or the panel
    EdgeFollower* contentFollower_ = nullptr;
    std::unique_ptr<ScrollPane> pane_;
    ServiceFailureLine* failureLine_ = nullptr;
};
