#include "placement.h"

#include <algorithm>

#include "win32text.h"

namespace velmora {

RECT controlRect(const ControlDef &def, UINT dpi) {
    int left = scaled(def.left, dpi);
    int top = scaled(def.top, dpi);
    if (!def.container.empty()) {
        const ControlDef &frame = controlById(def.container);
        left += scaled(frame.left, dpi);
        top += scaled(frame.top, dpi);
    }
    RECT place{left, top, left + scaled(def.width, dpi), top + scaled(def.height, dpi)};
    if (def.kind == ControlKind::Label && def.box >= 0) {
        // A prompt comes right before its box in the child order, for screen readers, and so
        // lies above it: where the two overlap it would hide the box's left border.
        const RECT box = controlRect(controlOfBox(def.box), dpi);
        if (box.left > place.left && box.left < place.right) {
            place.right = box.left;
        }
    }
    return place;
}

WindowFit fitToWorkArea(SIZE content, SIZE frame, SIZE bars, const Rect &work) {
    WindowFit fit;
    fit.client = content;
    if (work.width > 0 && work.height > 0) {
        // Each bar takes room from the other direction, so one bar may bring the other.
        int barWidth = 0;
        int barHeight = 0;
        for (int pass = 0; pass < 3; ++pass) {
            fit.client.cx =
                std::max(1, std::min<int>(content.cx, work.width - frame.cx - barWidth));
            fit.client.cy =
                std::max(1, std::min<int>(content.cy, work.height - frame.cy - barHeight));
            fit.verticalBar = fit.client.cy < content.cy;
            fit.horizontalBar = fit.client.cx < content.cx;
            barWidth = fit.verticalBar ? bars.cx : 0;
            barHeight = fit.horizontalBar ? bars.cy : 0;
        }
    }
    fit.outer = {fit.client.cx + (fit.verticalBar ? bars.cx : 0) + frame.cx,
                 fit.client.cy + (fit.horizontalBar ? bars.cy : 0) + frame.cy};
    return fit;
}

POINT placeOnScreen(const Rect &screen, const Rect &work, SIZE outer) {
    const Point corner = centredTopLeft(screen, work, outer.cx, outer.cy);
    POINT placed{corner.x, corner.y};
    if (work.width > 0 && work.height > 0) {
        placed.x = std::max(work.x, std::min<int>(placed.x, work.x + work.width - outer.cx));
        placed.y = std::max(work.y, std::min<int>(placed.y, work.y + work.height - outer.cy));
    }
    return placed;
}

SIZE textExtent(HFONT font, std::u16string_view text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t *>(text.data()),
                          static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return extent;
}

std::u16string_view startText(const ControlDef &def, const StyleValues &values) {
    return def.role == Role::Box ? std::u16string_view(values.box(def.box)) : def.text;
}

}  // namespace velmora
