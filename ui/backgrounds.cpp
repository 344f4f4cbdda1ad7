#include "backgrounds.h"

#include <string>

#include "core/generator.h"
#include "core/png.h"
#include "platform/files.h"
#include "ui/filereports.h"
#include "ui/messages.h"

namespace velmora {

Backgrounds::Backgrounds(MessageBoxes &boxes, Dialogs &dialogs)
    : m_boxes(boxes), m_dialogs(dialogs) {}

std::u16string Backgrounds::fileName(int box, Rgb colour) {
    // The box's prompt says what the image is for: "鼠标移至,导航背景图：" gives
    // "鼠标移至导航背景".
    std::u16string_view prompt =
        box < kSlotCount ? kSlots.at(static_cast<std::size_t>(box)).prompt
                         : kImageBoxes.at(static_cast<std::size_t>(box - kSlotCount)).prompt;
    for (std::u16string_view end : {u"：", u"图"}) {
        if (prompt.ends_with(end)) prompt.remove_suffix(end.size());
    }
    std::u16string name;
    for (char16_t c : prompt) {
        if (c != u',') name.push_back(c);
    }
    return name + u'-' + hexColour(colour).substr(1) + u".png";
}

std::u16string Backgrounds::address(const std::filesystem::path &file) {
    return text16(fileUrl(std::filesystem::absolute(file)));
}

std::optional<std::u16string> Backgrounds::make(int box, Rgb &lastColour) {
    const std::optional<Rgb> chosen = m_dialogs.chooseColour(lastColour);
    if (!chosen) {
        return std::nullopt;
    }
    lastColour = *chosen;
    const std::optional<std::filesystem::path> file = m_dialogs.chooseSaveFile(
        std::u16string(messages::kMakeImageCaption), std::u16string(messages::kImageFilter),
        m_folder, fileName(box, *chosen));
    if (!file) {
        return std::nullopt;
    }
    const std::filesystem::path path = std::filesystem::absolute(*file);
    m_folder = path.parent_path();
    std::string error;
    FileFailure why;
    if (!writeFileAtomically(path, solidPng(Rgba{chosen->red, chosen->green, chosen->blue}), error,
                             Durability::Flushed, &why, Writable::RegularOnly)) {
        reportFileFailure(m_boxes, messages::kMakeImageFailedCaption,
                          messages::kMakeImageFailedPrompt, path, why);
        return std::nullopt;
    }
    return address(path);
}

}  // namespace velmora
