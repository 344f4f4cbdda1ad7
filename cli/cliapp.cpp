#include "cliapp.h"

#include <CLI/CLI.hpp>
#include <array>
#include <iterator>
#include <map>
#include <new>
#include <optional>
#include <utility>
#include <variant>

#include "core/contrast.h"
#include "core/generator.h"
#include "core/importer.h"
#include "core/palettes.h"
#include "core/png.h"
#include "core/preview.h"
#include "core/utf.h"
#include "core/valuecheck.h"
#include "core/valuesfile.h"
#include "platform/files.h"
#include "velmora_config.h"
#include "warnings.h"

namespace velmora {

namespace {

constexpr const char *kProgram = "velmora-css";

/** A wrong command line, reported as one line with kExitBadUsage. */
struct UsageError {
    std::string message;
};

/** Reports message as one line: what it quotes may hold line breaks or terminal controls. */
void say(std::ostream &err, std::string_view message) {
    err << kProgram << ": " << printable(message) << '\n';
}

/** Flushes out, reporting a failure (such as a full device) on err. */
bool flushed(std::ostream &out, std::ostream &err) {
    out.flush();
    if (!out) {
        say(err, "cannot write to standard output");
        return false;
    }
    return true;
}

int slotNumber(const std::string &text) {
    const std::optional<int> number = parseSlotNumber(text);
    if (!number) {
        throw UsageError{"--slot: '" + text + "' is not a slot number from 1 to 18"};
    }
    return *number;
}

std::u16string toText(const std::string &bytes) {
    // Every argument was checked to be UTF-8 before parsing.
    return *utf16FromUtf8(bytes);
}

void applySlot(StyleValues &values, const std::string &assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        throw UsageError{"--slot: '" + assignment + "' has no '='; write --slot N=VALUE"};
    }
    values.slot(slotNumber(assignment.substr(0, equals))) = toText(assignment.substr(equals + 1));
}

std::string slotTable() {
    std::string table;
    for (const Slot &slot : kSlots) {
        table += std::to_string(slot.number) + '\t' + (slot.shown ? "shown" : "hidden") + '\t' +
                 (slot.wrap == Wrap::Url ? "url" : "plain") + '\t' + utf8FromUtf16(slot.token) +
                 '\t' + utf8FromUtf16(slot.startValue) + '\t' + utf8FromUtf16(slot.prompt) + '\n';
    }
    return table;
}

/** One palette a line: its name, a tab, its colours in the order of kPaletteBoxes. */
std::string paletteTable() {
    std::string table;
    for (const Palette &palette : builtInPalettes()) {
        table += utf8FromUtf16(palette.name) + '\t';
        for (const Rgb &colour : palette.colours) {
            table += utf8FromUtf16(hexColour(colour)) +
                     (&colour == &palette.colours.back() ? '\n' : ' ');
        }
    }
    return table;
}

const Palette &namedPalette(const std::string &name) {
    const Palette *palette = paletteNamed(toText(name));
    if (palette == nullptr) {
        throw UsageError{"--palette: no palette is named '" + name +
                         "'; --list-palettes shows their names"};
    }
    return *palette;
}

Rgb brandColour(const std::string &text) {
    const std::optional<Rgb> colour = opaqueColour(toText(text));
    if (!colour) {
        throw UsageError{"--palette-from: '" + text +
                         "' is not an opaque colour (write #rgb, #rrggbb, rgb() or one of the 17 "
                         "basic colour names)"};
    }
    return *colour;
}

std::string footer() {
    return "Slots are numbered as in --list; image slots take an address, which is written as "
           "url(ADDRESS), or a colour, which is written as it stands.\nAn option value that "
           "starts with '-' is written as --option=VALUE.\n"
           "A palette sets slots 1 2 4 6 7 8 10 11 16, --menu-hover-image, --submenu-image and\n"
           "--submenu-hover-image, in that order as --list-palettes shows its colours.\n";
}

/** The command line's options, as CLI11 fills them. */
struct Options {
    CLI::Option *slot = nullptr;
    std::array<CLI::Option *, kImageBoxCount> images{};
    CLI::Option *values = nullptr;
    CLI::Option *import = nullptr;
    CLI::Option *palette = nullptr;
    CLI::Option *paletteFrom = nullptr;
    std::vector<std::string> makeImage;
    bool cleared = false;
    bool list = false;
    bool listPalettes = false;
    bool check = false;
    bool strict = false;
    std::string output, preview, saveValues;
};

void addOptions(CLI::App &app, Options &options) {
    app.footer(footer());
    app.set_version_flag("--version", std::string(kProgram) + " " + VELMORA_VERSION);
    // The values are taken from the results in the order given, not through variables.
    options.slot = app.add_option("--slot")
                       ->description("Set slot N (1 to 18) to VALUE; repeatable")
                       ->type_name("N=VALUE")
                       ->expected(1)
                       ->allow_extra_args(false)
                       ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        options.images[box] =
            app.add_option("--" + std::string(kImageBoxes[box].key))
                ->description("Address for the box " + utf8FromUtf16(kImageBoxes[box].prompt))
                ->type_name("URL")
                ->expected(1)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    options.values = app.add_option("--values")
                         ->description("Apply the values saved in FILE (see --save-values)")
                         ->type_name("FILE")
                         ->expected(1)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    options.import = app.add_option("--import")
                         ->description(
                             "Take the values from navigation code written by Velmora "
                             "(FILE, or - for standard input)")
                         ->type_name("FILE")
                         ->expected(1)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    options.palette = app.add_option("--palette")
                          ->description("Apply the built-in palette NAME (see --list-palettes)")
                          ->type_name("NAME")
                          ->expected(1)
                          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    options.paletteFrom =
        app.add_option("--palette-from")
            ->description("Apply the palette derived from a brand COLOUR, the bar's background")
            ->type_name("COLOUR")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag(
        "--cleared", options.cleared,
        "Start from what the window's Clear leaves: slots 1 to 16 and the image boxes empty");
    app.add_flag("--list", options.list, "Print the slot table and exit");
    app.add_flag("--list-palettes", options.listPalettes,
                 "Print each palette's name, a tab and its colours, and exit");
    app.add_option("--make-image", options.makeImage,
                   "Write a 950x30 PNG background filled with COLOUR to FILE and exit")
        ->type_name("COLOUR FILE")
        // CLI11 would write the count after the names ("COLOUR FILE x 2").
        ->option_text("COLOUR FILE")
        ->expected(2)
        ->allow_extra_args(false);
    app.add_flag("--check", options.check, "Warn on standard error about values that look wrong");
    app.add_flag("--strict", options.strict,
                 "Like --check, but any warning means exit 3 and no output");
    app.add_option("--output", options.output, "Write the CSS to FILE, whole or not at all")
        ->type_name("FILE");
    app.add_option("--preview", options.preview, "Also write an HTML page that previews the bar")
        ->type_name("FILE");
    app.add_option("--save-values", options.saveValues, "Also save the values in effect to FILE")
        ->type_name("FILE");
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

/** Replaces values with those of the navigation code in the file at path ("-": in). */
void applyImport(StyleValues &values, const std::string &path, std::istream &in) {
    const std::string name = path == "-" ? "<stdin>" : path;
    std::string bytes, error;
    if (path == "-") {
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
    } else if (readFile(pathFromUtf8(path), bytes, error, kMaxValuesFileBytes) !=
               ReadResult::Read) {
        throw UsageError{error};
    }
    const std::optional<std::u16string> text = utf16FromUtf8(bytes);
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

/** The values the options set, applied in the order given on top of the start values. */
StyleValues valuesFrom(const CLI::App &app, const Options &options, std::istream &in) {
    StyleValues values = startValues();
    if (options.cleared) {
        clearValues(values);
    }
    std::map<const CLI::Option *, std::size_t> used;
    for (const CLI::Option *option : app.parse_order()) {
        const std::string &argument = option->results().at(used[option]++);
        if (option == options.slot) {
            applySlot(values, argument);
        } else if (option == options.palette) {
            applyPalette(namedPalette(argument), values);
        } else if (option == options.paletteFrom) {
            applyPalette(paletteFrom(brandColour(argument)), values);
        } else if (option == options.import) {
            applyImport(values, argument, in);
        } else if (option == options.values) {
            std::string text, error;
            if (readFile(pathFromUtf8(argument), text, error, kMaxValuesFileBytes) !=
                ReadResult::Read) {
                throw UsageError{error};
            }
            if (const auto wrong = applyPreset(text, values)) {
                throw UsageError{argument + ":" + std::to_string(wrong->line) + ": " +
                                 wrong->message};
            }
        } else {
            for (std::size_t box = 0; box < options.images.size(); ++box) {
                if (option == options.images[box]) {
                    values.images[box] = toText(argument);
                }
            }
        }
    }
    return values;
}

/** A file named on the command line. */
struct NamedFile {
    std::string option;
    std::string path;
    std::optional<FileIdentity> identity;
};

/**
 * Refuses empty file names, and outputs that would overwrite an input or each other, before
 * anything is read or written. Saving the values back to a file they come from is fine: it is
 * read before it is written.
 */
void checkFiles(const CLI::App &app, const Options &options) {
    std::vector<NamedFile> inputs, outputs;
    for (const std::string &path : options.values->results()) {
        inputs.push_back({"--values", path, std::nullopt});
    }
    for (const std::string &path : options.import->results()) {
        if (path != "-") {
            inputs.push_back({"--import", path, std::nullopt});
        }
    }
    for (const auto &[option, path] :
         {std::pair{"--output", &options.output}, std::pair{"--preview", &options.preview},
          std::pair{"--save-values", &options.saveValues}}) {
        if (app.count(option) > 0) {
            outputs.push_back({option, *path, std::nullopt});
        }
    }
    for (std::vector<NamedFile> *files : {&inputs, &outputs}) {
        for (NamedFile &file : *files) {
            if (file.path.empty()) {
                throw UsageError{file.option + ": the file name is empty"};
            }
            file.identity = fileIdentity(pathFromUtf8(file.path));
        }
    }
    const auto same = [](const NamedFile &a, const NamedFile &b) {
        return a.identity && b.identity && *a.identity == *b.identity;
    };
    for (auto output = outputs.begin(); output != outputs.end(); ++output) {
        for (auto other = std::next(output); other != outputs.end(); ++other) {
            if (same(*output, *other)) {
                throw UsageError{output->option + " and " + other->option +
                                 " name the same file: " + output->path};
            }
        }
        for (const NamedFile &input : inputs) {
            if (same(*output, input) && output->option != "--save-values") {
                throw UsageError{output->option + " would overwrite the values file " + input.path};
            }
        }
    }
}

bool writeTo(const std::string &path, std::string_view bytes, std::ostream &err) {
    std::string error;
    if (!writeFileAtomically(pathFromUtf8(path), bytes, error)) {
        say(err, error);
        return false;
    }
    return true;
}

/** --make-image: the background image, the same bytes as the window writes. */
int makeImage(const CLI::App &app, const Options &options, std::ostream &err) {
    const std::string &colourText = options.makeImage.at(0);
    const std::string &path = options.makeImage.at(1);
    if (app.get_options([&](const CLI::Option *option) {
               return option->count() > 0 && option->get_name() != "--make-image";
           })
            .size() > 0) {
        say(err, "--make-image is used on its own");
        return kExitBadUsage;
    }
    const std::optional<Rgba> colour = parseColourWithAlpha(toText(colourText));
    if (!colour) {
        say(err, "--make-image: '" + colourText +
                     "' is not a colour (write #rgb, #rrggbb, rgb(), rgba() or one of the 17 "
                     "basic colour names)");
        return kExitBadUsage;
    }
    if (path.empty()) {
        say(err, "--make-image: the file name is empty");
        return kExitBadUsage;
    }
    return writeTo(path, solidPng(*colour), err) ? kExitOk : kExitFailed;
}

int run(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
        std::ostream &err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!utf16FromUtf8(args[i])) {
            say(err, "argument " + std::to_string(i + 1) + " is not valid UTF-8");
            return kExitBadUsage;
        }
    }

    CLI::App app{
        "Writes the CSS for a shop's navigation bar, as the Velmora window's Generate button does.",
        kProgram};
    Options options;
    addOptions(app, options);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        out << app.help();
        return flushed(out, err) ? kExitOk : kExitFailed;
    } catch (const CLI::CallForVersion &version) {
        out << version.what() << '\n';
        return flushed(out, err) ? kExitOk : kExitFailed;
    } catch (const CLI::ParseError &error) {
        say(err, error.what());
        return kExitBadUsage;
    }

