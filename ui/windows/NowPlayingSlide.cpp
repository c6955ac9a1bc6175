#include "ui/windows/NowPlayingSlide.h"

#include "ui/windows/MainWindow.h"

#include <QPointer>
#include <QWidget>

namespace NowPlayingSlide {

bool toggle(QWidget& view, TimerAnimation& slide) {
    const int top = view.y();
    const int parkedTop = view.parentWidget() ? MainWindow::nowPlayingParkedTop(view.parentWidget()->height())
                                              : MainWindow::kNowPlayingParkedTop;
    int target = 0;
    if (top == parkedTop)
        target = MainWindow::kNowPlayingShownTop;
    else if (top == MainWindow::kNowPlayingShownTop)
        target = parkedTop;
    else
        return false;
    // The tween outlives windows; a view closed mid-slide is simply not moved.
    QPointer<QWidget> moving(&view);
    return slide.start(
        top, target, kCurve,
        [moving](double value, double) {
            if (moving) moving->move(moving->x(), static_cast<int>(value));
        },
        {}, kTickMs);
}

}  // namespace NowPlayingSlide
