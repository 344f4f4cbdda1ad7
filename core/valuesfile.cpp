#include "valuesfile.h"

#include "core/utf.h"

namespace velmora {

namespace {

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/** Resolves the escapes of the value in place; false for an unknown or cut escape. */
bool unescape(std::u16string &value) {
    std::size_t to = value.find(u'\\');
    if (to == std::u16string::npos) {
        return true;
    }
    for (std::size_t from = to; from < value.size(); ++from) {
        if (value[from] != u'\\') {
            value[to++] = value[from];
            continue;
        }
        if (++from == value.size()) {
            return false;
        }
        switch (value[from]) {
            case u'\\':
                value[to++] = u'\\';
                break;
            case u'n':
                value[to++] = u'\n';
                break;
            case u'r':
                value[to++] = u'\r';
                break;
            default:
                return false;
        }
    }
    value.resize(to);
    return true;
}

std::string escape(const std::u16string &value) {
    std::string escaped;
    for (char c : utf8FromUtf16(value)) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped.push_back(c);
        }
    }
    return escaped;
}

/** The value the name refers to, or nullptr when there is no such name. */
std::u16string *target(StyleValues &values, std::string_view name) {
    if (name.starts_with("slot.")) {
        const std::optional<int> number = parseSlotNumber(name.substr(5));
        return number ? &values.slot(*number) : nullptr;
    }
    for (int box = 0; box < kImageBoxCount; ++box) {
        if (name == kImageBoxes[box].key) {
            return &values.images[static_cast<std::size_t>(box)];
        }
    }
    return nullptr;
}

}  // namespace

std::optional<PresetError> applyPreset(std::string_view text, StyleValues &values) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() &&
            text[next] == '\n') {
            ++next;
        }
        text.remove_prefix(next);
        // Comments too: a file that is not UTF-8 is not one we wrote, whatever it holds.
        std::optional<std::u16string> lineText = utf16FromUtf8(line);
        if (!lineText) {
            return PresetError{PresetError::Kind::NotUtf8, lineNumber, "not valid UTF-8"};
        }
        if (const std::optional<TextPosition> nul = findNul(*lineText)) {
            return PresetError{PresetError::Kind::NulCharacter, lineNumber,
                               "a NUL character at column " + std::to_string(nul->column),
                               nul->column};
        }
        if (trimSpaces(line).empty() || trimSpaces(line).starts_with('#')) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return PresetError{PresetError::Kind::NoEquals, lineNumber,
                               "no '=' (write name=value)"};
        }
        const std::string_view name = trimSpaces(line.substr(0, equals));
        std::u16string *value = target(values, name);
        if (value == nullptr) {
            return PresetError{PresetError::Kind::UnknownName, lineNumber,
                               "unknown name '" + printable(name) +
                                   "' (slot.1 to slot.18, menu-hover-image, "
                                   "submenu-image, submenu-hover-image)"};
        }
        // The line's own text becomes the value: a value of megabytes is converted once.
        std::u16string text = std::move(*lineText);
        text.erase(0, text.find(u'=') + 1);
        if (!unescape(text)) {
            return PresetError{PresetError::Kind::BadEscape, lineNumber,
                               "a backslash must be followed by \\, n or r"};
        }
        *value = std::move(text);
    }
    return std::nullopt;
}

std::string presetText(const StyleValues &values) {
    std::string text = "# Velmora values (velmora-css --values FILE). Escapes: \\\\ \\n \\r\n";
    for (const Slot &slot : kSlots) {
        text +=
            "slot." + std::to_string(slot.number) + '=' + escape(values.slot(slot.number)) + '\n';
    }
    for (int box = 0; box < kImageBoxCount; ++box) {
        text += std::string(kImageBoxes[box].key) + '=' +
                escape(values.images[static_cast<std::size_t>(box)]) + '\n';
    }
    return text;
}

}  // namespace velmora
