#include "ui/ItemEvents.h"

#include "ui/IconList.h"
#include "ui/Page.h"

QMetaObject::Connection onItemId(IconList* list, IconListSignal signal, const ItemIds* ids,
                                 std::function<void(const std::string& id)> handle) {
    return QObject::connect(list, signal, list, [ids, handle = std::move(handle)](int index) {
        if (index < 0 || size_t(index) >= ids->size()) return;
        handle((*ids)[size_t(index)]);
    });
}

QMetaObject::Connection openPageOnClick(IconList* list, const ItemIds* ids, Navigation& navigation,
                                        std::string NavigationState::*selected, int page, int returnPage) {
    return onItemId(list, &IconList::itemClicked, ids, [&navigation, selected, page, returnPage](const std::string& id) {
        navigation.state().*selected = id;
        navigation.showPage(page);
        navigation.state().returnPage = returnPage;
        navigation.page(page)->loadSelected();
    });
}
