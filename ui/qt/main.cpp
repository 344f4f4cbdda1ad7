#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>

#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtscreen.h"
#include "platform/qt/qturlopener.h"
#include "ui/qt/mainwindow.h"
#include "velmora_config.h"

namespace {

int quitPipe[2] = {-1, -1};

void askToQuit(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(quitPipe[1], &byte, 1);
}

/**
 * Ends the program through the event loop on SIGTERM, SIGINT or SIGHUP (a session ending, a
 * terminal closing), so that the window closes as usual and removes its preview page.
 */
void quitOnSignals(QApplication &app) {
    if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto *notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QApplication::quit);
    struct sigaction action {};
    action.sa_handler = &askToQuit;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    velmora::MainWindow::prepareApplication();
    quitOnSignals(app);

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
