#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTranslator>
#include <QUrl>

#include "core/palettes.h"
#include "ui/paletteswatch.h"
#include "ui/qt/boxedit.h"
#include "ui/qt/captionframe.h"
#include "ui/qt/frameextents.h"
#include "ui/qt/linklabel.h"
#include "velmora_config.h"

namespace velmora {

namespace {

constexpr int kPreviewDelayMs = 200;

QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

QRect pixelGeometry(const ControlDef &control) {
    return {pixels(control.left), pixels(control.top), pixels(control.width),
            pixels(control.height)};
}

QColor textColour(TextColour colour) {
    switch (colour) {
        case TextColour::Blue:
            return Qt::blue;
        case TextColour::Red:
            return Qt::red;
        case TextColour::Normal:
            break;
    }
    return QApplication::palette().color(QPalette::WindowText);
}

QColor toQColor(Rgb colour) { return {colour.red, colour.green, colour.blue}; }

/** The local files among dropped data. */
std::vector<std::filesystem::path> localFiles(const QMimeData *data) {
    std::vector<std::filesystem::path> files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile()) {
            files.emplace_back(url.toLocalFile().toStdU16String());
        }
    }
    return files;
}

/**
 * A palette's swatch (paletteswatch.h; no palette: 按主色生成…'s), in the sizes a menu draws its
 * icons at.
 */
QIcon swatchIcon(const Palette *palette) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QImage image(size, size, QImage::Format_RGB32);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                image.setPixelColor(x, y, toQColor(swatchPixel(palette, x, y, size, size)));
            }
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace

MainWindow::MainWindow(FormServices services, const Screen &screen, std::string shopUrl,
                       QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_form(*this, services, std::move(shopUrl)),
      m_screen(screen) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(kWindowCaption));
    setWindowIcon(windowIcon());
    setFont(uiFont());
    setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
    setAcceptDrops(true);
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(kPreviewDelayMs);
    connect(&m_previewTimer, &QTimer::timeout, this, [this] { m_form.refreshPreview(); });
    buildControls();
    buildShortcuts();
    setUpTabOrder();
    m_form.start();
    m_controls.at("Command2")->setFocus(Qt::OtherFocusReason);
}

