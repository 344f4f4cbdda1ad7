#pragma once

#include <QMargins>

class QWidget;

namespace velmora {

/**
 * The frame the window manager will draw around window once it is shown: title bar and
 * borders. Asked of the window manager before the window is mapped (X11's
 * _NET_REQUEST_FRAME_EXTENTS), so that the window can be placed by its outer size without a
 * visible move; waits half a second at most. Empty margins where there is no frame, no
 * window manager, or one that does not say.
 */
QMargins expectedFrameMargins(QWidget *window);

}  // namespace velmora
