#pragma once

// The boxes' tooltips (why a box is marked, what a colour box shows). Each box's text is kept
// from the start; the tooltip control itself is made only once the window has been painted,
// since nobody can point at a box before that and making it costs start-up time.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "core/generator.h"

namespace velmora {

/** The tooltips of a window's boxes. */
class BoxTooltips final {
public:
    /** Gives box, shown by the control edit, the tip text (empty: none). */
    void setTip(int box, HWND edit, std::u16string_view text);

    /** The tip text box has now. */
    const std::wstring &tip(int box) const { return m_tips.at(static_cast<std::size_t>(box)); }

    /**
     * Makes the tooltip control of window for the boxes (nullptr where a box is not shown),
     * with the texts set so far, in font at dpi. Throws std::runtime_error when the system
     * cannot make it.
     */
    void create(HWND window, const std::array<HWND, kBoxCount> &boxes, HFONT font, UINT dpi);

    /** Whether create() has made the tooltip control. */
    bool created() const { return m_tooltip != nullptr; }

    /** Sets the tips' font and width for dpi, once they are made. */
    void restyle(HFONT font, UINT dpi);

private:
    HWND m_window = nullptr;
    HWND m_tooltip = nullptr;  // owned by m_window, destroyed with it
    std::array<std::wstring, kBoxCount> m_tips;
};

}  // namespace velmora
