#include "anim/ProgramAnimations.h"

#include <QCoreApplication>
#include <QPointer>
#include <map>

namespace {

// Owns the created tweens as Qt children, so they go with the application.
class Registry : public QObject {
public:
    using QObject::QObject;

    template <typename T>
    T& get(std::map<int, T*>& created, int number) {
        auto found = created.find(number);
        if (found != created.end()) return *found->second;
        auto* tween = new T;
        tween->setParent(this);
        created.emplace(number, tween);
        return *tween;
    }

    std::map<int, AnimationObject*> animationObjects;
    std::map<int, TimerAnimation*> timerAnimations;
};

Registry& registry() {
    static QPointer<Registry> instance;
    if (!instance) instance = new Registry(QCoreApplication::instance());
    return *instance;
}

}  // namespace

namespace ProgramAnimations {

AnimationObject& animationObject(int number) {
    Registry& r = registry();
    return r.get(r.animationObjects, number);
}

TimerAnimation& timerAnimation(int number) {
    Registry& r = registry();
    return r.get(r.timerAnimations, number);
}

}  // namespace ProgramAnimations
