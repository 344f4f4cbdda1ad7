#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace velmora {

/**
 * The filter text of the common file dialogs for a description such as "方案 (*.txt)": that
 * description with the patterns between its last parentheses, then every file under
 * "所有文件 (*.*)"; pairs of strings each ended by a null, the whole ended by a second null.
 * A description without patterns offers only every file.
 */
std::u16string fileDialogFilter(std::u16string_view description);

/** The common colour and file dialogs of Windows, modal to the owner window. */
class Win32Dialogs final : public Dialogs {
public:
    explicit Win32Dialogs(HWND owner = nullptr) : m_owner(owner) {}

    /** Sets the window the dialogs are modal to. */
    void setOwner(HWND owner) { m_owner = owner; }

    /** ChooseColorW, fully open, starting at initial; keeps its custom colours between calls. */
    std::optional<Rgb> chooseColour(Rgb initial) override;

    /** GetOpenFileNameW, or GetSaveFileNameW (asking before replacing a file; the filter's
     *  first extension, such as ".txt", when the name has none). */
    std::optional<std::filesystem::path> chooseFile(const std::u16string &caption,
                                                    const std::u16string &filter,
                                                    bool save) override;

    /** GetSaveFileNameW in folder, or in the user's Pictures folder (SHGetKnownFolderPath),
     *  with name filled in. */
    std::optional<std::filesystem::path> chooseSaveFile(const std::u16string &caption,
                                                        const std::u16string &filter,
                                                        const std::filesystem::path &folder,
                                                        const std::u16string &name) override;

private:
    std::optional<std::filesystem::path> fileDialog(const std::u16string &caption,
                                                    const std::u16string &filter, bool save,
                                                    const std::filesystem::path &folder,
                                                    const std::u16string &name);

    HWND m_owner;
    std::array<COLORREF, 16> m_customColours{};
};

}  // namespace velmora
