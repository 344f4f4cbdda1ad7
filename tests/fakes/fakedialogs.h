#pragma once

#include <vector>

#include "platform/dialogs.h"

namespace velmora {

/** Answers the dialogs as told and records what they were asked. */
class FakeDialogs final : public Dialogs {
public:
    std::optional<Rgb> colour;                  ///< the colour chosen; nothing: cancelled
    std::optional<std::filesystem::path> file;  ///< the file chosen; nothing: cancelled
    std::vector<Rgb> colourAsked;               ///< the starting colour of each colour dialog
    std::vector<bool> fileAsked;                ///< for each file dialog, whether it saves
    /** For each dialog asking where to save a new file: the folder and the proposed name. */
    std::vector<std::pair<std::filesystem::path, std::u16string>> saveAsked;

    std::optional<Rgb> chooseColour(Rgb initial) override {
        colourAsked.push_back(initial);
        return colour;
    }

    std::optional<std::filesystem::path> chooseFile(const std::u16string &, const std::u16string &,
                                                    bool save) override {
        fileAsked.push_back(save);
        return file;
    }

    std::optional<std::filesystem::path> chooseSaveFile(const std::u16string &,
                                                        const std::u16string &,
                                                        const std::filesystem::path &folder,
                                                        const std::u16string &name) override {
        saveAsked.emplace_back(folder, name);
        return file;
    }
};

}  // namespace velmora
