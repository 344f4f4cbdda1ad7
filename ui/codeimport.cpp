#include "codeimport.h"

#include <string>
#include <variant>

#include "core/importer.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "platform/files.h"
#include "ui/filereports.h"
#include "ui/messages.h"

namespace velmora {

namespace {

/** Text for a message, with line breaks and other control characters written visibly. */
std::u16string shownText(std::u16string_view text) {
    std::u16string shown;
    for (char16_t c : text) {
        if (c == u'\r') {
            shown += u"\\r";
        } else if (c == u'\n') {
            shown += u"\\n";
        } else if (c == u'\t') {
            shown += u"\\t";
        } else if (c < 0x20 || c == 0x7F) {
            shown += u'\uFFFD';
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

}  // namespace

CodeImport::CodeImport(Clipboard &clipboard, MessageBoxes &boxes)
    : m_clipboard(clipboard), m_boxes(boxes) {}

std::optional<StyleValues> CodeImport::fromClipboard(const StyleValues &current) {
    const std::optional<std::u16string> text = m_clipboard.text();
    if (!text) {
        m_boxes.inform(std::u16string(messages::kImportFailedCaption),
                       std::u16string(messages::kImportClipboardUnreadable));
        return std::nullopt;
    }
    return fromText(utf8FromUtf16(*text), messages::kImportClipboardRefused, current);
}

std::optional<StyleValues> CodeImport::fromFile(const std::filesystem::path &file,
                                                const StyleValues &current) {
    std::string bytes, error;
    FileFailure why;
    if (readFile(file, bytes, error, kMaxValuesFileBytes, Readable::RegularOnly, &why) !=
        ReadResult::Read) {
        reportFileFailure(m_boxes, messages::kImportFailedCaption, messages::kImportFileRefused,
                          file, why);
        return std::nullopt;
    }
    return fromText(bytes, std::u16string(messages::kImportFileRefused) + pathText(file), current);
}

std::optional<StyleValues> CodeImport::fromText(std::string_view utf8, std::u16string_view refusal,
                                                const StyleValues &current) {
    const std::optional<std::u16string> text = utf16FromUtf8(utf8);
    std::u16string where;
    if (const std::optional<TextPosition> nul = text ? findNul(*text) : std::nullopt) {
        where = std::u16string(messages::kImportWherePrefix) + text16(std::to_string(nul->line)) +
                std::u16string(messages::kImportWhereLine) + text16(std::to_string(nul->column)) +
                std::u16string(messages::kImportNul);
    } else if (text) {
        ImportResult result = importCss(*text, current);
        if (StyleValues *values = std::get_if<StyleValues>(&result)) {
            return std::move(*values);
        }
        const ImportError &error = std::get<ImportError>(result);
        where = std::u16string(messages::kImportWherePrefix) + text16(std::to_string(error.line)) +
                std::u16string(messages::kImportWhereLine) + text16(std::to_string(error.column)) +
                std::u16string(messages::kImportWhereColumn);
        where += error.expected.empty()
                     ? std::u16string(messages::kImportExpectedEnd)
                     : std::u16string(messages::kImportExpectedOpen) + shownText(error.expected) +
                           std::u16string(messages::kImportExpectedClose);
    } else {
        where = messages::kImportNotUtf8;
    }
    m_boxes.inform(std::u16string(messages::kImportFailedCaption), std::u16string(refusal) + where);
    return std::nullopt;
}

}  // namespace velmora
