#pragma once
// Qt's own texts in Chinese: the buttons and labels of the dialogs Qt draws
// itself (the colour picker's "确定" and "取消", say), from Qt's Chinese
// translations where they are installed.
class QCoreApplication;

// Installs the translations for the whole application; returns whether
// they were found. Without them Qt's dialogs stay in English.
bool installQtChineseTranslations(QCoreApplication& application);
