#include "boxlook.h"

#include <vector>

#include "core/contrast.h"
#include "core/fileaddress.h"
#include "core/utf.h"
#include "ui/messages.h"
#include "ui/shortenedtext.h"

namespace velmora {

namespace {

#ifdef _WIN32
constexpr PathStyle kPathStyle = PathStyle::Windows;
#else
constexpr PathStyle kPathStyle = PathStyle::Posix;
#endif

/** Black or white, whichever reads better on the colour. */
Rgb readableOn(Rgb colour) {
    const int luma = 299 * colour.red + 587 * colour.green + 114 * colour.blue;
    return luma >= 128000 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
}

std::u16string_view problemText(Problem problem) {
    switch (problem) {
        case Problem::Spaces:
            return messages::kProblemSpaces;
        case Problem::SpacedColour:
            return messages::kProblemSpacedColour;
        case Problem::NotAColour:
            return messages::kProblemNotAColour;
        case Problem::DroppedColourName:
            return messages::kProblemDroppedColourName;
        case Problem::NotAnAddress:
            return messages::kProblemNotAnAddress;
        case Problem::NotHttps:
            return messages::kProblemNotHttps;
        case Problem::ForeignHost:
            return messages::kProblemForeignHost;
        case Problem::BreaksUrl:
            return messages::kProblemBreaksUrl;
        case Problem::LocalFile:
            return messages::kProblemLocalFile;
        case Problem::EndsComment:
            return messages::kProblemEndsComment;
    }
    return {};
}

/** The box's prompt without its closing colon, as a sentence names it. */
std::u16string_view promptOf(int box) {
    std::u16string_view prompt =
        box < kSlotCount ? kSlots.at(static_cast<std::size_t>(box)).prompt
                         : kImageBoxes.at(static_cast<std::size_t>(box - kSlotCount)).prompt;
    if (prompt.ends_with(u'：')) {
        prompt.remove_suffix(1);
    }
    return prompt;
}

bool isShown(int box) {
    return box >= kSlotCount || kSlots.at(static_cast<std::size_t>(box)).shown;
}

/** A hidden slot's colour and number, as a reason names it: "#FFFFFF（第 13 项）". */
std::u16string hiddenSlot(int box, const StyleValues &values) {
    return hexColour(*opaqueColour(values.box(box))) + std::u16string(messages::kHiddenSlotBefore) +
           *utf16FromUtf8(std::to_string(box + 1)) + std::u16string(messages::kHiddenSlotAfter);
}

/**
 * Why a text colour reads poorly, one line a background, in the box the owner can change: the
 * text colour's, or where that is a hidden slot, the background's. A pair of two hidden slots has
 * no box to tell.
 */
std::vector<std::u16string> contrastReasons(int box, const StyleValues &values) {
    std::vector<std::u16string> reasons;
    for (const LowContrast &low : lowContrasts(values)) {
        std::u16string reason;
        if (low.text == box && isShown(box)) {
            reason = std::u16string(messages::kContrastBefore);
            if (isShown(low.background)) {
                reason += promptOf(low.background);
            } else {
                reason += messages::kContrastHiddenBackground;
                reason += hiddenSlot(low.background, values);
            }
        } else if (low.background == box && isShown(box) && !isShown(low.text)) {
            reason = std::u16string(messages::kContrastHiddenText) + hiddenSlot(low.text, values) +
                     std::u16string(messages::kContrastOnThis);
        } else {
            continue;
        }
        reasons.push_back(reason + std::u16string(messages::kContrastMiddle) +
                          *utf16FromUtf8(ratioText(low.ratio)) +
                          std::u16string(messages::kContrastAfter));
    }
    return reasons;
}

/**
 * The colour the box shows for its value: an image box's only as the style sheet writes it, as
 * it stands; a colour box's with spaces and tabs around it too, which CSS passes over there.
 */
std::optional<Rgba> lookColour(int box, std::u16string_view value) {
    if (!isImageBox(box)) {
        const std::size_t first = value.find_first_not_of(u" \t");
        if (first == std::u16string_view::npos) {
            return std::nullopt;
        }
        value = value.substr(first, value.find_last_not_of(u" \t") - first + 1);
    }
    return parseColourWithAlpha(value);
}

/** A translucent colour as it looks over white, the box standing for whatever is behind it. */
Rgb overWhite(Rgba colour) {
    const auto mix = [&colour](std::uint8_t channel) {
        return static_cast<std::uint8_t>(
            (channel * colour.alpha + 255 * (255 - colour.alpha) + 127) / 255);
    };
    return Rgb{mix(colour.red), mix(colour.green), mix(colour.blue)};
}

/** "显示的颜色：#RRGGBB", with the opacity of a translucent colour. */
std::u16string colourText(Rgba colour) {
    std::u16string text = std::u16string(messages::kColourDescription) +
                          hexColour(Rgb{colour.red, colour.green, colour.blue});
    if (colour.alpha != 255) {
        // Cut, not rounded, so that a nearly opaque colour never reads as 100%.
        text += messages::kTranslucentBefore;
        text += *utf16FromUtf8(std::to_string(colour.alpha * 100 / 255));
        text += messages::kTranslucentAfter;
    }
    return text;
}

}  // namespace

std::optional<Rgb> shownColour(std::u16string_view value) {
    const std::size_t first = value.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return std::nullopt;
    }
    return parseColour(value.substr(first, value.find_last_not_of(u" \t") - first + 1));
}

