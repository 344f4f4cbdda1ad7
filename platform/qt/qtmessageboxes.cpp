#include "qtmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace velmora {

namespace {

int exec(const std::u16string &caption, const std::u16string &prompt,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
         QMessageBox::StandardButton escapeButton) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(caption),
                    QString::fromStdU16String(prompt), buttons, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("velmoraMessageBox"));
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    // Lets the user copy an address out of the message.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QAbstractButton *button : box.buttons()) {
        button->setIcon(QIcon());  // some desktop themes put pictures on dialog buttons
    }
    return box.exec();
}

}  // namespace

void QtMessageBoxes::inform(const std::u16string &caption, const std::u16string &prompt) {
    exec(caption, prompt, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBoxes::askYesNo(const std::u16string &caption, const std::u16string &prompt) {
    return exec(caption, prompt, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace velmora
