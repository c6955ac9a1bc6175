#include "ui/lists/ItemEvents.h"

#include "ui/lists/IconList.h"

QMetaObject::Connection onItemId(IconList* list, IconListSignal signal, const ItemIds* ids,
                                 std::function<void(const std::string& id)> handle) {
    return QObject::connect(list, signal, list, [ids, handle = std::move(handle)](int index) {
        if (index < 0 || size_t(index) >= ids->size()) return;
        handle((*ids)[size_t(index)]);
    });
}

QMetaObject::Connection openPageOnClick(IconList* list, const ItemIds* ids, Router& router, Place place, Place from) {
    return onItemId(list, &IconList::itemClicked, ids, [&router, place, from](const std::string& id) {
        router.open({place, id}, from);
    });
}
