#pragma once

#include <QLineEdit>

class QMenu;

namespace velmora {

/**
 * A slot or image box: a line edit without Qt's length limit whose context menu gains the
 * window's entries below its own, and that leaves dropped files to the window.
 */
class BoxEdit final : public QLineEdit {
    Q_OBJECT
public:
    /**
     * A box showing text. extraEntries is called with each context menu, after the standard
     * entries, to add the window's own.
     */
    BoxEdit(const QString &text, std::function<void(QMenu &)> extraEntries,
            QWidget *parent = nullptr);

Q_SIGNALS:
    /** The user double-clicked the box. */
    void doubleClicked();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;

private:
    std::function<void(QMenu &)> m_extraEntries;
};

}  // namespace velmora
