#include "cliapp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <optional>

#include "atomicfile.h"
#include "core/generator.h"
#include "core/utf.h"

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0.0.0"
#endif

namespace velmora {

namespace {

constexpr const char *kProgram = "velmora-css";

/** A wrong command line, reported as one line with kExitBadUsage. */
struct UsageError {
    std::string message;
};

int parseSlotNumber(const std::string &text) {
    const bool plain =
        !text.empty() && text.size() <= 2 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int number = plain ? std::stoi(text) : 0;
    if (number < 1 || number > kSlotCount) {
        throw UsageError{"--slot: '" + text + "' is not a slot number from 1 to 18"};
    }
    return number;
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
    values.slot(parseSlotNumber(assignment.substr(0, equals))) =
        toText(assignment.substr(equals + 1));
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

std::string footer() {
    return "Slots are numbered as in --list; image slots take an address, which is written as "
           "url(ADDRESS).\nAn option value that starts with '-' is written as --option=VALUE.\n";
}

}  // namespace

int runCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!utf16FromUtf8(args[i])) {
            err << kProgram << ": argument " << i + 1 << " is not valid UTF-8\n";
            return kExitBadUsage;
        }
    }

    CLI::App app{
        "Writes the CSS for a shop's navigation bar, as the Velmora window's Generate "
        "button does.",
        kProgram};
    app.footer(footer());
    app.set_version_flag("--version", std::string(kProgram) + " " + VELMORA_VERSION);

    std::vector<std::string> slotAssignments;
    app.add_option("--slot", slotAssignments, "Set slot N (1 to 18) to VALUE; repeatable")
        ->type_name("N=VALUE")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

    const char *imageOptions[kImageBoxCount] = {"--menu-hover-image", "--submenu-image",
                                                "--submenu-hover-image"};
    std::string images[kImageBoxCount];
    CLI::Option *imageFlags[kImageBoxCount];
    for (int box = 0; box < kImageBoxCount; ++box) {
        const ImageBox &image = kImageBoxes[static_cast<std::size_t>(box)];
        imageFlags[box] = app.add_option(imageOptions[box], images[box],
                                         "Address for the box " + utf8FromUtf16(image.prompt) +
                                             " (" + std::string(image.name) + ")")
                              ->type_name("URL")
                              ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    bool cleared = false;
    app.add_flag("--cleared", cleared,
                 "Start from what the window's Clear leaves: slots 1 to 16 and the image boxes "
                 "empty");
    bool list = false;
    app.add_flag("--list", list, "Print the slot table and exit");
    std::string outputPath;
    CLI::Option *outputFlag =
        app.add_option("--output", outputPath, "Write the CSS to FILE, whole or not at all")
            ->type_name("FILE");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForVersion &version) {
        out << version.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError &error) {
        err << kProgram << ": " << error.what() << '\n';
        return kExitBadUsage;
    }

    if (list) {
        out << slotTable();
        return kExitOk;
    }

    StyleValues values = startValues();
    if (cleared) {
        clearValues(values);
    }
    try {
        for (const std::string &assignment : slotAssignments) {
            applySlot(values, assignment);
        }
    } catch (const UsageError &error) {
        err << kProgram << ": " << error.message << '\n';
        return kExitBadUsage;
    }
    for (int box = 0; box < kImageBoxCount; ++box) {
        if (imageFlags[box]->count() > 0) {
            values.images[static_cast<std::size_t>(box)] = toText(images[box]);
        }
    }

    const std::string css = utf8FromUtf16(generateCss(values));
    if (outputFlag->count() > 0) {
        std::string error;
        if (!writeFileAtomically(outputPath, css, error)) {
            err << kProgram << ": " << error << '\n';
            return kExitFailed;
        }
        return kExitOk;
    }
    out.write(css.data(), static_cast<std::streamsize>(css.size()));
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the CSS to standard output\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velmora
