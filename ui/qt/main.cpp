#include <QApplication>

#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtscreen.h"
#include "platform/qt/qturlopener.h"
#include "ui/qt/mainwindow.h"
#include "velmora_config.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.velmora.Velmora"));
    QApplication::setFont(velmora::MainWindow::uiFont());

    velmora::QtClipboard clipboard;
    velmora::QtMessageBoxes messages;
    velmora::QtUrlOpener urlOpener;
    velmora::QtDialogs dialogs;
    velmora::QtScreen screen;
    velmora::MainWindow window({clipboard, messages, urlOpener, dialogs}, screen, VELMORA_SHOP_URL);
    window.centreOnScreen();
    window.show();
    // Leaving through exec() lets Qt hand the copied text to the clipboard manager on exit.
    return QApplication::exec();
}
