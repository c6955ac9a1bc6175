#include "anim/ProgramAnimations.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

// Holds the tweens; a Qt child of the application, so they go with it.
class Registry : public QObject {
public:
    using QObject::QObject;

    AnimationObject scrollPanes;
    TimerAnimation nowPlayingSlide;
    TimerAnimation lyricScroll;
};

Registry& registry() {
    static QPointer<Registry> instance;
    if (!instance) instance = new Registry(QCoreApplication::instance());
    return *instance;
}

}  // namespace

namespace ProgramAnimations {

AnimationObject& scrollPanes() { return registry().scrollPanes; }

TimerAnimation& nowPlayingSlide() { return registry().nowPlayingSlide; }

TimerAnimation& lyricScroll() { return registry().lyricScroll; }

}  // namespace ProgramAnimations
