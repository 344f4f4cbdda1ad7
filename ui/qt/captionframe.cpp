#include "captionframe.h"

#include <QPainter>

namespace velmora {

namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

}  // namespace

CaptionFrame::CaptionFrame(const QString &caption, const QColor &captionColour, QWidget *parent)
    : QWidget(parent), m_caption(caption), m_captionColour(captionColour) {}

void CaptionFrame::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    // An etched border: a dark line with a light one just inside it.
    const QRect border(0, lineY, width() - 2, height() - lineY - 2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));

    const QRect captionRect(kCaptionIndent, 0,
                            metrics.horizontalAdvance(m_caption) + 2 * kCaptionPadding,
                            metrics.height());
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    painter.setPen(m_captionColour);
    painter.drawText(captionRect, Qt::AlignCenter, m_caption);
}

}  // namespace velmora
