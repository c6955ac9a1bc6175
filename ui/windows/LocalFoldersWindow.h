#pragma once
// The folders whose songs make the local music, opened from the settings
// page or the local music page: the list, "添加文件夹" and "移除". Every
// change is written to the settings file at once and announced.
//
// Threads: the UI thread only.
#include "base/AppSettings.h"

#include <QWidget>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

class LocalFoldersWindow : public QWidget {
    Q_OBJECT
public:
    LocalFoldersWindow(AppSettings settings, QWidget* parent = nullptr);

    // What the buttons do (the add button asks for the folder first).
    void addFolder(const QString& folder);
    void removeSelected();

    QListWidget* folderList() const { return list_; }

signals:
    void foldersChanged(const std::vector<std::string>& folders);

private:
    void store();

    AppSettings settings_;
    QListWidget* list_;
    QPushButton* remove_;
};