std::u16string contrastValue(const std::u16string &value) {
    return value.size() > kLargeValue && !parseColourWithAlpha(value) ? shortenedText(value)
                                                                      : value;
}

BoxLook boxLook(int box, const StyleValues &values) {
    StyleValues judged;
    for (int other = 0; other < kBoxCount; ++other) {
        judged.box(other) = contrastValue(values.box(other));
    }
    return boxLook(box, values.box(box), judged);
}

BoxLook boxLook(int box, const std::u16string &value, const StyleValues &judged) {
    const bool image = isImageBox(box);
    BoxLook look;
    std::vector<std::u16string> reasons;
    for (Problem problem : checkValue(box, value)) {
        reasons.emplace_back(problemText(problem));
        if (problem == Problem::LocalFile) {
            // The address is percent-encoded; its owner reads the file's own path.
            if (const std::optional<std::u16string> path = filePathOfAddress(value, kPathStyle)) {
                reasons.back() += messages::kLocalFilePath;
                reasons.back() += *path;
            }
        }
    }
    for (std::u16string &reason : contrastReasons(box, judged)) {
        reasons.push_back(std::move(reason));
    }
    look.marked = !reasons.empty();
    for (const std::u16string &reason : reasons) {
        if (!look.tooltip.empty()) {
            look.tooltip += u'\n';
        }
        look.tooltip += reason;
    }
    if (!look.marked) {
        look.tooltip = image ? messages::kImageBoxHint : messages::kColourBoxHint;
    }
    // A box shows the colour it writes, marked or not; the frame tells the marked ones.
    if (const std::optional<Rgba> colour = lookColour(box, value)) {
        look.background = overWhite(*colour);
        look.text = readableOn(*look.background);
        look.description = look.marked ? look.tooltip + u'\n' : std::u16string();
        look.description += colourText(*colour);
        if (image) {
            // A background colour in place of an image: say which, as no picture shows it.
            look.tooltip += u'\n' + colourText(*colour);
        }
    } else {
        if (look.marked) {
            look.background = kMarkerColour;
            look.text = Rgb{0, 0, 0};
        }
        // Why it is marked, or how to choose a colour; an image box that is fine needs nothing.
        look.description = look.marked || !image ? look.tooltip : std::u16string();
    }
    return look;
}

}  // namespace velmora
