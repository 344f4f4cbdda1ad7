#pragma once

// The window's behaviour, written once for both toolkits.
//
// The Form owns every value of the window (all eighteen slots, the hidden ones included, and the
// three image boxes), the last generated text and every command. A toolkit window (Qt on Linux,
// Win32 on Windows) builds its native controls from the window table, implements FormView to
// show what the form tells it, and forwards each event to the form: a click by the control's
// role, an edit with the box's new text, a menu item or shortcut as a Command, dropped files.
// Form::run() is the one place that reports an unexpected failure; no command ends the program
// or changes a box that the user did not ask to change.

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/generator.h"
#include "core/valuecheck.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/messageboxes.h"
#include "platform/urlopener.h"
#include "ui/backgrounds.h"
#include "ui/boxlook.h"
#include "ui/busywork.h"
#include "ui/clipboardcopy.h"
#include "ui/codeimport.h"
#include "ui/commands.h"
#include "ui/drops.h"
#include "ui/previewfollower.h"
#include "ui/shortenedtext.h"
#include "ui/valuesfiles.h"
#include "ui/wholeundo.h"

namespace velmora {

/** What the form asks of the toolkit window. */
class FormView {
public:
    virtual ~FormView() = default;

    /**
     * Shows text in the box with that number, as its new value with no typing to take back; a box
     * the window does not show ignores it.
     */
    virtual void showText(int box, const std::u16string &text) = 0;

    /**
     * Puts text into the box for the owner (a picked colour, a made or dropped image) as an edit
     * of the box that Ctrl+Z in it takes back, as it takes back typing. The form takes the
     * text as it takes an edit, whether or not the window reports it as one.
     */
    virtual void putText(int box, const std::u16string &text) { showText(box, text); }

    /** Gives the box its look: background, text colour, tooltip and red frame. */
    virtual void showLook(int box, const BoxLook &look) = 0;

    /** Asks for one call of Form::refreshPreview() a moment from now (a fifth of a second). */
    virtual void schedulePreviewRefresh() = 0;

    /**
     * What the window's undo entry for whole-form changes says now (Form::undoText()): nothing
     * when there is nothing to take back and the entry is greyed. A window that builds its menu
     * when it opens can ask the form instead.
     */
    virtual void showUndo(const std::optional<std::u16string> &text) { (void)text; }

    /**
     * Shows that the window is at work and cannot answer (a busy cursor), or no longer is;
     * lifted while a message box or dialog of the form waits for the owner.
     */
    virtual void showBusy(bool busy) { (void)busy; }
};

/** The platform services the form works through; borrowed, they must outlive it. */
struct FormServices {
    Clipboard &clipboard;
    MessageBoxes &messages;
    UrlOpener &urlOpener;
    Dialogs &dialogs;
};

/** The window's values and commands, independent of the toolkit. */
class Form final {
public:
    /** Starts with the start values; nothing is shown until start(). */
    Form(FormView &view, FormServices services, std::string shopUrl);

    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    /** Shows every box's text and look in the view. */
    void start();

    /** What every box holds now, the hidden ones included. */
    const StyleValues &values() const { return m_values; }

    /** The text the last Generate produced. */
    const std::u16string &output() const { return m_output; }

    /** The look the box has now. */
    const BoxLook &look(int box) const { return m_looks.at(static_cast<std::size_t>(box)); }

    /**
     * The text of the window's entry that takes back the last change of the whole form, saying
     * which ("撤销整体修改（清空）"); nothing when there is none to take back.
     */
    std::optional<std::u16string> undoText() const;

    /** The preview page, once the preview has been opened. */
    const std::optional<std::filesystem::path> &previewFile() const { return m_preview.file(); }

    /** The user changed a box's text: the form keeps it and updates the box's look. */
    void textEdited(int box, std::u16string text);

    /**
     * Carries out a command through run(). @param box the box whose menu asked for it, or -1;
     * PickColour needs a box (a colour box's dialog starts at its colour or white, an image
     * box's at its colour or the colour chosen last) and MakeImage an image box; they do
     * nothing for others.
     */
    void trigger(Command command, int box = -1);

    /**
     * Fills the boxes a palette sets with the built-in palette of that index (builtInPalettes()),
     * through run(), as one change of the whole form that the undo entry takes back; every other
     * box keeps its value. Nothing for an index that names no palette.
     */
    void applyPalette(int index);

    /** Whether a box takes only colours; every box's menu offers the colour dialog. */
    static bool isColourBox(int box);

    /** Whether a box takes an image address, so that its menu offers to make a background. */
    static bool takesImage(int box);

    /**
     * The name proposed for a background made for the box: what it is for and the colour, as
     * "导航背景-FF6600.png".
     */
    static std::u16string imageFileName(int box, Rgb colour) {
        return Backgrounds::fileName(box, colour);
    }

    /**
     * Files dropped on the window, taken as Drops::take says: a PNG, JPEG or GIF image (by its
     * first bytes) dropped on an image box gives that box its file:/// address; elsewhere one
     * values file or navigation code (".css") is loaded; one message tells what was not taken.
     * Nothing is taken while the form is busy(). @param box the box the files were dropped on,
     * or -1 for elsewhere on the window.
     */
    void filesDropped(const std::vector<std::filesystem::path> &files, int box = -1);

    /**
     * Rewrites the open preview page if a box changed since it was written. When its folder is
     * gone or no longer the window's own, the preview stops following, without a message; the
     * next Preview makes a new folder.
     */
    void refreshPreview();

    /**
     * Sets every value, as after loading a values file, and shows the boxes whose value
     * changes: the others keep their typing to take back.
     */
    void setValues(StyleValues values);

    /**
     * Whether one of the window's commands is under way, which may be showing a dialog of the
     * window (a question, a message, a colour or file dialog): files dropped meanwhile are not
     * taken.
     */
    bool busy() const { return m_running > 0; }

    /**
     * Runs one of the window's commands. The one place where an unexpected failure (an
     * exception) is caught: it is reported in a message box that says nothing was lost, and
     * the window carries on.
     */
    void run(const std::function<void()> &command);

private:
    void generate();
    void clear();
    void openShopLink();
    void pickColour(int box);
    void makeImage(int box);
    void paletteFromColour();
    /** Puts a value into the box for the owner, as an edit Ctrl+Z in the box takes back. */
    void putBoxText(int box, const std::u16string &text);
    /** Sets the values and shows them: every box's, or only those whose value changes. */
    void showValues(StyleValues values, bool everyBox);
    /** Sets every value when there are new ones, remembered so that undoWhole() takes it back. */
    void replaceValues(std::optional<StyleValues> values, std::u16string_view what);
    void undoWhole();
    void updateLook(int box);
    void reportFailure(const std::string &reason);

    FormView &m_view;
    BusyWork m_busy;          // the form's messages and dialogs go through it
    FormServices m_services;  // with m_busy for messages and dialogs
    std::string m_shopUrl;
    StyleValues m_values;
    std::u16string m_output;
    std::array<BoxLook, kBoxCount> m_looks{};
    StyleValues m_judged;  // contrastValue() of each value: what other boxes' looks read
    PreviewFollower m_preview;
    ValuesFiles m_valuesFiles;
    CodeImport m_import;
    Backgrounds m_backgrounds;
    Drops m_drops;
    WholeUndo m_wholeUndo;
    Rgb m_lastColour{255, 255, 255};  // where the next colour dialog starts
    int m_running = 0;                // commands under way, one within another
};

}  // namespace velmora
