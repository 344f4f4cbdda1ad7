#include "filereports.h"

#include "core/utf.h"
#include "ui/messages.h"

namespace velmora {

std::u16string text16(std::string_view utf8) { return utf16FromUtf8(utf8).value_or(u"\uFFFD"); }

std::u16string pathText(const std::filesystem::path &path) { return text16(utf8FromPath(path)); }

std::u16string reasonText(const FileFailure &why) {
    switch (why.problem) {
        case FileProblem::NotFound:
            return std::u16string(messages::kReasonNotFound);
        case FileProblem::NoPermission:
            return std::u16string(messages::kReasonNoPermission);
        case FileProblem::DiskFull:
            return std::u16string(messages::kReasonDiskFull);
        case FileProblem::ReadOnly:
            return std::u16string(messages::kReasonReadOnly);
        case FileProblem::IsFolder:
            return std::u16string(messages::kReasonIsFolder);
        case FileProblem::NotRegular:
            return std::u16string(messages::kReasonNotRegular);
        case FileProblem::TooLarge:
            return std::u16string(messages::kValuesTooLarge);
        case FileProblem::ReservedName:
            return std::u16string(messages::kReasonReservedName);
        case FileProblem::Other:
            break;
    }
    return text16(why.systemText);
}

std::u16string openFailureText(const OpenFailure &why) {
    using Cause = OpenFailure::Cause;
    switch (why.cause) {
        case Cause::NoProgram:
            return std::u16string(messages::kReasonNoBrowser);
        case Cause::FileMissing:
            return std::u16string(messages::kReasonNotFound);
        case Cause::NoPermission:
            return std::u16string(messages::kReasonOpenDenied);
        case Cause::NoMemory:
            return std::u16string(messages::kReasonNoMemory);
        case Cause::NoAnswer:
            return std::u16string(messages::kReasonNoAnswer);
        case Cause::InUse:
            return std::u16string(messages::kReasonInUse);
        case Cause::Cancelled:
            return std::u16string(messages::kReasonCancelled);
        case Cause::Other:
            break;
    }
    std::u16string text =
        std::u16string(messages::kReasonOpenFailed) + text16(std::to_string(why.code));
    if (!why.systemText.empty()) {
        text += messages::kReasonCodeWords;
        text += text16(why.systemText);
    }
    return text;
}

void reportFileFailure(MessageBoxes &boxes, std::u16string_view caption, std::u16string_view prompt,
                       const std::filesystem::path &file, std::u16string_view reason) {
    std::u16string text = std::u16string(prompt) + pathText(file);
    if (!reason.empty()) {
        text += messages::kReasonPrefix;
        text += reason;
    }
    boxes.inform(std::u16string(caption), text);
}

void reportFileFailure(MessageBoxes &boxes, std::u16string_view caption, std::u16string_view prompt,
                       const std::filesystem::path &file, const FileFailure &why) {
    reportFileFailure(boxes, caption, prompt, file, reasonText(why));
}

}  // namespace velmora
