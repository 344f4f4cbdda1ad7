#pragma once

#include "platform/screen.h"

namespace velmora {

/** A screen of any size, for tests. */
class FakeScreen final : public Screen {
public:
    Rect whole{0, 0, 1920, 1080};
    Rect available{0, 0, 1920, 1040};

    Rect geometry() const override { return whole; }
    Rect availableGeometry() const override { return available; }
};

}  // namespace velmora
