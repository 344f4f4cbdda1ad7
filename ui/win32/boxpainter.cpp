#include "boxpainter.h"

#include <algorithm>

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
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC dc = GetWindowDC(edit);
    HBRUSH red = CreateSolidBrush(colourRef(kMarkFrameColour));
    HBRUSH dash = CreateSolidBrush(colourRef(kMarkDashColour));
    const RECT band[] = {{0, 0, width, kMarkWidth},
                         {0, height - kMarkWidth, width, height},
                         {0, 0, kMarkWidth, height},
                         {width - kMarkWidth, 0, width, height}};
    for (const RECT &side : band) {
        FillRect(dc, &side, red);
    }
    for (int x = kMarkDash; x < width; x += 2 * kMarkDash) {
        const RECT top{x, 0, std::min(x + kMarkDash, width), kMarkWidth};
        const RECT bottom{x, height - kMarkWidth, top.right, height};
        FillRect(dc, &top, dash);
        FillRect(dc, &bottom, dash);
    }
    for (int y = kMarkDash; y < height; y += 2 * kMarkDash) {
        const RECT left{0, y, kMarkWidth, std::min(y + kMarkDash, height)};
        const RECT right{width - kMarkWidth, y, width, left.bottom};
        FillRect(dc, &left, dash);
        FillRect(dc, &right, dash);
    }
    DeleteObject(dash);
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
