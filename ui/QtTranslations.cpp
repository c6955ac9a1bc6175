#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installQtChineseTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const bool found = translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!found) {
        delete translator;
        return false;
    }
    application.installTranslator(translator);
    return true;
}
