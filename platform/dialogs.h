#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/valuecheck.h"

namespace velmora {

/** The system's own dialogs for choosing a colour and a file, modal to the window. */
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /** Lets the user choose a colour, starting at initial. @return nothing when cancelled. */
    virtual std::optional<Rgb> chooseColour(Rgb initial) = 0;

    /**
     * Asks for a file to open or to save to.
     * @param caption the dialog's title.
     * @param filter a description and the file patterns it offers, such as
     *        "方案文件 (*.txt)"; every file can still be chosen.
     * @param save whether the file is to be written (the dialog asks before replacing one).
     * @return nothing when cancelled.
     */
    virtual std::optional<std::filesystem::path> chooseFile(const std::u16string &caption,
                                                            const std::u16string &filter,
                                                            bool save) = 0;

    /**
     * Asks where to save a new file, proposing a name (the dialog asks before replacing a file).
     * @param filter as for chooseFile; its first pattern's extension is added to a name
     *        typed without one.
     * @param folder the folder the dialog opens in; empty: the user's Pictures folder.
     * @param name the proposed file name, without a folder.
     * @return nothing when cancelled.
     */
    virtual std::optional<std::filesystem::path> chooseSaveFile(const std::u16string &caption,
                                                                const std::u16string &filter,
                                                                const std::filesystem::path &folder,
                                                                const std::u16string &name) = 0;
};

}  // namespace velmora
