#include "browse/Router.h"

void Router::open(const Destination& destination, Place from) {
    // A page opened from itself (an artist from an artist's album row,
    // reached again) keeps where it led back to, or it would lead nowhere.
    if (destination.place != from) backTargets_[destination.place] = from;
    current_ = destination.place;
    emit opened(destination);
}

Place Router::backTarget(Place place) const {
    const auto found = backTargets_.find(place);
    return found == backTargets_.end() ? Place::Home : found->second;
}

void Router::back() {
    current_ = backTarget(current_);
    emit returned(current_);
}

void Router::backFrom(Place place) {
    if (current_ == place) back();
}
