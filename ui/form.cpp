#include "form.h"

#include <algorithm>
#include <system_error>
#include <variant>

#include "core/importer.h"
#include "core/png.h"
#include "core/preview.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "platform/files.h"
#include "ui/messages.h"

namespace velmora {

namespace {

constexpr int kPreviewReloadSeconds = 1;
constexpr std::string_view kPreviewName = "preview.html";

std::u16string text16(std::string_view utf8) { return utf16FromUtf8(utf8).value_or(u"\uFFFD"); }

std::u16string pathText(const std::filesystem::path &path) { return text16(utf8FromPath(path)); }

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

/** Why a file could not be read or written: the common causes in the window's own words. */
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
        case FileProblem::Other:
            break;
    }
    return text16(why.systemText);
}

/** The colour a box's value names, spaces around it allowed. */
std::optional<Rgb> colourOf(std::u16string_view value) {
    const std::size_t first = value.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return std::nullopt;
    }
    return parseColour(value.substr(first, value.find_last_not_of(u" \t") - first + 1));
}

/** The file name's extension in lower case, with its dot. */
std::u16string lowerExtension(const std::filesystem::path &file) {
    std::u16string extension = file.extension().u16string();
    for (char16_t &c : extension) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
    return extension;
}

bool isPicture(const std::filesystem::path &file) {
    const std::u16string extension = lowerExtension(file);
    return extension == u".png" || extension == u".jpg" || extension == u".jpeg" ||
           extension == u".gif";
}

}  // namespace

std::u16string shortenedText(std::u16string_view value) {
    constexpr std::size_t kShownStart = 80;
    std::size_t shown = std::min(kShownStart, value.size());
    if (shown > 0 && value[shown - 1] >= 0xD800 && value[shown - 1] <= 0xDBFF) {
        --shown;  // not half a character
    }
    return std::u16string(value.substr(0, shown)) + std::u16string(messages::kShortenedBefore) +
           text16(std::to_string(value.size())) + std::u16string(messages::kShortenedAfter);
}

CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text, int maxAttempts,
                           std::chrono::milliseconds timeLimit) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    CopyResult result;
    struct Finish {
        Clipboard &clipboard;
        ~Finish() { clipboard.copyFinished(); }
    } finish{clipboard};
    while (result.attempts < maxAttempts &&
           (result.attempts == 0 || std::chrono::steady_clock::now() < deadline)) {
        ++result.attempts;
        if (!clipboard.clear() || !clipboard.setText(text)) {
            return result;
        }
        const std::optional<bool> holds = clipboard.holds(text);
        if (!holds) {
            return result;
        }
        // Only our own text counts: another program's text arriving in between is no copy.
        if (*holds) {
            result.copied = true;
            return result;
        }
    }
    return result;
}

Form::Form(FormView &view, FormServices services, std::string shopUrl)
    : m_view(view), m_services(services), m_shopUrl(std::move(shopUrl)), m_values(startValues()) {}

Form::~Form() {
    if (m_previewFolder) {
        m_previewFolder->remove();
    }
}

void Form::start() { setValues(m_values); }

bool Form::isColourBox(int box) { return box >= 0 && box < kBoxCount && !isImageBox(box); }

bool Form::takesImage(int box) { return box >= 0 && box < kBoxCount && isImageBox(box); }

std::u16string Form::imageFileName(int box, Rgb colour) {
    // The box's prompt says what the image is for: "鼠标移至,导航背景图：" gives
    // "鼠标移至导航背景".
    std::u16string_view prompt =
        box < kSlotCount ? kSlots.at(static_cast<std::size_t>(box)).prompt
                         : kImageBoxes.at(static_cast<std::size_t>(box - kSlotCount)).prompt;
    for (std::u16string_view end : {u"：", u"图"}) {
        if (prompt.ends_with(end)) prompt.remove_suffix(end.size());
    }
    std::u16string name;
    for (char16_t c : prompt) {
        if (c != u',') name.push_back(c);
    }
    return name + u'-' + hexColour(colour).substr(1) + u".png";
}

