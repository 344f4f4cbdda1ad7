#pragma once

namespace velmora {

/** A rectangle in device-independent pixels. */
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect &) const = default;
};

/** Metrics of the screen the window opens on. */
class Screen {
public:
    virtual ~Screen() = default;

    /** The whole screen. */
    virtual Rect geometry() const = 0;

    /** The part of the screen not taken by panels and docks. */
    virtual Rect availableGeometry() const = 0;
};

}  // namespace velmora
