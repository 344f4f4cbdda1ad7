#include "boxpainter.h"

#include "ui/win32/win32text.h"

namespace velmora {

BoxPainter::~BoxPainter() { clear(); }

void BoxPainter::setLook(int box, const BoxLook &look) {
    Paint &paint = m_paints.at(static_cast<std::size_t>(box));
    if (paint.brush != nullptr) {
        DeleteObject(paint.brush);
    }
    paint = {};
    paint.marked = look.marked;
    if (look.background) {
        paint.background = colourRef(*look.background);
        paint.text = colourRef(look.text);
        paint.brush = CreateSolidBrush(paint.background);
    }
}

HBRUSH BoxPainter::prepare(int box, HDC dc) const {
    const Paint &paint = m_paints.at(static_cast<std::size_t>(box));
    if (paint.brush != nullptr) {
        SetTextColor(dc, paint.text);
        SetBkColor(dc, paint.background);
    }
    return paint.brush;
}

void BoxPainter::paintMark(HWND edit) {
    RECT frame{};
    GetWindowRect(edit, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    HDC dc = GetWindowDC(edit);
    HBRUSH red = CreateSolidBrush(colourRef(kMarkFrameColour));
    for (int i = 0; i < 2; ++i) {
        FrameRect(dc, &frame, red);
        InflateRect(&frame, -1, -1);
    }
    DeleteObject(red);
    ReleaseDC(edit, dc);
}

void BoxPainter::clear() {
    for (Paint &paint : m_paints) {
        if (paint.brush != nullptr) {
            DeleteObject(paint.brush);
        }
        paint = {};
    }
}

}  // namespace velmora
