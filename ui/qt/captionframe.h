#pragma once

#include <QColor>
#include <QWidget>

namespace velmora {

/**
 * A frame with a caption set into its top border, as classic desktop frames draw it. Children
 * are placed from its top-left corner. Painted directly, which keeps start-up cheaper than a
 * style-sheeted group box.
 */
class CaptionFrame final : public QWidget {
    Q_OBJECT
public:
    /** A frame showing caption in the given colour. */
    CaptionFrame(const QString &caption, const QColor &captionColour, QWidget *parent = nullptr);

    /** The text in the top border. */
    QString caption() const { return m_caption; }

    /** The colour the caption is drawn in. */
    QColor captionColour() const { return m_captionColour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_captionColour;
};

}  // namespace velmora
