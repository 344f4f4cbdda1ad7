#pragma once

#include <QLabel>

namespace velmora {

/** A label that acts as a link: pointing-hand cursor, clicked() on a left click inside it. */
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    /** The user clicked the label with the left mouse button. */
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

}  // namespace velmora
