#pragma once
// Item events of icon lists turned into the ids they stand for: an event with
// index i means entry i of the list's ids.
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

// Opens the page of one thing: the navigation state's `selected` takes `id`,
// page `page` is shown, going back from it leads to `returnPage` (kept in
// the state's `returnField`), and the page loads what was selected.
void openSelected(Navigation& navigation, std::string NavigationState::*selected, const std::string& id, int page,
                  int returnPage, int NavigationState::*returnField = &NavigationState::returnPage);

// A click on an item opens the page of what it stands for (`openSelected`
// with the item's id).
QMetaObject::Connection openPageOnClick(IconList* list, const ItemIds* ids, Navigation& navigation,
                                        std::string NavigationState::*selected, int page, int returnPage,
                                        int NavigationState::*returnField = &NavigationState::returnPage);
