#include "ui/widgets/SearchBox.h"

#include <QEvent>
#include <QLineEdit>

SearchBox::SearchBox(QLineEdit* box, QString hint, std::function<void()> onEnter, std::function<void()> onDoubleClick)
    : QObject(box), box_(box), hint_(std::move(hint)), onDoubleClick_(std::move(onDoubleClick)) {
    box_->installEventFilter(this);
    connect(box_, &QLineEdit::returnPressed, this, [onEnter = std::move(onEnter)] { onEnter(); });
}

QString SearchBox::keyword() const { return box_->text(); }

bool SearchBox::isBlank(const QString& text) { return text.isEmpty() || text == " " || text == "  "; }

bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_) {
        switch (event->type()) {
            // A press counts too: the box can already hold the focus (given
            // while its window was inactive) when the user first clicks it.
            case QEvent::FocusIn:
            case QEvent::MouseButtonPress:
                if (box_->text() == hint_) box_->clear();
                break;
            case QEvent::FocusOut:
                if (isBlank(box_->text())) box_->setText(hint_);
                break;
            case QEvent::MouseButtonDblClick: onDoubleClick_(); break;
            default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}