void Form::textEdited(int box, std::u16string text) {
    std::u16string &value = m_values.box(box);
    if (value == text) {
        return;
    }
    value = std::move(text);
    updateLook(box);
    if (m_previewFile && !m_previewStale) {
        m_previewStale = true;
        m_view.schedulePreviewRefresh();
    }
}

void Form::setValues(const StyleValues &values) {
    m_values = values;
    for (int box = 0; box < kBoxCount; ++box) {
        m_view.showText(box, m_values.box(box));
        updateLook(box);
    }
    if (m_previewFile && !m_previewStale) {
        m_previewStale = true;
        m_view.schedulePreviewRefresh();
    }
}

void Form::updateLook(int box) {
    const std::u16string &value = m_values.box(box);
    const bool image = isImageBox(box);
    BoxLook look;
    const std::vector<Problem> problems = checkValue(box, value);
    look.marked = !problems.empty();
    for (Problem problem : problems) {
        if (!look.tooltip.empty()) {
            look.tooltip += u'\n';
        }
        look.tooltip += problemText(problem);
    }
    if (!look.marked) {
        look.tooltip = image ? messages::kImageBoxHint : messages::kColourBoxHint;
    }
    // A colour box shows the colour typed, marked or not; the frame tells the marked ones.
    if (const std::optional<Rgb> colour = image ? std::nullopt : colourOf(value)) {
        look.background = *colour;
        look.text = readableOn(*colour);
        look.description = look.marked ? look.tooltip + u'\n' : std::u16string();
        look.description += std::u16string(messages::kColourDescription) + hexColour(*colour);
    } else {
        if (look.marked) {
            look.background = kMarkerColour;
            look.text = Rgb{0, 0, 0};
        }
        // Why it is marked, or how to choose a colour; an image box that is fine needs nothing.
        look.description = look.marked || !image ? look.tooltip : std::u16string();
    }
    BoxLook &shown = m_looks.at(static_cast<std::size_t>(box));
    if (shown != look) {
        shown = std::move(look);
        m_view.showLook(box, shown);
    }
}

void Form::trigger(Command command, int box) {
    run([this, command, box] {
        switch (command) {
            case Command::Generate:
                generate();
                break;
            case Command::Clear:
                clear();
                break;
            case Command::ShopLink:
                openShopLink();
                break;
            case Command::Preview:
                preview();
                break;
            case Command::OpenValues:
                openValues();
                break;
            case Command::SaveValues:
                saveValues();
                break;
            case Command::PickColour:
                pickColour(box);
                break;
            case Command::Import:
                importClipboard();
                break;
            case Command::MakeImage:
                makeImage(box);
                break;
        }
    });
}

void Form::generate() {
    generateCss(m_values, m_output);
    const CopyResult result = copyToClipboard(m_services.clipboard, m_output);
    if (result.copied) {
        m_services.messages.inform(std::u16string(messages::kCopiedCaption),
                                   std::u16string(messages::kCopiedPrompt));
    } else {
        m_services.messages.inform(std::u16string(messages::kCopyFailedCaption),
                                   std::u16string(messages::kCopyFailedPrompt));
    }
}

void Form::clear() {
    if (!m_services.messages.askYesNo(std::u16string(messages::kClearCaption),
                                      std::u16string(messages::kClearPrompt))) {
        return;
    }
    StyleValues cleared = m_values;
    clearValues(cleared);
    setValues(cleared);
}

void Form::openShopLink() {
    if (!m_services.urlOpener.open(m_shopUrl)) {
        m_services.messages.inform(std::u16string(messages::kLinkFailedCaption),
                                   std::u16string(messages::kLinkFailedPrompt) + text16(m_shopUrl));
    }
}

