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
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/generator.h"
#include "core/valuecheck.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/messageboxes.h"
#include "platform/urlopener.h"

namespace velmora {

/** How handing the generated text to the clipboard went. */
struct CopyResult {
    bool copied = false;  ///< the clipboard read back exactly the text that was set
    int attempts = 0;
};

/** Attempts made at most before a copy counts as failed. */
inline constexpr int kMaxCopyAttempts = 10000;

/** How long the attempts may take in all before a copy counts as failed. */
inline constexpr std::chrono::milliseconds kMaxCopyTime{1000};

/**
 * Puts text on the clipboard: clear, set, read back, repeated until the read-back equals text,
 * for at most maxAttempts attempts and no new attempt once timeLimit has passed. A clipboard
 * operation that reports a failure ends the copy at once, as failed. Ends with
 * Clipboard::copyFinished(), however it ends.
 */
CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text,
                           int maxAttempts = kMaxCopyAttempts,
                           std::chrono::milliseconds timeLimit = kMaxCopyTime);

/** What the user can ask of the window besides its buttons. */
enum class Command {
    Generate,
    Clear,
    ShopLink,
    Preview,     ///< show the bar in the browser, following later changes
    OpenValues,  ///< load a values file chosen in the system's dialog
    SaveValues,  ///< save every value to a file chosen in the system's dialog
    PickColour,  ///< choose a colour box's colour in the system's dialog
    Import,      ///< read the navigation code on the clipboard back into the boxes
    MakeImage,   ///< make an image box's background from a colour, saved as a PNG
};

/** How many commands there are: Command values run from 0 to kCommandCount - 1. */
inline constexpr int kCommandCount = static_cast<int>(Command::MakeImage) + 1;

/** An entry of the window's menus, with its shortcut. */
struct MenuEntry {
    Command command;
    std::u16string_view text;  ///< the menu text
    std::string_view keys;     ///< the shortcut, as "F5" or "Ctrl+S"; empty for none
};

/** The entries of the window's context menu and of each box's menu, below its own entries. */
inline constexpr std::array<MenuEntry, 4> kMenuEntries{{
    {Command::Preview, u"预览", "F5"},
    {Command::Import, u"导入代码", "Ctrl+I"},
    {Command::OpenValues, u"打开方案…", "Ctrl+O"},
    {Command::SaveValues, u"保存方案…", "Ctrl+S"},
}};

/** The entry that colour boxes' menus have besides, also reached by a double click. */
inline constexpr MenuEntry kPickColourEntry{Command::PickColour, u"选择颜色…", ""};

/** The last entry of image boxes' menus, also reached by a double click. */
inline constexpr MenuEntry kMakeImageEntry{Command::MakeImage, u"制作背景图…", ""};

/** How a box looks beyond its text. */
struct BoxLook {
    std::optional<Rgb> background;  ///< nothing: the toolkit's own
    Rgb text;                       ///< the text's colour, where background is set
    std::u16string tooltip;         ///< empty: none
    /// what a screen reader says after the box's name and text: why it is marked, the colour it
    /// shows, or how to choose one
    std::u16string description;
    /// The value looks wrong: the box gets a red frame, a sign that no colour in it can imitate.
    bool marked = false;

    bool operator==(const BoxLook &) const = default;
};

/**
 * The light red of a marked box whose value names no colour; a marked colour box that names
 * one shows that colour.
 */
inline constexpr Rgb kMarkerColour{255, 214, 214};

/** The frame of a marked box, drawn outside the part its background colours. */
inline constexpr Rgb kMarkFrameColour{220, 0, 0};

/**
 * Values longer than this many UTF-16 code units are shown shortened: a box that lays out and
 * paints a value of megabytes costs seconds a keystroke.
 */
inline constexpr std::size_t kLargeValue = 65536;

/**
 * What a box shows for a value longer than kLargeValue, read-only: its beginning and its
 * length. The form keeps the whole value; a box showing this copies the whole value, and
 * typing, pasting or deleting there replaces it whole.
 */
std::u16string shortenedText(std::u16string_view value);

/** What the form asks of the toolkit window. */
class FormView {
public:
    virtual ~FormView() = default;

    /** Shows text in the box with that number; a box the window does not show ignores it. */
    virtual void showText(int box, const std::u16string &text) = 0;

    /** Gives the box its look: background, text colour, tooltip and red frame. */
    virtual void showLook(int box, const BoxLook &look) = 0;

    /** Asks for one call of Form::refreshPreview() a moment from now (a fifth of a second). */
    virtual void schedulePreviewRefresh() = 0;
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
    /** Removes the preview page and its folder, if any. */
    ~Form();

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

    /** The preview page, once the preview has been opened. */
    const std::optional<std::filesystem::path> &previewFile() const { return m_previewFile; }

    /** The user changed a box's text: the form keeps it and updates the box's look. */
    void textEdited(int box, std::u16string text);

    /**
     * Carries out a command through run(). @param box the box whose menu asked for it, or -1;
     * PickColour needs a colour box and MakeImage an image box; they do nothing for others.
     */
    void trigger(Command command, int box = -1);

    /** Whether a box takes colours, so that its menu offers the colour dialog. */
    static bool isColourBox(int box);

    /** Whether a box takes an image address, so that its menu offers to make a background. */
    static bool takesImage(int box);

    /**
     * The name proposed for a background made for the box: what it is for and the colour, as
     * "导航背景-FF6600.png".
     */
    static std::u16string imageFileName(int box, Rgb colour);

    /**
     * Files dropped on the window. A PNG, JPEG or GIF image (by its name) dropped on an image
     * box gives that box its file:/// address. Otherwise the first file is imported as
     * navigation code when its name ends in ".css", and loaded as a values file unless it is
     * an image, which is only told where to go.
     * @param box the box the files were dropped on, or -1 for elsewhere on the window.
     */
    void filesDropped(const std::vector<std::filesystem::path> &files, int box = -1);

    /**
     * Rewrites the open preview page if a box changed since it was written. When its folder is
     * gone or no longer the window's own, the preview stops following, without a message; the
     * next Preview makes a new folder.
     */
    void refreshPreview();

    /** Sets every value and shows it, as after loading a values file. */
    void setValues(const StyleValues &values);

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
    void preview();
    void openValues();
    void saveValues();
    void pickColour(int box);
    void makeImage(int box);
    void setImageFile(int box, const std::filesystem::path &file);
    bool loadValuesFile(const std::filesystem::path &file);
    void importClipboard();
    void importFile(const std::filesystem::path &file);
    void importText(std::string_view utf8, std::u16string_view refusal);
    bool writePreview(bool asked);
    void updateLook(int box);
    void reportFailure(const std::string &reason);
    void reportFileFailure(std::u16string_view caption, std::u16string_view prompt,
                           const std::filesystem::path &file, std::u16string_view reason);
    void reportFileFailure(std::u16string_view caption, std::u16string_view prompt,
                           const std::filesystem::path &file, const FileFailure &why);

    FormView &m_view;
    FormServices m_services;
    std::string m_shopUrl;
    StyleValues m_values;
    std::u16string m_output;
    std::u16string m_previewCss;
    std::string m_previewUtf8;
    std::string m_previewPage;
    std::array<BoxLook, kBoxCount> m_looks{};
    std::unique_ptr<PrivateFolder> m_previewFolder;
    std::optional<std::filesystem::path> m_previewFile;
    bool m_previewStale = false;
    Rgb m_lastColour{255, 255, 255};      // where the next colour dialog starts
    std::filesystem::path m_imageFolder;  // empty: the user's Pictures folder
};

}  // namespace velmora
