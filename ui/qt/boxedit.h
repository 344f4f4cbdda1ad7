#pragma once

#include <QColor>
#include <QLineEdit>
#include <functional>

#include "ui/form.h"

class QMenu;

namespace velmora {

/**
 * A slot or image box: a line edit without Qt's length limit whose context menu gains the
 * window's entries below its own, and that leaves dropped files to the window.
 *
 * A line edit lays out and paints its whole text, which for a value of megabytes costs seconds,
 * hundreds of megabytes and a busy processor while the cursor blinks. So a value longer than
 * kLargeValue is held here whole but shown as its beginning and its length, read-only: it can
 * be copied whole, replaced by pasting or typing, or deleted, and is never cut.
 *
 * Ctrl+Z takes back every edit: the line edit's own history holds what it edits itself; a
 * replacement it cannot hold (a long value typed, pasted or deleted over, or put in for the owner)
 * is kept here, whole, and taken back once the line edit's own history is used up.
 */
class BoxEdit final : public QLineEdit {
    Q_OBJECT
public:
    /** Values longer than this many UTF-16 code units are shown shortened. */
    static constexpr qsizetype kLargeValue = static_cast<qsizetype>(velmora::kLargeValue);

    /**
     * A box. extraEntries is called with each context menu, after the standard entries, to add
     * the window's own.
     */
    explicit BoxEdit(std::function<void(QMenu &)> extraEntries, QWidget *parent = nullptr);

    /** Shows value, whole or shortened, with nothing to take back; no valueEdited(). */
    void setValue(const QString &value);

    /**
     * Puts value in for the owner (a picked colour, a made or dropped image) as an edit that
     * Ctrl+Z takes back, reported by valueEdited().
     */
    void putValue(const QString &value);

    /** The value the box holds, whole. */
    QString value() const { return m_large ? m_value : text(); }

    /** Whether the value is shown shortened. */
    bool isShortened() const { return m_large; }

    /** The frame's colour of a marked box, drawn outside the part its background colours. */
    static QColor markColour() {
        return {kMarkFrameColour.red, kMarkFrameColour.green, kMarkFrameColour.blue};
    }

    /**
     * Marks the box as holding a value that looks wrong, with a frame of red and white dashes
     * in place of its own: the box's background shows its colour, so no colour can pass for the
     * mark, and the dashes show on any colour.
     */
    void setMarked(bool marked);

    /** Whether the box is marked. */
    bool isMarked() const { return m_marked; }

Q_SIGNALS:
    /** The user changed the value (typing, pasting, cutting, deleting, undoing). */
    void valueEdited(const QString &value);

    /** The user double-clicked the box. */
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void pasteValue();
    void copyValue();
    void replaceValue(const QString &value);
    void display(const QString &value);
    /** Keeps the value shown now for Ctrl+Z, before it is replaced whole. */
    void keepReplaced();
    /** Takes back the last replacement kept here; false when the line edit's own undo is due. */
    bool undoReplacement();

    std::function<void(QMenu &)> m_extraEntries;
    QString m_value;         // the whole value
    QStringList m_replaced;  // values replaced whole, for Ctrl+Z, the latest last
    bool m_large = false;
    bool m_marked = false;
};

}  // namespace velmora