bool Form::writePreview(bool asked) {
    if (m_previewFolder && !m_previewFolder->intact()) {
        // Removed by a temp cleaner, or made again by someone else: never written into, and
        // left as it is. The page the browser shows is gone with it.
        m_previewFolder.reset();
        m_previewFile.reset();
    }
    std::string error;
    FileFailure why;
    if (!m_previewFolder) {
        if (!asked) {
            return false;
        }
        m_previewFolder = PrivateFolder::make(error, &why);
        if (!m_previewFolder) {
            reportFileFailure(messages::kPreviewFailedCaption, messages::kPreviewFailedPrompt,
                              std::filesystem::path(kPreviewName), why);
            return false;
        }
    }
    // The buffers are kept from one rewrite to the next: fresh memory for a page of megabytes
    // costs more than building it.
    generateCss(m_values, m_previewCss);
    utf8FromUtf16(m_previewCss, m_previewUtf8);
    previewPage(m_previewUtf8, kPreviewReloadSeconds, m_previewPage);
    const std::filesystem::path file = m_previewFolder->path() / kPreviewName;
    if (!m_previewFolder->write(std::filesystem::path(kPreviewName), m_previewPage, error, &why)) {
        if (asked || m_previewFolder->intact()) {
            reportFileFailure(messages::kPreviewFailedCaption, messages::kPreviewFailedPrompt, file,
                              why);
        }
        return false;
    }
    m_previewFile = file;
    m_previewStale = false;
    return true;
}

void Form::preview() {
    if (!writePreview(true)) {
        return;
    }
    std::string why;
    if (!m_services.urlOpener.openFile(*m_previewFile, why)) {
        reportFileFailure(messages::kPreviewFailedCaption, messages::kPreviewFailedPrompt,
                          *m_previewFile,
                          why.empty() ? std::u16string(messages::kReasonNoBrowser) : text16(why));
    }
}

void Form::refreshPreview() {
    run([this] {
        if (m_previewFile && m_previewStale && !writePreview(false)) {
            m_previewFile.reset();  // reported once, if at all; F5 opens it again
        }
    });
}

void Form::saveValues() {
    const std::optional<std::filesystem::path> file = m_services.dialogs.chooseFile(
        std::u16string(messages::kSaveCaption), std::u16string(messages::kValuesFilter), true);
    if (!file) {
        return;
    }
    std::string error;
    FileFailure why;
    if (!writeFileAtomically(*file, presetText(m_values), error, Durability::Flushed, &why)) {
        reportFileFailure(messages::kSaveFailedCaption, messages::kSaveFailedPrompt, *file, why);
    }
}

void Form::openValues() {
    const std::optional<std::filesystem::path> file = m_services.dialogs.chooseFile(
        std::u16string(messages::kOpenCaption), std::u16string(messages::kValuesFilter), false);
    if (file) {
        loadValuesFile(*file);
    }
}

bool Form::loadValuesFile(const std::filesystem::path &file) {
    std::string bytes, error;
    FileFailure why;
    if (readFile(file, bytes, error, kMaxValuesFileBytes, Readable::RegularOnly, &why) !=
        ReadResult::Read) {
        reportFileFailure(messages::kOpenFailedCaption, messages::kOpenFailedPrompt, file, why);
        return false;
    }
    StyleValues loaded = m_values;
    if (const std::optional<PresetError> wrong = applyPreset(bytes, loaded)) {
        std::u16string where = std::u16string(messages::kLinePrefix) +
                               text16(std::to_string(wrong->line)) +
                               std::u16string(messages::kLineSuffix);
        if (wrong->column > 0) {
            where += std::u16string(messages::kColumnPrefix) +
                     text16(std::to_string(wrong->column)) +
                     std::u16string(messages::kColumnSuffix);
        }
        m_services.messages.inform(std::u16string(messages::kOpenFailedCaption),
                                   std::u16string(messages::kOpenFailedPrompt) + pathText(file) +
                                       where + std::u16string(valuesErrorText(wrong->kind)));
        return false;
    }
    setValues(loaded);
    return true;
}

void Form::filesDropped(const std::vector<std::filesystem::path> &files, int box) {
    if (files.empty()) {
        return;
    }
    run([this, &files, box] {
        const std::filesystem::path &file = files.front();
        if (isPicture(file)) {
            if (takesImage(box)) {
                setImageFile(box, file);
            } else {
                m_services.messages.inform(std::u16string(messages::kDropImageCaption),
                                           std::u16string(messages::kDropImageElsewhere));
            }
        } else if (lowerExtension(file) == u".css") {
            importFile(file);
        } else {
            loadValuesFile(file);
        }
    });
}

void Form::importClipboard() {
    const std::optional<std::u16string> text = m_services.clipboard.text();
    if (!text) {
        m_services.messages.inform(std::u16string(messages::kImportFailedCaption),
                                   std::u16string(messages::kImportClipboardUnreadable));
        return;
    }
    importText(utf8FromUtf16(*text), messages::kImportClipboardRefused);
}

