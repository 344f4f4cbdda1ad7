#pragma once

#include "platform/screen.h"

namespace velmora {

/** The primary monitor, in physical pixels (the program is DPI aware). */
class Win32Screen final : public Screen {
public:
    Rect geometry() const override;
    Rect availableGeometry() const override;
};

}  // namespace velmora
