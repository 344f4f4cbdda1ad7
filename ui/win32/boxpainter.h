#pragma once

// The boxes' own colours: a colour box shows its colour, a marked box the marker's light red
// unless it names a colour, each with text that reads on it; other boxes keep the system's
// colours. A marked box also gets a frame of red and white dashes in place of its border,
// outside the part its colour fills, so that no colour can pass for the mark nor hide it.

#include <windows.h>

#include <array>

#include "core/generator.h"
#include "ui/form.h"

namespace velmora {

/** The colours the boxes are painted in, with the brushes that paint them. */
class BoxPainter final {
public:
    BoxPainter() = default;
    /** Deletes the brushes. */
    ~BoxPainter();

    BoxPainter(const BoxPainter &) = delete;
    BoxPainter &operator=(const BoxPainter &) = delete;

    /** Takes box's colours from look; the caller repaints the box. */
    void setLook(int box, const BoxLook &look);

    /**
     * Sets dc's colours for painting box (as WM_CTLCOLOREDIT asks) and returns the brush of
     * its background; nullptr where the box has the system's colours and dc is left alone.
     */
    HBRUSH prepare(int box, HDC dc) const;

    /** Whether box is marked. */
    bool marked(int box) const { return m_paints.at(static_cast<std::size_t>(box)).marked; }

    /** Draws the mark over edit's border, once the border is drawn (WM_NCPAINT). */
    static void paintMark(HWND edit);

    /** Deletes the brushes: every box has the system's colours again. */
    void clear();

private:
    struct Paint {
        HBRUSH brush = nullptr;  // nullptr: the system's colours
        COLORREF text = 0;
        COLORREF background = 0;
        bool marked = false;
    };

    std::array<Paint, kBoxCount> m_paints{};
};

}  // namespace velmora
