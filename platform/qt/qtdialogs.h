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
    /** Opens in folder, or the Pictures folder (the home folder where there is none). */
    std::optional<std::filesystem::path> chooseSaveFile(const std::u16string &caption,
                                                        const std::u16string &filter,
                                                        const std::filesystem::path &folder,
                                                        const std::u16string &name) override;
};

}  // namespace velmora
