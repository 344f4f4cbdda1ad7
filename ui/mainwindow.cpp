#include "mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "ui/captionframe.h"
#include "ui/linklabel.h"

namespace velmora {

namespace {

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

}  // namespace

MainWindow::MainWindow(Clipboard &clipboard, MessageBoxes &messages, UrlOpener &urlOpener,
                       const Screen &screen, std::string shopUrl, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_commands(clipboard, messages, urlOpener, std::move(shopUrl)),
      m_screen(screen),
      m_values(startValues()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(kWindowCaption));
    setWindowIcon(QIcon(QStringLiteral(":/icons/velmora-64.png")));
    setFont(uiFont());
    setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
    buildControls();
    setUpTabOrder();
    showValues(m_values);
    m_controls.at("Command2")->setFocus(Qt::OtherFocusReason);
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
        m_controls[id] = widget;
    }
}

QWidget *MainWindow::buildControl(const ControlDef &def, QWidget *container) {
    const QString text = toQString(def.text);
    switch (def.kind) {
        case ControlKind::Frame:
            return new CaptionFrame(text, textColour(def.colour), container);
        case ControlKind::Label: {
            QLabel *label = nullptr;
            if (def.name == "Label3") {
                auto *link = new LinkLabel(text, container);
                connect(link, &LinkLabel::clicked, this,
                        [this] { m_commands.run([this] { openShopLink(); }); });
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
            auto *box = new QLineEdit(text, container);
            // A line edit cuts at 32767 characters unless told otherwise.
            box->setMaxLength(std::numeric_limits<int>::max());
            if (def.name == "Text4") {
                m_slotBoxes[static_cast<std::size_t>(def.index - 1)] = box;
            }
            for (std::size_t i = 0; i < kImageBoxes.size(); ++i) {
                if (kImageBoxes[i].name == def.name) {
                    m_imageBoxes[i] = box;
                }
            }
            return box;
        }
        case ControlKind::Button: {
            auto *button = new QPushButton(text, container);
            // Enter presses a focused button on every desktop, as Space does.
            button->setAutoDefault(true);
            if (def.name == "Command2") {
                connect(button, &QPushButton::clicked, this,
                        [this] { m_commands.run([this] { generate(); }); });
            } else if (def.name == "Command1") {
                connect(button, &QPushButton::clicked, this,
                        [this] { m_commands.run([this] { clear(); }); });
            }
            return button;
        }
    }
    return nullptr;
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

StyleValues MainWindow::values() const {
    StyleValues values = m_values;
    for (std::size_t i = 0; i < m_slotBoxes.size(); ++i) {
        if (m_slotBoxes[i] != nullptr) {
            values.slots[i] = m_slotBoxes[i]->text().toStdU16String();
        }
    }
    for (std::size_t i = 0; i < m_imageBoxes.size(); ++i) {
        values.images[i] = m_imageBoxes[i]->text().toStdU16String();
    }
    return values;
}

void MainWindow::showValues(const StyleValues &values) {
    m_values = values;
    for (std::size_t i = 0; i < m_slotBoxes.size(); ++i) {
        if (m_slotBoxes[i] != nullptr) {
            m_slotBoxes[i]->setText(toQString(values.slots[i]));
            m_slotBoxes[i]->setCursorPosition(0);
        }
    }
    for (std::size_t i = 0; i < m_imageBoxes.size(); ++i) {
        m_imageBoxes[i]->setText(toQString(values.images[i]));
        m_imageBoxes[i]->setCursorPosition(0);
    }
}

void MainWindow::centreOnScreen() {
    const QSize outer = frameGeometry().size();
    const Point corner = centredTopLeft(m_screen, outer.width(), outer.height());
    move(corner.x, corner.y);
}

void MainWindow::generate() { m_commands.generate(values(), m_output); }

void MainWindow::clear() {
    StyleValues current = values();
    if (m_commands.clear(current)) {
        showValues(current);
    }
}

void MainWindow::openShopLink() { m_commands.openShopLink(); }

}  // namespace velmora
