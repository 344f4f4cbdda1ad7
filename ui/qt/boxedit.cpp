#include "boxedit.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <limits>
#include <memory>

namespace velmora {

BoxEdit::BoxEdit(const QString &text, std::function<void(QMenu &)> extraEntries, QWidget *parent)
    : QLineEdit(text, parent), m_extraEntries(std::move(extraEntries)) {
    // A line edit cuts at 32767 characters unless told otherwise.
    setMaxLength(std::numeric_limits<int>::max());
}

void BoxEdit::contextMenuEvent(QContextMenuEvent *event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->addSeparator();
    m_extraEntries(*menu);
    menu->exec(event->globalPos());
}

void BoxEdit::mouseDoubleClickEvent(QMouseEvent *event) {
    QLineEdit::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}

void BoxEdit::dragEnterEvent(QDragEnterEvent *event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();  // files go to the window, which loads them
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

}  // namespace velmora
