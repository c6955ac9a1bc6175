#pragma once
// Item events of icon lists turned into the ids they stand for: an event with
// index i means entry i of the list's ids.
#include "browse/Router.h"
#include "ui/pages/Navigation.h"

#include <QMetaObject>
#include <functional>
#include <string>

class IconList;

using IconListSignal = void (IconList::*)(int);

// Calls `handle` with the id of the item `signal` names. An index outside
// `ids` (an empty list, or one still filling) does nothing. `ids` must
// outlive the list.
QMetaObject::Connection onItemId(IconList* list, IconListSignal signal, const ItemIds* ids,
                                 std::function<void(const std::string& id)> handle);

// A click on an item opens `place` for the item's id; going back from it
// leads to `from`.
QMetaObject::Connection openPageOnClick(IconList* list, const ItemIds* ids, Router& router, Place place, Place from);
