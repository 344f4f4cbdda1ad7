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

/** Why the text colour of the box reads poorly, one line a background; empty when it reads. */
std::vector<std::u16string> contrastReasons(int box, const StyleValues &values) {
    std::vector<std::u16string> reasons;
    for (const LowContrast &low : lowContrasts(values)) {
        if (low.text == box) {
            reasons.push_back(std::u16string(messages::kContrastBefore) +
                              std::u16string(promptOf(low.background)) +
                              std::u16string(messages::kContrastMiddle) +
                              *utf16FromUtf8(ratioText(low.ratio)) +
                              std::u16string(messages::kContrastAfter));
        }
    }
    return reasons;
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
    // A box shows the colour typed, marked or not; the frame tells the marked ones.
    if (const std::optional<Rgb> colour = shownColour(value)) {
        look.background = *colour;
        look.text = readableOn(*colour);
        look.description = look.marked ? look.tooltip + u'\n' : std::u16string();
        look.description += std::u16string(messages::kColourDescription) + hexColour(*colour);
        if (image) {
            // A background colour in place of an image: say which, as no picture shows it.
            look.tooltip +=
                u'\n' + std::u16string(messages::kColourDescription) + hexColour(*colour);
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
