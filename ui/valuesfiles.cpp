#include "valuesfiles.h"

#include <string>

#include "core/valuesfile.h"
#include "platform/files.h"
#include "ui/filereports.h"
#include "ui/messages.h"

namespace velmora {

namespace {

std::u16string_view valuesErrorText(PresetError::Kind kind) {
    switch (kind) {
        case PresetError::Kind::NotUtf8:
            return messages::kValuesNotUtf8;
        case PresetError::Kind::NoEquals:
            return messages::kValuesNoEquals;
        case PresetError::Kind::UnknownName:
            return messages::kValuesUnknownName;
        case PresetError::Kind::BadEscape:
            return messages::kValuesBadEscape;
        case PresetError::Kind::NulCharacter:
            return messages::kValuesNul;
    }
    return {};
}

}  // namespace

ValuesFiles::ValuesFiles(MessageBoxes &boxes, Dialogs &dialogs)
    : m_boxes(boxes), m_dialogs(dialogs) {}

void ValuesFiles::save(const StyleValues &values) {
    const std::optional<std::filesystem::path> file = m_dialogs.chooseFile(
        std::u16string(messages::kSaveCaption), std::u16string(messages::kValuesFilter), true);
    if (!file) {
        return;
    }
    std::string error;
    FileFailure why;
    if (!writeFileAtomically(*file, presetText(values), error, Durability::Flushed, &why,
                             Writable::RegularOnly)) {
        reportFileFailure(m_boxes, messages::kSaveFailedCaption, messages::kSaveFailedPrompt, *file,
                          why);
    }
}

std::optional<StyleValues> ValuesFiles::open(const StyleValues &current) {
    const std::optional<std::filesystem::path> file = m_dialogs.chooseFile(
        std::u16string(messages::kOpenCaption), std::u16string(messages::kValuesFilter), false);
    if (!file) {
        return std::nullopt;
    }
    return load(*file, current);
}

std::optional<StyleValues> ValuesFiles::load(const std::filesystem::path &file,
                                             const StyleValues &current) {
    std::string bytes, error;
    FileFailure why;
    if (readFile(file, bytes, error, kMaxValuesFileBytes, Readable::RegularOnly, &why) !=
        ReadResult::Read) {
        reportFileFailure(m_boxes, messages::kOpenFailedCaption, messages::kOpenFailedPrompt, file,
                          why);
        return std::nullopt;
    }
    StyleValues loaded = current;
    if (const std::optional<PresetError> wrong = applyPreset(bytes, loaded)) {
        std::u16string where = std::u16string(messages::kLinePrefix) +
                               text16(std::to_string(wrong->line)) +
                               std::u16string(messages::kLineSuffix);
        if (wrong->column > 0) {
            where += std::u16string(messages::kColumnPrefix) +
                     text16(std::to_string(wrong->column)) +
                     std::u16string(messages::kColumnSuffix);
        }
        m_boxes.inform(std::u16string(messages::kOpenFailedCaption),
                       std::u16string(messages::kOpenFailedPrompt) + pathText(file) + where +
                           std::u16string(valuesErrorText(wrong->kind)));
        return std::nullopt;
    }
    return loaded;
}

}  // namespace velmora
