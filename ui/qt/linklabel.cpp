#include "linklabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

namespace velmora {

namespace {

/** The link as the desktop's accessibility sees it. */
class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<const QLabel *>(widget())->text();
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // After the caller has its answer: what the click starts may wait for the user.
        auto *link = static_cast<LinkLabel *>(widget());
        QTimer::singleShot(0, link, [link] { Q_EMIT link->clicked(); });
    }
};

QAccessibleInterface *linkAccessible(const QString &, QObject *object) {
    auto *link = qobject_cast<LinkLabel *>(object);
    return link != nullptr ? new LinkAccessible(link) : nullptr;
}

}  // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(&linkAccessible);
        return true;
    }();
    (void)installed;
    // Set here, not by QLabel's constructor: a text set there already asks for the object's
    // accessibility, while it is still a plain label.
    setText(text);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

}  // namespace velmora
