#include "placement.h"

namespace velmora {

namespace {

int scaled(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

}  // namespace

RECT controlRect(const ControlDef &def, UINT dpi) {
    int left = scaled(def.left, dpi);
    int top = scaled(def.top, dpi);
    if (!def.container.empty()) {
        const ControlDef &frame = controlById(def.container);
        left += scaled(frame.left, dpi);
        top += scaled(frame.top, dpi);
    }
    return {left, top, left + scaled(def.width, dpi), top + scaled(def.height, dpi)};
}

SIZE mainWindowSize(DWORD style, UINT dpi) {
    RECT outer{0, 0, scaled(kClientWidthTwips, dpi), scaled(kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, 0, dpi);
    return {outer.right - outer.left, outer.bottom - outer.top};
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
    if (def.name == "Text4" && def.index >= 1 && def.index <= kSlotCount) {
        return values.slot(def.index);
    }
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        if (kImageBoxes[box].name == def.name) {
            return values.images[box];
        }
    }
    return def.text;
}

}  // namespace velmora