void Form::importFile(const std::filesystem::path &file) {
    std::string bytes, error;
    FileFailure why;
    if (readFile(file, bytes, error, kMaxValuesFileBytes, Readable::RegularOnly, &why) !=
        ReadResult::Read) {
        reportFileFailure(messages::kImportFailedCaption, messages::kImportFileRefused, file, why);
        return;
    }
    importText(bytes, std::u16string(messages::kImportFileRefused) + pathText(file));
}

void Form::importText(std::string_view utf8, std::u16string_view refusal) {
    const std::optional<std::u16string> text = utf16FromUtf8(utf8);
    std::u16string where;
    if (const std::optional<TextPosition> nul = text ? findNul(*text) : std::nullopt) {
        where = std::u16string(messages::kImportWherePrefix) + text16(std::to_string(nul->line)) +
                std::u16string(messages::kImportWhereLine) + text16(std::to_string(nul->column)) +
                std::u16string(messages::kImportNul);
    } else if (text) {
        ImportResult result = importCss(*text, m_values);
        if (const StyleValues *values = std::get_if<StyleValues>(&result)) {
            setValues(*values);
            return;
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
    m_services.messages.inform(std::u16string(messages::kImportFailedCaption),
                               std::u16string(refusal) + where);
}

void Form::pickColour(int box) {
    if (!isColourBox(box)) {
        return;
    }
    const Rgb initial = colourOf(m_values.box(box)).value_or(Rgb{255, 255, 255});
    if (const std::optional<Rgb> chosen = m_services.dialogs.chooseColour(initial)) {
        m_lastColour = *chosen;
        const std::u16string hex = hexColour(*chosen);
        m_view.showText(box, hex);
        textEdited(box, hex);
    }
}

void Form::makeImage(int box) {
    if (!takesImage(box)) {
        return;
    }
    const std::optional<Rgb> chosen = m_services.dialogs.chooseColour(m_lastColour);
    if (!chosen) {
        return;
    }
    m_lastColour = *chosen;
    const std::optional<std::filesystem::path> file = m_services.dialogs.chooseSaveFile(
        std::u16string(messages::kMakeImageCaption), std::u16string(messages::kImageFilter),
        m_imageFolder, imageFileName(box, *chosen));
    if (!file) {
        return;
    }
    const std::filesystem::path path = std::filesystem::absolute(*file);
    m_imageFolder = path.parent_path();
    std::string error;
    if (!writeFileAtomically(path, solidPng(Rgba{chosen->red, chosen->green, chosen->blue}),
                             error)) {
        reportFileFailure(messages::kMakeImageFailedCaption, messages::kMakeImageFailedPrompt, path,
                          text16(error));
        return;
    }
    setImageFile(box, path);
}

void Form::setImageFile(int box, const std::filesystem::path &file) {
    const std::u16string url = text16(fileUrl(std::filesystem::absolute(file)));
    m_view.showText(box, url);
    textEdited(box, url);
}

void Form::run(const std::function<void()> &command) {
    try {
        command();
    } catch (const std::exception &error) {
        reportFailure(error.what());
    } catch (...) {
        reportFailure("unknown error");
    }
}

void Form::reportFailure(const std::string &reason) {
    m_services.messages.inform(
        std::u16string(messages::kErrorCaption),
        std::u16string(messages::kErrorPrompt) + utf16FromUtf8(reason).value_or(u"未知错误"));
}

void Form::reportFileFailure(std::u16string_view caption, std::u16string_view prompt,
                             const std::filesystem::path &file, std::u16string_view reason) {
    std::u16string text = std::u16string(prompt) + pathText(file);
    if (!reason.empty()) {
        text += messages::kReasonPrefix;
        text += reason;
    }
    m_services.messages.inform(std::u16string(caption), text);
}

void Form::reportFileFailure(std::u16string_view caption, std::u16string_view prompt,
                             const std::filesystem::path &file, const FileFailure &why) {
    reportFileFailure(caption, prompt, file, reasonText(why));
}

}  // namespace velmora
