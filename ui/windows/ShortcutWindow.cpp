#include "ui/windows/ShortcutWindow.h"

#include "ui/widgets/Theme.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Only the first key of what was pressed: a shortcut is one key with its modifiers.
QString firstKey(const QKeySequence& sequence) {
    if (sequence.isEmpty()) return {};
    return QKeySequence(sequence[0]).toString(QKeySequence::PortableText);
}

}  // namespace

ShortcutWindow::ShortcutWindow(AppSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(std::move(settings)) {
    setObjectName("快捷键窗口");
    setWindowTitle(QString::fromUtf8("快捷键"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(Theme::font(14));

    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QString::fromUtf8("快捷键"));
    box->setObjectName("分组框_快捷键");
    layout->addWidget(box);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QString::fromUtf8("操作")), 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8("窗口内")), 0, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("全局")), 0, 2);

    const Shortcuts shortcuts = Shortcuts::read(settings_);
    for (int i = 0; i < kShortcutCount; ++i) {
        const ShortcutInfo& info = shortcutTable()[size_t(i)];
        const int row = i + 1;
        grid->addWidget(new QLabel(QString::fromUtf8(info.label)), row, 0);
        auto makeField = [&](bool global, const std::string& key) {
            auto* field = new QKeySequenceEdit(QKeySequence(QString::fromStdString(key), QKeySequence::PortableText));
            field->setObjectName(
                QString("快捷键_%1%2").arg(global ? "全局" : "").arg(QString::fromUtf8(info.settingsKey)));
            field->setClearButtonEnabled(true);
            field->setMinimumWidth(170);
            connect(field, &QKeySequenceEdit::editingFinished, this,
                    [this, field, i, global] { chooseKey(i, global, firstKey(field->keySequence())); });
            connect(field, &QKeySequenceEdit::keySequenceChanged, this,
                    [this, i, global](const QKeySequence& sequence) {
                        if (sequence.isEmpty()) chooseKey(i, global, {});  // the clear button
                    });
            grid->addWidget(field, row, global ? 2 : 1);
            return field;
        };
        windowKeys_[size_t(i)] = makeField(false, shortcuts.window[size_t(i)]);
        if (info.globalDefault)
            globalKeys_[size_t(i)] = makeField(true, shortcuts.global[size_t(i)]);
        else
            grid->addWidget(new QLabel("—"), row, 2, Qt::AlignCenter);
        auto* problem = new QLabel;
        problem->setObjectName(QString("快捷键_问题%1").arg(i));
        problem->setStyleSheet("color: #d33;");
        problems_[size_t(i)] = problem;
        grid->addWidget(problem, row, 3);
    }
    unavailable_ = new QLabel;
    unavailable_->setObjectName("快捷键_全局不可用");
    unavailable_->setWordWrap(true);
    unavailable_->hide();
    layout->addWidget(unavailable_);
}

void ShortcutWindow::showGlobalUnavailable(const QString& why) {
    unavailable_->setText(why);
    unavailable_->setVisible(!why.isEmpty());
    for (QKeySequenceEdit* field : globalKeys_)
        if (field) field->setEnabled(why.isEmpty());
}

void ShortcutWindow::showGlobalProblem(int index, const QString& problem) {
    if (index >= 0 && index < kShortcutCount) problems_[size_t(index)]->setText(problem);
}

void ShortcutWindow::chooseKey(int index, bool global, const QString& key) {
    if (!Shortcuts::write(settings_, index, global, key.toStdString())) return;
    QKeySequenceEdit* field = keyField(index, global);
    if (field && firstKey(field->keySequence()) != key) {
        const QSignalBlocker quiet(field);
        field->setKeySequence(QKeySequence(key, QKeySequence::PortableText));
    }
    emit shortcutChanged(index, global, key);
}

QKeySequenceEdit* ShortcutWindow::keyField(int index, bool global) const {
    if (index < 0 || index >= kShortcutCount) return nullptr;
    return global ? globalKeys_[size_t(index)] : windowKeys_[size_t(index)];
}
