#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace velmora {

bool QtClipboard::clear() {
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    return true;
}

bool QtClipboard::setText(const std::u16string &text) {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text), QClipboard::Clipboard);
    return true;
}

std::optional<std::u16string> QtClipboard::text() {
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdU16String();
}

}  // namespace velmora
