#include "controlcolours.h"

namespace velmora {

namespace {

COLORREF colourRef(TextColour colour) {
    return colour == TextColour::Red    ? RGB(255, 0, 0)
           : colour == TextColour::Blue ? RGB(0, 0, 255)
                                        : GetSysColor(COLOR_BTNTEXT);
}

}  // namespace

HBRUSH staticColours(const ControlDef *def, HDC dc, const BoxPainter &painter) {
    if (def != nullptr && def->role == Role::Box) {
        HBRUSH brush = painter.prepare(def->box, dc);
        if (brush == nullptr) {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            brush = GetSysColorBrush(COLOR_WINDOW);
        }
        return brush;
    }
    if (def != nullptr) {
        SetTextColor(dc, colourRef(def->colour));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

HBRUSH editColours(const ControlDef *def, HDC dc, const BoxPainter &painter) {
    return def != nullptr && def->role == Role::Box ? painter.prepare(def->box, dc) : nullptr;
}

}  // namespace velmora
