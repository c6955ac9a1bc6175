#include "ui/lists/ItemEvents.h"

#include "ui/lists/IconList.h"
#include "ui/pages/Page.h"

QMetaObject::Connection onItemId(IconList* list, IconListSignal signal, const ItemIds* ids,
                                 std::function<void(const std::string& id)> handle) {
    return QObject::connect(list, signal, list, [ids, handle = std::move(handle)](int index) {
        if (index < 0 || size_t(index) >= ids->size()) return;
        handle((*ids)[size_t(index)]);
    });
}

void openSelected(Navigation& navigation, std::string NavigationState::*selected, const std::string& id, int page,
                  int returnPage, int NavigationState::*returnField) {
    navigation.state().*selected = id;
    navigation.showPage(page);
    navigation.state().*returnField = returnPage;
    navigation.page(page)->loadSelected();
}

QMetaObject::Connection openPageOnClick(IconList* list, const ItemIds* ids, Navigation& navigation,
                                        std::string NavigationState::*selected, int page, int returnPage,
                                        int NavigationState::*returnField) {
    return onItemId(list, &IconList::itemClicked, ids,
                    [&navigation, selected, page, returnPage, returnField](const std::string& id) {
                        openSelected(navigation, selected, id, page, returnPage, returnField);
                    });
}
