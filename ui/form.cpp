#include "form.h"

#include "core/contrast.h"
#include "core/palettes.h"
#include "core/utf.h"
#include "ui/filereports.h"
#include "ui/messages.h"

namespace velmora {

Form::Form(FormView &view, FormServices services, std::string shopUrl)
    : m_view(view),
      m_busy(services.messages, services.dialogs, [&view](bool busy) { view.showBusy(busy); }),
      m_services{services.clipboard, m_busy, services.urlOpener, m_busy},
      m_shopUrl(std::move(shopUrl)),
      m_values(startValues()),
      m_preview(m_busy, services.urlOpener, [&view] { view.schedulePreviewRefresh(); }),
      m_valuesFiles(m_busy, m_busy),
      m_import(services.clipboard, m_busy),
      m_backgrounds(m_busy, m_busy),
      m_drops(services.clipboard, m_busy, m_busy) {}

void Form::start() { showValues(m_values, true); }

bool Form::isColourBox(int box) { return box >= 0 && box < kBoxCount && !isImageBox(box); }

bool Form::takesImage(int box) { return box >= 0 && box < kBoxCount && isImageBox(box); }

void Form::textEdited(int box, std::u16string text) {
    std::u16string &value = m_values.box(box);
    if (value == text) {
        return;
    }
    // A long value pasted or cut: its own checks see the whole of it.
    std::optional<BusyWork::Scope> busy;
    if (text.size() > kLargeValue || value.size() > kLargeValue) {
        busy.emplace(m_busy);
    }
    value = std::move(text);
    m_judged.box(box) = contrastValue(value);
    updateLook(box);
    // The text colours drawn on a background are judged against it, and a hidden slot's text
    // colour is told in its backgrounds' boxes (a shown one in its own, which keeps a key in a
    // text box from looking again at its backgrounds, an address of megabytes among them).
    const bool hidden = box < kSlotCount && !kSlots[static_cast<std::size_t>(box)].shown;
    for (const ContrastPair &pair : kContrastPairs) {
        if (pair.background == box) {
            updateLook(pair.text);
        } else if (pair.text == box && hidden) {
            updateLook(pair.background);
        }
    }
    m_preview.changed();
}

void Form::setValues(StyleValues values) { showValues(std::move(values), false); }

void Form::showValues(StyleValues values, bool everyBox) {
    BusyWork::Scope busy(m_busy);
    for (int box = 0; box < kBoxCount; ++box) {
        // Showing a value clears what the box can take back: a box left alone keeps its typing.
        if (everyBox || m_values.box(box) != values.box(box)) {
            m_values.box(box) = std::move(values.box(box));
            m_judged.box(box) = contrastValue(m_values.box(box));
            m_view.showText(box, m_values.box(box));
        }
    }
    for (int box = 0; box < kBoxCount; ++box) {
        updateLook(box);
    }
    m_preview.changed();
}

void Form::replaceValues(std::optional<StyleValues> values, std::u16string_view what) {
    if (!values || *values == m_values) {
        return;
    }
    m_wholeUndo.record(m_values, *values, what);
    setValues(std::move(*values));
    m_view.showUndo(undoText());
}

std::optional<std::u16string> Form::undoText() const { return m_wholeUndo.text(); }

void Form::undoWhole() {
    if (std::optional<StyleValues> restored = m_wholeUndo.takeBack(m_values)) {
        setValues(std::move(*restored));
        m_view.showUndo(undoText());
    }
}

void Form::putBoxText(int box, const std::u16string &text) {
    m_view.putText(box, text);
    textEdited(box, text);
}

void Form::updateLook(int box) {
    BoxLook look = boxLook(box, m_values.box(box), m_judged);
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
                m_preview.open(m_values);
                break;
            case Command::OpenValues:
                replaceValues(m_valuesFiles.open(m_values), messages::kWholeValuesFile);
                break;
            case Command::SaveValues:
                m_valuesFiles.save(m_values);
                break;
            case Command::PickColour:
                pickColour(box);
                break;
            case Command::Import:
                replaceValues(m_import.fromClipboard(m_values), messages::kWholeImport);
                break;
            case Command::MakeImage:
                makeImage(box);
                break;
            case Command::UndoWhole:
                undoWhole();
                break;
            case Command::PaletteFromColour:
                paletteFromColour();
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
    replaceValues(cleared, messages::kWholeClear);
}

void Form::openShopLink() {
    if (!m_services.urlOpener.open(m_shopUrl)) {
        m_services.messages.inform(std::u16string(messages::kLinkFailedCaption),
                                   std::u16string(messages::kLinkFailedPrompt) + text16(m_shopUrl));
    }
}

void Form::refreshPreview() {
    run([this] { m_preview.refresh(m_values); });
}

void Form::filesDropped(const std::vector<std::filesystem::path> &files, int box) {
    // A drop while a dialog of the window is open would change the values under its question.
    if (files.empty() || busy()) {
        return;
    }
    run([this, &files, box] {
        DropOutcome outcome = m_drops.take(files, takesImage(box), m_values);
        if (outcome.address) {
            putBoxText(box, *outcome.address);
        }
        replaceValues(std::move(outcome.values), outcome.what);
    });
}

void Form::pickColour(int box) {
    if (box < 0 || box >= kBoxCount) {
        return;
    }
    // A colour box starts at its own colour or white; an image box, which most often holds an
    // address, at its own colour or the one chosen last, to give the bar's backgrounds alike.
    const std::optional<Rgb> named = shownColour(m_values.box(box));
    const Rgb otherwise = isColourBox(box) ? Rgb{255, 255, 255} : m_lastColour;
    if (const std::optional<Rgb> chosen =
            m_services.dialogs.chooseColour(named.value_or(otherwise))) {
        m_lastColour = *chosen;
        putBoxText(box, hexColour(*chosen));
    }
}

void Form::makeImage(int box) {
    if (!takesImage(box)) {
        return;
    }
    if (const std::optional<std::u16string> address = m_backgrounds.make(box, m_lastColour)) {
        putBoxText(box, *address);
    }
}

void Form::applyPalette(int index) {
    run([this, index] {
        const std::span<const Palette> palettes = builtInPalettes();
        if (index < 0 || static_cast<std::size_t>(index) >= palettes.size()) {
            return;
        }
        StyleValues values = m_values;
        velmora::applyPalette(palettes[static_cast<std::size_t>(index)], values);
        replaceValues(values, messages::kWholePalette);
    });
}

void Form::paletteFromColour() {
    if (const std::optional<Rgb> chosen = m_services.dialogs.chooseColour(m_lastColour)) {
        m_lastColour = *chosen;
        StyleValues values = m_values;
        velmora::applyPalette(paletteFrom(*chosen), values);
        replaceValues(values, messages::kWholePalette);
    }
}

void Form::run(const std::function<void()> &command) {
    struct Running {
        int &count;
        explicit Running(int &c) : count(++c) {}
        ~Running() { --count; }
        Running(const Running &) = delete;
        Running &operator=(const Running &) = delete;
    } running(m_running);
    BusyWork::Scope busy(m_busy);
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

}  // namespace velmora