QIcon MainWindow::windowIcon() {
    // Each size is decoded only when the desktop asks for it.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/velmora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QFont MainWindow::uiFont() {
#ifdef Q_OS_WIN
    QFont font(QStringList{QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")});
#else
    QFont font(QStringLiteral("Noto Sans CJK SC"));
#endif
    font.setPixelSize(12);
    return font;
}

bool MainWindow::useChineseQtTexts() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void MainWindow::prepareApplication() {
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.Velmora"));
    QApplication::setFont(uiFont());
    useChineseQtTexts();
}

QWidget *MainWindow::control(const std::string &id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void MainWindow::buildControls() {
    for (const ControlDef &def : windowControls()) {
        if (!def.visible) {
            continue;
        }
        QWidget *container =
            def.container.empty() ? this : m_controls.at(std::string(def.container));
        QWidget *widget = buildControl(def, container);
        const std::string id = controlId(def);
        widget->setObjectName(QString::fromStdString(id));
        widget->setGeometry(pixelGeometry(def));
        if (def.colour != TextColour::Normal && def.kind != ControlKind::Frame) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, textColour(def.colour));
            widget->setPalette(palette);
        }
        widget->setAccessibleName(toQString(velmora::accessibleName(def)));
        m_controls[id] = widget;
    }
    // A prompt also names its box for the desktop's accessibility (a labelled-by relation).
    for (const ControlDef &def : windowControls()) {
        if (const ControlDef *prompt = def.visible ? promptOf(def) : nullptr) {
            static_cast<QLabel *>(m_controls.at(controlId(*prompt)))
                ->setBuddy(m_controls.at(controlId(def)));
        }
    }
}

QWidget *MainWindow::buildControl(const ControlDef &def, QWidget *container) {
    const QString text = toQString(def.text);
    switch (def.kind) {
        case ControlKind::Frame:
            return new CaptionFrame(text, textColour(def.colour), container);
        case ControlKind::Label: {
            QLabel *label = nullptr;
            if (def.role == Role::ShopLink) {
                auto *link = new LinkLabel(text, container);
                connect(link, &LinkLabel::clicked, this,
                        [this] { m_form.trigger(Command::ShopLink); });
                label = link;
            } else {
                label = new QLabel(text, container);
            }
            label->setTextFormat(Qt::PlainText);
            label->setAlignment((def.align == TextAlign::Right ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter);
            return label;
        }
        case ControlKind::TextBox:
        case ControlKind::MultiLineTextBox: {
            const int box = def.box;
            auto *edit =
                new BoxEdit([this, box](QMenu &menu) { addMenuEntries(menu, box); }, container);
            edit->setValue(text);
            if (def.role == Role::Box) {
                m_boxes.at(static_cast<std::size_t>(box)) = edit;
                connect(edit, &BoxEdit::valueEdited, this, [this, box](const QString &value) {
                    m_form.textEdited(box, value.toStdU16String());
                });
                connect(edit, &BoxEdit::doubleClicked, this,
                        [this, box] { m_form.trigger(Command::PickColour, box); });
            }
            return edit;
        }
        case ControlKind::Button: {
            auto *button = new QPushButton(text, container);
            // Enter presses a focused button on every desktop, as Space does.
            button->setAutoDefault(true);
            const Command command = def.role == Role::Clear ? Command::Clear : Command::Generate;
            connect(button, &QPushButton::clicked, this,
                    [this, command] { m_form.trigger(command); });
            return button;
        }
    }
    return nullptr;
}

void MainWindow::buildShortcuts() {
    // The window's own actions: its context menu outside the boxes, and shortcuts that work
    // wherever the focus is.
    for (const MenuEntry &entry : kMenuEntries) {
        auto *action = new QAction(toQString(entry.text), this);
        action->setShortcut(QKeySequence(QString::fromLatin1(entry.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        const Command command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { m_form.trigger(command); });
        addAction(action);
    }
    addAction(buildPaletteMenu()->menuAction());
    m_undoWhole = new QAction(toQString(kUndoWholeEntry.text), this);
    m_undoWhole->setShortcut(QKeySequence(QString::fromLatin1(kUndoWholeEntry.keys)));
    m_undoWhole->setShortcutContext(Qt::WindowShortcut);
    m_undoWhole->setEnabled(false);
    connect(m_undoWhole, &QAction::triggered, this, [this] { m_form.trigger(Command::UndoWhole); });
    addAction(m_undoWhole);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void MainWindow::addMenuEntries(QMenu &menu, int box) {
    // The same entries as the window's actions; their shortcuts are shown, and handled there.
    for (QAction *action : actions()) {
        menu.addAction(action);
    }
    if (Form::isColourBox(box) || Form::takesImage(box)) {
        menu.addAction(toQString(kPickColourEntry.text), this,
                       [this, box] { m_form.trigger(Command::PickColour, box); });
    }
    if (Form::takesImage(box)) {
        menu.addAction(toQString(kMakeImageEntry.text), this,
                       [this, box] { m_form.trigger(Command::MakeImage, box); });
    }
}

QMenu *MainWindow::buildPaletteMenu() {
    auto *menu = new QMenu(toQString(kPaletteMenuText), this);
    menu->setObjectName(QStringLiteral("palettes"));
    const std::span<const Palette> palettes = builtInPalettes();
    for (std::size_t i = 0; i < palettes.size(); ++i) {
        const int index = static_cast<int>(i);
        menu->addAction(swatchIcon(&palettes[i]), toQString(palettes[i].name), this,
                        [this, index] { m_form.applyPalette(index); });
    }
    menu->addSeparator();
    menu->addAction(swatchIcon(nullptr), toQString(kPaletteFromColourEntry.text), this,
                    [this] { m_form.trigger(Command::PaletteFromColour); });
    return menu;
}

void MainWindow::setUpTabOrder() {
    const std::vector<const ControlDef *> order = tabOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        QWidget *from = m_controls.at(controlId(*order[i]));
        QWidget *to = m_controls.at(controlId(*order[(i + 1) % order.size()]));
        from->setFocusPolicy(Qt::StrongFocus);
        setTabOrder(from, to);
    }
}

void MainWindow::showUndo(const std::optional<std::u16string> &text) {
    m_undoWhole->setText(toQString(text ? std::u16string_view(*text) : kUndoWholeEntry.text));
    m_undoWhole->setEnabled(text.has_value());
}

void MainWindow::showText(int box, const std::u16string &text) {
    if (BoxEdit *edit = m_boxes.at(static_cast<std::size_t>(box))) {
        edit->setValue(toQString(text));
    }
}

void MainWindow::putText(int box, const std::u16string &text) {
    if (BoxEdit *edit = m_boxes.at(static_cast<std::size_t>(box))) {
        edit->putValue(toQString(text));
    }
}

void MainWindow::showLook(int box, const BoxLook &look) {
    BoxEdit *edit = m_boxes.at(static_cast<std::size_t>(box));
    if (edit == nullptr) {
        return;
    }
    QPalette palette = QApplication::palette(edit);
    if (look.background) {
        palette.setColor(QPalette::Base, toQColor(*look.background));
        palette.setColor(QPalette::Text, toQColor(look.text));
    }
    edit->setPalette(palette);
    edit->setMarked(look.marked);
    edit->setToolTip(toQString(look.tooltip));
    edit->setAccessibleDescription(toQString(look.description));
}

void MainWindow::schedulePreviewRefresh() { m_previewTimer.start(); }

void MainWindow::showBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::centreOnScreen() {
    const QMargins frame = expectedFrameMargins(this);
    const Rect available = m_screen.availableGeometry();
    const QSize room(available.width - frame.left() - frame.right(),
                     available.height - frame.top() - frame.bottom());
    if (available.width > 0 && available.height > 0 &&
        (width() > room.width() || height() > room.height())) {
        scrollWithin(room);
    }
    const Point corner =
        centredTopLeft(m_screen.geometry(), available, width() + frame.left() + frame.right(),
                       height() + frame.top() + frame.bottom());
    // The window's own position is that of its client area until the frame is known.
    move(corner.x + frame.left(), corner.y + frame.top());
}

void MainWindow::scrollWithin(QSize room) {
    if (m_scrollArea != nullptr) {
        return;
    }
    // The controls keep their places on a page of the window's full size, which scrolls.
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    page->setFixedSize(size());
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        child->setParent(page);
        child->show();
    }
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidget(page);
    setFixedSize(size().boundedTo(room.expandedTo(QSize(160, 120))));
    m_scrollArea->setGeometry(rect());
    m_controls.at("Command2")->setFocus(Qt::OtherFocusReason);  // moving the controls took it
    m_scrollArea->ensureWidgetVisible(m_controls.at("Command2"));
    QScrollArea *area = m_scrollArea;
    connect(qApp, &QApplication::focusChanged, area, [area](QWidget *, QWidget *now) {
        if (now != nullptr && area->widget() != nullptr && area->widget()->isAncestorOf(now)) {
            area->ensureWidgetVisible(now);
        }
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
    // Not while a dialog of the window is open: the form takes no drop then.
    if (!m_form.busy() && !localFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent *event) {
    const std::vector<std::filesystem::path> files = localFiles(event->mimeData());
    if (!files.empty() && !m_form.busy()) {
        event->acceptProposedAction();
        m_form.filesDropped(files, boxAt(event->position().toPoint()));
    }
}

int MainWindow::boxAt(QPoint point) const {
    for (QWidget *widget = childAt(point); widget != nullptr && widget != this;
         widget = widget->parentWidget()) {
        for (std::size_t box = 0; box < m_boxes.size(); ++box) {
            if (m_boxes[box] == widget) {
                return static_cast<int>(box);
            }
        }
    }
    return -1;
}

}  // namespace velmora
