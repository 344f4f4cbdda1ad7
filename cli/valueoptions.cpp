#include "valueoptions.h"

#include <optional>
#include <utility>
#include <variant>

#include "core/contrast.h"
#include "core/importer.h"
#include "core/palettes.h"
#include "core/slottable.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "platform/files.h"

namespace velmora {

std::u16string argumentText(const std::string &bytes) { return *utf16FromUtf8(bytes); }

namespace {

/** The slot number and the value of "N=VALUE". */
std::pair<int, std::string> slotAssignment(const std::string &assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        throw UsageError{"--slot: '" + assignment + "' has no '='; write --slot N=VALUE"};
    }
    const std::string number = assignment.substr(0, equals);
    const std::optional<int> slot = parseSlotNumber(number);
    if (!slot) {
        throw UsageError{"--slot: '" + number + "' is not a slot number from 1 to 18"};
    }
    return {*slot, assignment.substr(equals + 1)};
}

const Palette &namedPalette(const std::string &name) {
    if (name.empty()) {
        throw UsageError{"--palette: the palette's name is missing; --list-palettes shows them"};
    }
    const Palette *palette = paletteNamed(argumentText(name));
    if (palette == nullptr) {
        throw UsageError{"--palette: no palette is named '" + name +
                         "'; --list-palettes shows their names"};
    }
    return *palette;
}

Rgb brandColour(const std::string &text) {
    if (text.empty()) {
        throw UsageError{"--palette-from: the colour is missing; write --palette-from COLOUR"};
    }
    const std::optional<Rgb> colour = opaqueColour(argumentText(text));
    if (!colour) {
        throw UsageError{"--palette-from: '" + text +
                         "' is not an opaque colour (write #rgb, #rrggbb, rgb() or one of the 17 "
                         "basic colour names)"};
    }
    return *colour;
}

/** The expected text of an import error on one line, with line breaks and quotes escaped. */
std::string quotedOnOneLine(std::u16string_view text) {
    std::string quoted = "\"";
    for (char c : utf8FromUtf16(text)) {
        switch (c) {
            case '\r':
                quoted += "\\r";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\t':
                quoted += "\\t";
                break;
            case '"':
            case '\\':
                quoted += '\\';
                quoted += c;
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    constexpr char kHex[] = "0123456789abcdef";
                    quoted += std::string("\\x") + kHex[(c >> 4) & 0xF] + kHex[c & 0xF];
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + '"';
}

std::string readInput(const std::string &path, std::istream &in) {
    std::string bytes, error;
    if (path != "-") {
        if (readFile(pathFromUtf8(path), bytes, error, kMaxValuesFileBytes) != ReadResult::Read) {
            throw UsageError{error};
        }
        return bytes;
    }
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxValuesFileBytes) {
            throw UsageError{"standard input holds more than " +
                             std::to_string(kMaxValuesFileBytes >> 20) +
                             " MiB, more than any navigation code"};
        }
    }
    if (in.bad()) {
        throw UsageError{"cannot read standard input"};
    }
    return bytes;
}

/** Replaces values with those of the navigation code in the file at path ("-": in). */
void applyImport(StyleValues &values, const std::string &path, std::istream &in) {
    const std::string name = path == "-" ? "<stdin>" : path;
    const std::optional<std::u16string> text = utf16FromUtf8(readInput(path, in));
    if (!text) {
        throw UsageError{name + ": not valid UTF-8 text"};
    }
    if (const std::optional<TextPosition> nul = findNul(*text)) {
        throw UsageError{name + ":" + std::to_string(nul->line) + ":" +
                         std::to_string(nul->column) +
                         ": a NUL character, which no navigation code holds"};
    }
    ImportResult result = importCss(*text, values);
    if (const auto *refused = std::get_if<ImportError>(&result)) {
        std::string message = name + ":" + std::to_string(refused->line) + ":" +
                              std::to_string(refused->column) + ": " + refused->message;
        if (!refused->expected.empty()) {
            message += "; expected " + quotedOnOneLine(refused->expected);
        }
        throw UsageError{message};
    }
    values = std::move(std::get<StyleValues>(result));
}

void applyValuesFile(StyleValues &values, const std::string &path) {
    std::string text, error;
    if (readFile(pathFromUtf8(path), text, error, kMaxValuesFileBytes) != ReadResult::Read) {
        throw UsageError{error};
    }
    if (const auto wrong = applyPreset(text, values)) {
        throw UsageError{path + ":" + std::to_string(wrong->line) + ": " + wrong->message};
    }
}

std::vector<ValueOption> makeValueOptions() {
    using Names = ValueOption::Names;
    const auto nothingToCheck = [](const std::string &) {};
    std::vector<ValueOption> options;
    options.push_back({"--slot", "N=VALUE", "Set slot N (1 to 18) to VALUE; repeatable",
                       Names::Value,
                       [](StyleValues &values, const std::string &argument, std::istream &) {
                           const auto [slot, value] = slotAssignment(argument);
                           values.slot(slot) = argumentText(value);
                       },
                       [](const std::string &argument) { slotAssignment(argument); }});
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        options.push_back({"--" + std::string(kImageBoxes[box].key), "URL",
                           "Address for the box " + utf8FromUtf16(kImageBoxes[box].prompt),
                           Names::Value,
                           [box](StyleValues &values, const std::string &argument, std::istream &) {
                               values.images[box] = argumentText(argument);
                           },
                           nothingToCheck});
    }
    options.push_back({"--values", "FILE", "Apply the values saved in FILE (see --save-values)",
                       Names::File,
                       [](StyleValues &values, const std::string &argument, std::istream &) {
                           applyValuesFile(values, argument);
                       },
                       nothingToCheck});
    options.push_back({"--import", "FILE",
                       "Take the values from navigation code written by Velmora (FILE, or - for "
                       "standard input)",
                       Names::FileOrStandardInput, applyImport, nothingToCheck});
    options.push_back({"--palette", "NAME", "Apply the built-in palette NAME (see --list-palettes)",
                       Names::Value,
                       [](StyleValues &values, const std::string &argument, std::istream &) {
                           applyPalette(namedPalette(argument), values);
                       },
                       [](const std::string &argument) { namedPalette(argument); }});
    options.push_back({"--palette-from", "COLOUR",
                       "Apply the palette derived from a brand COLOUR, the bar's background",
                       Names::Value,
                       [](StyleValues &values, const std::string &argument, std::istream &) {
                           applyPalette(paletteFrom(brandColour(argument)), values);
                       },
                       [](const std::string &argument) { brandColour(argument); }});
    return options;
}

}  // namespace

const std::vector<ValueOption> &valueOptions() {
    static const std::vector<ValueOption> options = makeValueOptions();
    return options;
}

}  // namespace velmora
