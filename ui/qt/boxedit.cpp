#include "boxedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <limits>
#include <memory>

namespace velmora {

namespace {

/** Replaced values kept for Ctrl+Z in one box: each may be megabytes. */
constexpr qsizetype kReplacedKept = 20;

}  // namespace

BoxEdit::BoxEdit(std::function<void(QMenu &)> extraEntries, QWidget *parent)
    : QLineEdit(parent), m_extraEntries(std::move(extraEntries)) {
    // A line edit cuts at 32767 characters unless told otherwise.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.size() > kLargeValue) {
            // Typed or dropped in: shown shortened from now on, which the line edit's own
            // history cannot take back.
            keepReplaced();
            display(text);
            setCursorPosition(0);
        } else {
            m_value = text;
        }
        Q_EMIT valueEdited(text);
    });
}

void BoxEdit::display(const QString &value) {
    m_value = value;
    m_large = value.size() > kLargeValue;
    setReadOnly(m_large);
    setText(m_large ? QString::fromStdU16String(shortenedText(
                          std::u16string_view(reinterpret_cast<const char16_t *>(value.utf16()),
                                              static_cast<std::size_t>(value.size()))))
                    : value);
}

void BoxEdit::setValue(const QString &value) {
    m_replaced.clear();
    display(value);
    setCursorPosition(0);
}

void BoxEdit::putValue(const QString &value) {
    if (!m_large && value.size() <= kLargeValue) {
        selectAll();
        insert(value);  // the line edit's own edit, in its history
    } else {
        replaceValue(value);
    }
}

void BoxEdit::keepReplaced() {
    if (m_replaced.size() == kReplacedKept) {
        m_replaced.removeFirst();
    }
    m_replaced.append(m_value);
}

void BoxEdit::replaceValue(const QString &value) {
    keepReplaced();
    display(value);
    // Typing goes on after what replaced the value, as after any typing.
    setCursorPosition(m_large ? 0 : static_cast<int>(value.size()));
    Q_EMIT valueEdited(value);
}

bool BoxEdit::undoReplacement() {
    if (isUndoAvailable() || m_replaced.isEmpty()) {
        return false;
    }
    const QString earlier = m_replaced.takeLast();
    display(earlier);
    setCursorPosition(m_large ? 0 : static_cast<int>(earlier.size()));
    Q_EMIT valueEdited(earlier);
    return true;
}

void BoxEdit::pasteValue() {
    const QString pasted = QApplication::clipboard()->text();
    if (m_large) {
        replaceValue(pasted);
    } else if (pasted.size() > kLargeValue) {
        // Inserted without the line edit's per-character work.
        const QString current = text();
        const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
        const qsizetype end = hasSelectedText() ? selectionEnd() : cursorPosition();
        replaceValue(current.left(start) + pasted + current.mid(end));
    } else {
        paste();
    }
}

void BoxEdit::copyValue() {
    if (m_large) {
        QApplication::clipboard()->setText(m_value);
    } else {
        copy();
    }
}

void BoxEdit::keyPressEvent(QKeyEvent *event) {
    if (event == QKeySequence::Undo && undoReplacement()) {
        return;
    }
    if (event == QKeySequence::Paste) {
        pasteValue();
        return;
    }
    if (!m_large) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event == QKeySequence::Copy) {
        copyValue();
    } else if (event == QKeySequence::Cut) {
        copyValue();
        replaceValue(QString());
    } else if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        replaceValue(QString());
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        replaceValue(event->text());
    } else {
        QLineEdit::keyPressEvent(event);  // moving, selecting, Tab
    }
}

void BoxEdit::contextMenuEvent(QContextMenuEvent *event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The standard entries act on the shown text; these act on the whole value.
    for (QAction *action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-undo")) {
            action->disconnect();
            action->setEnabled(isUndoAvailable() || !m_replaced.isEmpty());
            connect(action, &QAction::triggered, this, [this] {
                if (!undoReplacement()) undo();
            });
        } else if (name == QLatin1String("edit-paste")) {
            action->disconnect();
            action->setEnabled(QApplication::clipboard()->mimeData()->hasText());
            connect(action, &QAction::triggered, this, &BoxEdit::pasteValue);
        } else if (m_large && name == QLatin1String("edit-copy")) {
            action->disconnect();
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, &BoxEdit::copyValue);
        } else if (m_large &&
                   (name == QLatin1String("edit-cut") || name == QLatin1String("edit-delete"))) {
            action->disconnect();
            action->setEnabled(true);
            const bool cut = name == QLatin1String("edit-cut");
            connect(action, &QAction::triggered, this, [this, cut] {
                if (cut) copyValue();
                replaceValue(QString());
            });
        }
    }
    menu->addSeparator();
    m_extraEntries(*menu);
    menu->exec(event->globalPos());
}

void BoxEdit::setMarked(bool marked) {
    if (m_marked != marked) {
        m_marked = marked;
        update();
    }
}

void BoxEdit::paintEvent(QPaintEvent *event) {
    QLineEdit::paintEvent(event);
    if (!m_marked) {
        return;
    }
    QPainter painter(this);
    const int w = width(), h = height();
    for (const QRect &side :
         {QRect(0, 0, w, kMarkWidth), QRect(0, h - kMarkWidth, w, kMarkWidth),
          QRect(0, 0, kMarkWidth, h), QRect(w - kMarkWidth, 0, kMarkWidth, h)}) {
        painter.fillRect(side, markColour());
    }
    const QColor dash(kMarkDashColour.red, kMarkDashColour.green, kMarkDashColour.blue);
    for (int x = kMarkDash; x < w; x += 2 * kMarkDash) {
        painter.fillRect(QRect(x, 0, kMarkDash, kMarkWidth), dash);
        painter.fillRect(QRect(x, h - kMarkWidth, kMarkDash, kMarkWidth), dash);
    }
    for (int y = kMarkDash; y < h; y += 2 * kMarkDash) {
        painter.fillRect(QRect(0, y, kMarkWidth, kMarkDash), dash);
        painter.fillRect(QRect(w - kMarkWidth, y, kMarkWidth, kMarkDash), dash);
    }
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