    if (!options.makeImage.empty()) {
        return makeImage(app, options, err);
    }

    if (options.list) {
        out << slotTable();
        return flushed(out, err) ? kExitOk : kExitFailed;
    }
    if (options.listPalettes) {
        out << paletteTable();
        return flushed(out, err) ? kExitOk : kExitFailed;
    }

    StyleValues values;
    try {
        checkFiles(app, options);
        values = valuesFrom(app, options, in);
    } catch (const UsageError &error) {
        say(err, error.message);
        return kExitBadUsage;
    }

    if (options.check || options.strict) {
        const std::vector<std::string> found = warnings(values);
        for (const std::string &warning : found) {
            say(err, "warning: " + warning);
        }
        if (options.strict && !found.empty()) {
            return kExitWarnings;
        }
    }

    const std::string css = utf8FromUtf16(generateCss(values));
    bool ok = true;
    if (!options.preview.empty()) {
        ok = writeTo(options.preview, previewPage(css), err) && ok;
    }
    if (!options.saveValues.empty()) {
        ok = writeTo(options.saveValues, presetText(values), err) && ok;
    }
    if (!options.output.empty()) {
        ok = writeTo(options.output, css, err) && ok;
    } else {
        out.write(css.data(), static_cast<std::streamsize>(css.size()));
        ok = flushed(out, err) && ok;
    }
    return ok ? kExitOk : kExitFailed;
}

}  // namespace

int runCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err) {
    try {
        return run(args, in, out, err);
    } catch (const std::bad_alloc &) {
        // Values of hundreds of megabytes can take more memory than there is.
        err << kProgram << ": out of memory\n";
        return kExitFailed;
    }
}

}  // namespace velmora
