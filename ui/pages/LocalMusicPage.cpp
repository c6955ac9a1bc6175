#include "ui/pages/LocalMusicPage.h"

#include "local/LocalLibrary.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/Theme.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString clock(std::int64_t milliseconds) {
    const std::int64_t seconds = milliseconds / 1000;
    return QString("%1:%2").arg(seconds / 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0'));
}

QPushButton* button(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromUtf8(name));
    made->setGeometry(geometry);
    made->setFont(Theme::font(14));
    return made;
}

}  // namespace

LocalMusicPage::LocalMusicPage(Navigation& navigation) : Page(kIndex, nullptr), navigation_(navigation) {
    makeHeading(this, "本地音乐_标签", "本地音乐", {10, 15, 200, 40}, 28);
    status_ = new QLabel(this);
    status_->setObjectName("本地音乐_状态");
    status_->setGeometry(220, 24, 520, 25);
    status_->setFont(Theme::font(14));
    scan_ = button(this, "本地音乐_扫描", "重新扫描", {760, 15, 100, 36});
    folders_ = button(this, "本地音乐_文件夹", "文件夹", {870, 15, 100, 36});
    connect(folders_, &QPushButton::clicked, this, &LocalMusicPage::foldersRequested);

    list_ = new QTreeWidget(this);
    list_->setObjectName("本地音乐_列表");
    list_->setGeometry(10, 65, 960, 480);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({"标题", "歌手", "专辑", "时长"});
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->setColumnWidth(1, 220);
    list_->setColumnWidth(2, 220);
    list_->setColumnWidth(3, 70);
    list_->setFont(Theme::font(14));
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { play(list_->indexOfTopLevelItem(item)); });
}

void LocalMusicPage::showLibrary(LocalLibrary* library) {
    library_ = library;
    connect(scan_, &QPushButton::clicked, library, &LocalLibrary::scan);
    connect(library, &LocalLibrary::scanStarted, this, [this] { showProgress(0, 0); });
    connect(library, &LocalLibrary::scanProgress, this, &LocalMusicPage::showProgress);
    connect(library, &LocalLibrary::scanFinished, this, [this] {
        refresh();
        showOutcome();
    });
    refresh();
    if (library->isScanning()) showProgress(0, 0);
}

void LocalMusicPage::refresh() {
    list_->clear();
    if (!library_) return;
    QList<QTreeWidgetItem*> rows;
    for (const LocalSong& song : library_->songs()) {
        auto* row = new QTreeWidgetItem({QString::fromStdString(song.title), QString::fromStdString(song.artists),
                                         QString::fromStdString(song.album), clock(song.durationMs)});
        row->setData(0, Qt::UserRole, QString::fromStdString(song.songId));
        row->setToolTip(0, QString::fromStdString(song.path));
        rows << row;
    }
    list_->addTopLevelItems(rows);
    if (!library_->isScanning()) showOutcome();
}

void LocalMusicPage::showProgress(int done, int total) {
    scan_->setEnabled(false);
    status_->setText(total > 0 ? QString("正在扫描 %1/%2").arg(done).arg(total) : QString("正在扫描…"));
}

void LocalMusicPage::showOutcome() {
    scan_->setEnabled(true);
    QString text = QString("共 %1 首").arg(list_->topLevelItemCount());
    const size_t unreadable = library_ ? library_->lastResult().unreadable.size() : 0;
    if (unreadable > 0) text += QString("，%1 个文件无法读取").arg(unreadable);
    if (library_ && library_->folders().empty()) text = "还没有本地音乐文件夹";
    status_->setText(text);
    QStringList unreadablePaths;
    if (library_)
        for (const std::string& path : library_->lastResult().unreadable)
            unreadablePaths << QString::fromStdString(path);
    status_->setToolTip(unreadablePaths.join('\n'));
}

void LocalMusicPage::play(int row) {
    if (row < 0) return;
    ItemIds ids;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        ids.push_back(list_->topLevelItem(i)->data(0, Qt::UserRole).toString().toStdString());
    navigation_.router().playList(ids, row);
}
