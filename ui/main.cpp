#include <QApplication>

#include "platform/qtclipboard.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtscreen.h"
#include "platform/qturlopener.h"
#include "ui/mainwindow.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.Velmora"));
    QApplication::setFont(velmora::MainWindow::uiFont());

    velmora::QtClipboard clipboard;
    velmora::QtMessageBoxes messages;
    velmora::QtUrlOpener urlOpener;
    velmora::QtScreen screen;
    velmora::MainWindow window(clipboard, messages, urlOpener, screen, VELMORA_SHOP_URL);
    window.centreOnScreen();
    window.show();
    // Leaving through exec() lets Qt hand the copied text to the clipboard manager on exit.
    return QApplication::exec();
}
