#include "linklabel.h"

#include <QMouseEvent>

namespace velmora {

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace velmora
