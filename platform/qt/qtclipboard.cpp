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

namespace {

/** Whether another program has taken the clipboard, which is then not asked for its text. */
bool takenByAnotherProgram(const QClipboard &clipboard) {
    // On X11 another program's text is fetched from it, and a program that never answers makes
    // every read wait for Qt's time-out.
    return QGuiApplication::platformName() == QLatin1String("xcb") && !clipboard.ownsClipboard();
}

}  // namespace

std::optional<std::u16string> QtClipboard::text() {
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (takenByAnotherProgram(*clipboard)) {
        return std::u16string();
    }
    return clipboard->text(QClipboard::Clipboard).toStdU16String();
}

std::optional<bool> QtClipboard::holds(const std::u16string &text) {
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (takenByAnotherProgram(*clipboard)) {
        return false;
    }
    return QStringView(clipboard->text(QClipboard::Clipboard)) == QStringView(text);
}

}  // namespace velmora
