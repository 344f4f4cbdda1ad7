#pragma once

#include "platform/dialogs.h"

namespace velmora {

/** Qt's colour dialog (with its screen colour picker) and the desktop's file dialogs. */
class QtDialogs final : public Dialogs {
public:
    std::optional<Rgb> chooseColour(Rgb initial) override;
    std::optional<std::filesystem::path> chooseFile(const std::u16string &caption,
                                                    const std::u16string &filter,
                                                    bool save) override;
};

}  // namespace velmora
