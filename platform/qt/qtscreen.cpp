#include "qtscreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace velmora {

namespace {

Rect toRect(const QRect &r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

Rect QtScreen::geometry() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->geometry()) : Rect{};
}

Rect QtScreen::availableGeometry() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : Rect{};
}

}  // namespace velmora
