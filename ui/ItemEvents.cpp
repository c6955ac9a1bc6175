#include "ui/ItemEvents.h"

#include "ui/IconList.h"

QMetaObject::Connection onItemId(IconList* list, IconListSignal signal, const ItemIds* ids,
                                 std::function<void(const std::string& id)> handle) {
    return QObject::connect(list, signal, list, [ids, handle = std::move(handle)](int index) {
        if (index < 0 || size_t(index) >= ids->size()) return;
        handle((*ids)[size_t(index)]);
    });
}
