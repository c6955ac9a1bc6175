#include "ui/windows/LocalFoldersWindow.h"

#include "local/MusicFolders.h"
#include "ui/widgets/Theme.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

LocalFoldersWindow::LocalFoldersWindow(AppSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(std::move(settings)) {
    setObjectName("本地音乐文件夹");
    setWindowTitle(QString::fromUtf8("本地音乐文件夹"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(520, 320);
    setFont(Theme::font(14));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8("这些文件夹里的歌曲会出现在“本地音乐”中：")));
    list_ = new QListWidget;
    list_->setObjectName("本地音乐文件夹_列表");
    for (const std::string& folder : readMusicFolders(settings_)) list_->addItem(QString::fromStdString(folder));
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QString::fromUtf8("添加文件夹"));
    add->setObjectName("本地音乐文件夹_添加");
    remove_ = new QPushButton(QString::fromUtf8("移除"));
    remove_->setObjectName("本地音乐文件夹_移除");
    remove_->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(remove_);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QString::fromUtf8("添加文件夹"));
        if (!folder.isEmpty()) addFolder(folder);
    });
    connect(remove_, &QPushButton::clicked, this, &LocalFoldersWindow::removeSelected);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { remove_->setEnabled(row >= 0); });
}

void LocalFoldersWindow::addFolder(const QString& folder) {
    if (!list_->findItems(folder, Qt::MatchExactly).isEmpty()) return;
    list_->addItem(folder);
    store();
}

void LocalFoldersWindow::removeSelected() {
    delete list_->takeItem(list_->currentRow());
    store();
}

void LocalFoldersWindow::store() {
    std::vector<std::string> folders;
    for (int i = 0; i < list_->count(); ++i) folders.push_back(list_->item(i)->text().toStdString());
    writeMusicFolders(settings_, folders);
    emit foldersChanged(folders);
}
