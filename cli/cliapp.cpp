#include "cliapp.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <iterator>
#include <map>
#include <new>
#include <optional>

#include "core/generator.h"
#include "core/palettes.h"
#include "core/png.h"
#include "core/preview.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "platform/files.h"
#include "valueoptions.h"
#include "velmora_config.h"
#include "warnings.h"

namespace velmora {

namespace {

constexpr const char *kProgram = "velmora-css";

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

std::string footer() {
    return "Slots are numbered as in --list; image slots take an address, which is written as "
           "url(ADDRESS), or a colour, which is written as it stands.\nAn option value that "
           "starts with '-' is written as --option=VALUE.\n"
           "A palette sets slots 1 2 4 6 7 8 10 11 16, --menu-hover-image, --submenu-image and\n"
           "--submenu-hover-image, in that order as --list-palettes shows its colours.\n";
}

/** The command line's options, as CLI11 fills them. */
struct Options {
    /** The options that set values, each with its entry of valueOptions(). */
    std::map<const CLI::Option *, const ValueOption *> setting;
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
    for (const ValueOption &setting : valueOptions()) {
        CLI::Option *option = app.add_option(setting.name)
                                  ->description(setting.description)
                                  ->type_name(setting.typeName)
                                  ->expected(1)
                                  ->allow_extra_args(false)
                                  ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        options.setting[option] = &setting;
    }
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

/**
 * The arguments with "--option=" written as "--option" and an empty argument, for an option that
 * takes one: CLI11 would take the next argument as its value, or call it missing.
 */
std::vector<std::string> emptyValuesSplit(const CLI::App &app,
                                          const std::vector<std::string> &args) {
    std::vector<std::string> split;
    for (auto arg = args.begin(); arg != args.end(); ++arg) {
        if (*arg == "--") {
            split.insert(split.end(), arg, args.end());
            break;
        }
        const CLI::Option *option = arg->starts_with("--") && arg->find('=') == arg->size() - 1
                                        ? app.get_option_no_throw(arg->substr(0, arg->size() - 1))
                                        : nullptr;
        if (option != nullptr && option->get_items_expected_min() > 0) {
            split.push_back(arg->substr(0, arg->size() - 1));
            split.emplace_back();
        } else {
            split.push_back(*arg);
        }
    }
    return split;
}

/** Calls use with each option that sets values and its argument, in the order given. */
void forEachSetting(const CLI::App &app, const Options &options,
                    const std::function<void(const ValueOption &, const std::string &)> &use) {
    std::map<const CLI::Option *, std::size_t> used;
    for (const CLI::Option *option : app.parse_order()) {
        if (const auto setting = options.setting.find(option); setting != options.setting.end()) {
            use(*setting->second, option->results().at(used[option]++));
        }
    }
}

/** The values the options set, applied in the order given on top of the start values. */
StyleValues valuesFrom(const CLI::App &app, const Options &options, std::istream &in) {
    StyleValues values = startValues();
    if (options.cleared) {
        clearValues(values);
    }
    forEachSetting(app, options, [&](const ValueOption &setting, const std::string &argument) {
        setting.apply(values, argument, in);
    });
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
    forEachSetting(app, options, [&](const ValueOption &setting, const std::string &path) {
        if (setting.names == ValueOption::Names::File ||
            (setting.names == ValueOption::Names::FileOrStandardInput && path != "-")) {
            inputs.push_back({setting.name, path, std::nullopt});
        }
    });
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
    const std::optional<Rgba> colour = parseColourWithAlpha(argumentText(colourText));
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
    const std::vector<std::string> split = emptyValuesSplit(app, args);
    std::vector<std::string> reversed(split.rbegin(), split.rend());
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

    try {
        // A bad name is refused wherever it is, also where nothing is applied.
        forEachSetting(app, options, [](const ValueOption &setting, const std::string &argument) {
            setting.check(argument);
        });
    } catch (const UsageError &error) {
        say(err, error.message);
        return kExitBadUsage;
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
