#include "warnings.h"

#include "core/contrast.h"
#include "core/utf.h"
#include "core/valuecheck.h"

namespace velmora {

namespace {

std::string describe(Problem problem) {
    switch (problem) {
        case Problem::Spaces:
            return "has spaces at its start or end";
        case Problem::SpacedColour:
            return "is a colour with spaces at its start or end, which make it no colour: it is "
                   "written as url(), which shows nothing";
        case Problem::NotAColour:
            return "is not a colour the shop editor keeps (#rgb, #rrggbb, rgb(), rgba() or one of "
                   "the 17 basic colour names)";
        case Problem::DroppedColourName:
            return "is a colour name the shop editor drops; write it as #RRGGBB";
        case Problem::NotAnAddress:
            return "is not an http:// or https:// address";
        case Problem::NotHttps:
            return "is an http:// address, which the https shop page may not show";
        case Problem::ForeignHost:
            return "is not on the marketplace's image hosts, so the shop editor drops it; upload "
                   "the image to the shop's picture space first";
        case Problem::BreaksUrl:
            return "holds a ')', quote, space or line break, which ends url() early";
        case Problem::LocalFile:
            return "is an image on this computer; upload it to the shop's picture space and use "
                   "the picture's address instead";
        case Problem::EndsComment:
            return "holds '*/', which ends the comment of line 1 early, so that the shop editor "
                   "drops the next rule";
    }
    return "looks wrong";
}

/** The box's name in messages: its prompt and how the command line sets it. */
std::string boxName(int box) {
    if (box < kSlotCount) {
        const Slot &slot = kSlots[static_cast<std::size_t>(box)];
        return utf8FromUtf16(slot.prompt) + " (slot " + std::to_string(slot.number) + ")";
    }
    const ImageBox &image = kImageBoxes[static_cast<std::size_t>(box - kSlotCount)];
    return utf8FromUtf16(image.prompt) + " (--" + std::string(image.key) + ")";
}

}  // namespace

std::vector<std::string> warnings(const StyleValues &values) {
    std::vector<std::string> found;
    for (const Finding &finding : checkValues(values)) {
        if (finding.box < kSlotCount) {
            const Slot &slot = kSlots[static_cast<std::size_t>(finding.box)];
            if (!slot.shown && values.box(finding.box) == slot.startValue) {
                continue;
            }
        }
        found.push_back(boxName(finding.box) + ": '" + utf8FromUtf16(values.box(finding.box)) +
                        "' " + describe(finding.problem));
    }
    for (const LowContrast &low : lowContrasts(values)) {
        found.push_back(boxName(low.text) + ": '" + utf8FromUtf16(values.box(low.text)) + "' on " +
                        boxName(low.background) + " '" + utf8FromUtf16(values.box(low.background)) +
                        "' has a contrast of only " + ratioText(low.ratio) +
                        ", below 4.5:1; buyers may not read it");
    }
    return found;
}

}  // namespace velmora
