#pragma once

#include <QLabel>

namespace velmora {

/**
 * A label that acts as a link: pointing-hand cursor, clicked() on a left click inside it or on
 * Space, Return or Enter while it has the focus (drawn as a focus frame). The desktop's
 * accessibility sees it as a link whose one action clicks it.
 */
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    /** The user clicked the label with the left mouse button or pressed it from the keyboard. */
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace velmora
