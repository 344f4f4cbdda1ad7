#include "qtmessageboxes.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMessageBox>

namespace velmora {

namespace {

/** Message boxes reach the desktop's accessibility as alerts, to be read out as they show. */
QAccessibleInterface *alertAccessible(const QString &, QObject *object) {
    auto *box = qobject_cast<QMessageBox *>(object);
    return box != nullptr ? new QAccessibleWidget(box, QAccessible::AlertMessage) : nullptr;
}

int exec(const std::u16string &caption, const std::u16string &prompt,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
         QMessageBox::StandardButton escapeButton) {
    static const bool installed = [] {
        QAccessible::installFactory(&alertAccessible);
        return true;
    }();
    (void)installed;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(caption),
                    QString::fromStdU16String(prompt), buttons, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("velmoraMessageBox"));
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    box.setAccessibleName(QString::fromStdU16String(caption));
    box.setAccessibleDescription(QString::fromStdU16String(prompt));
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
