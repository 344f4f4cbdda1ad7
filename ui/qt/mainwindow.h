#pragma once

// The Velmora window on Qt Widgets.
//
// The visible controls are built from the window table (windowtable.h), each wired to the form
// where it is created; the form (form.h) owns the values and does all the work. This class only
// shows what the form tells it (FormView) and forwards the user's clicks, edits, menu entries,
// shortcuts and dropped files.

#include <QAction>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <string>

#include "platform/screen.h"
#include "ui/form.h"
#include "ui/windowtable.h"

class QMenu;
class QScrollArea;

namespace velmora {

class BoxEdit;

/** The program's one window. */
class MainWindow final : public QWidget, private FormView {
    Q_OBJECT
public:
    /**
     * Builds the window with its start values. The platform services are borrowed and must
     * outlive the window; shopUrl is the address the shop link opens.
     */
    MainWindow(FormServices services, const Screen &screen, std::string shopUrl,
               QWidget *parent = nullptr);

    /** The font the window and its messages use: one that has the Chinese glyphs. */
    static QFont uiFont();

    /**
     * Gives Qt's own texts (the system's dialogs, a box's edit menu) in Chinese, as the window's
     * own are, whatever the system's language. @return false when Qt's Chinese translations are
     * not installed: those texts then stay in English.
     */
    static bool useChineseQtTexts();

    /**
     * Sets up the running application as the program starts, before its window is made: its
     * name, version and desktop entry, the window's font, and Qt's own texts in Chinese.
     */
    static void prepareApplication();

    /** The widget built for the control with that id ("Text4(1)"), or nullptr if it is hidden. */
    QWidget *control(const std::string &id) const;

    /** The form behind the window. */
    Form &form() { return m_form; }

    /**
     * Moves the window, frame included, to the centre of the screen, its title bar kept on the
     * screen. On a screen too small for it, the window is made to fit and its controls scroll.
     */
    void centreOnScreen();

    /** The window's icon in the sizes a desktop shows. */
    static QIcon windowIcon();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showText(int box, const std::u16string &text) override;
    void putText(int box, const std::u16string &text) override;
    void showLook(int box, const BoxLook &look) override;
    void schedulePreviewRefresh() override;
    void showUndo(const std::optional<std::u16string> &text) override;
    void showBusy(bool busy) override;

    void buildControls();
    QWidget *buildControl(const ControlDef &control, QWidget *container);
    void buildShortcuts();
    void addMenuEntries(QMenu &menu, int box);
    /** The palettes' submenu of the window's context menu, whose entries fill the form. */
    QMenu *buildPaletteMenu();
    void setUpTabOrder();
    void scrollWithin(QSize room);
    /** The box at a point of the window, or -1 where there is none. */
    int boxAt(QPoint point) const;

    Form m_form;
    const Screen &m_screen;
    QTimer m_previewTimer;
    QScrollArea *m_scrollArea = nullptr;  // only on a screen too small for the window
    std::map<std::string, QWidget *> m_controls;
    std::array<BoxEdit *, kBoxCount> m_boxes{};
    QAction *m_undoWhole = nullptr;  // takes back the last change of the whole form
};

}  // namespace velmora
