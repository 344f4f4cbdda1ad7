#pragma once

#include "platform/screen.h"

namespace velmora {

/** The primary screen as Qt sees it; an empty rectangle when there is no screen. */
class QtScreen final : public Screen {
public:
    Rect geometry() const override;
    Rect availableGeometry() const override;
};

}  // namespace velmora
