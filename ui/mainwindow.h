#pragma once

// The Velmora window.
//
// The window is defined once, as data, in windowtable.h: every control with its container,
// geometry in twips, tab index, visibility, caption and colour. MainWindow builds the visible
// controls from that table with Qt widgets. The hidden slot boxes, the template and the output
// are plain values here (m_values, m_output), not widgets.
//
// The window does no work of its own: each click turns the boxes' text into StyleValues and
// calls WindowCommands (generate, clear, shop link), which talks to the platform through the
// interfaces in platform/ and tells the user the outcome. WindowCommands::run() is the one place
// that reports an unexpected failure; nothing a click does ends the program or loses a box's text.

#include <QWidget>
#include <array>
#include <map>
#include <string>

#include "core/generator.h"
#include "platform/screen.h"
#include "ui/windowcommands.h"
#include "ui/windowtable.h"

class QLineEdit;

namespace velmora {

/** The program's one window. */
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    /**
     * Builds the window with its start values. The platform services are borrowed and must
     * outlive the window; shopUrl is the address the shop link opens.
     */
    MainWindow(Clipboard &clipboard, MessageBoxes &messages, UrlOpener &urlOpener,
               const Screen &screen, std::string shopUrl, QWidget *parent = nullptr);

    /** The font the window and its messages use: one that has the Chinese glyphs. */
    static QFont uiFont();

    /** The widget built for the control with that id ("Text4(1)"), or nullptr if it is hidden. */
    QWidget *control(const std::string &id) const;

    /** What every box holds now, the hidden ones included. */
    StyleValues values() const;

    /** The text the last Generate produced. */
    const std::u16string &output() const { return m_output; }

    /** Moves the window to the centre of the screen, its title bar kept on the screen. */
    void centreOnScreen();

private:
    void buildControls();
    QWidget *buildControl(const ControlDef &control, QWidget *container);
    void setUpTabOrder();
    void showValues(const StyleValues &values);

    void generate();
    void clear();
    void openShopLink();

    WindowCommands m_commands;
    const Screen &m_screen;
    StyleValues m_values;  // every slot; the visible ones are refreshed from their boxes
    std::u16string m_output;
    std::map<std::string, QWidget *> m_controls;
    std::array<QLineEdit *, kSlotCount> m_slotBoxes{};
    std::array<QLineEdit *, kImageBoxCount> m_imageBoxes{};
};

}  // namespace velmora
