// Large values in the window, on a real display and clipboard: a value of 10 Mi characters is
// pasted into a box, which keeps the focus. Reports the paste, the processor time the window
// uses while nothing happens, the time from a click on Generate to its message, and the peak
// memory, as a multiple of the generated code's size (targets: no processor time while idle,
// the message within one second, memory within a small multiple of the code).
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "messagewatcher.h"
#include "qtbenchwindow.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

/** Lets the window run, waiting for events as it does between the user's actions. */
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setFont(velmora::MainWindow::uiFont());
    velmora::bench::QtBenchWindow bench;
    velmora::MainWindow &window = bench.window;
    window.show();
    idle(300);
    const double baseMiB = peakMiB();

    const qsizetype size = argc > 1 ? QString(argv[1]).toLongLong() : 10 * 1024 * 1024;
    QApplication::clipboard()->setText(QString(size, QLatin1Char('a')));
    auto *box = qobject_cast<QLineEdit *>(window.control("Text4(1)"));
    box->setFocus();
    QElapsedTimer pasting;
    pasting.start();
    box->selectAll();
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);  // as the user pastes
    QApplication::sendEvent(box, &paste);
    QApplication::processEvents();
    const double pasteMs = static_cast<double>(pasting.nsecsElapsed()) / 1e6;

    const double idleStart = cpuSeconds();
    idle(3000);
    const double idleCpu = (cpuSeconds() - idleStart) / 3.0;

    MessageWatcher watcher;
    app.installEventFilter(&watcher);
    watcher.clock.start();
    qobject_cast<QPushButton *>(window.control("Command2"))->click();
    const double codeMiB =
        static_cast<double>(window.form().output().size() * sizeof(char16_t)) / (1024.0 * 1024.0);
    const double peak = peakMiB();
    std::printf(
        "%lld characters in a box: paste %.0f ms; idle %.0f%% of a core (target 0); click to "
        "message %.0f ms (target < 1000); peak memory %.0f MiB, %.0f MiB over the window's start, "
        "%.1f times the code's %.0f MiB (UTF-16)\n",
        static_cast<long long>(size), pasteMs, idleCpu * 100,
        watcher.latenciesMs.empty() ? -1.0 : watcher.latenciesMs.back(), peak, peak - baseMiB,
        (peak - baseMiB) / codeMiB, codeMiB);
    const bool ok =
        idleCpu < 0.05 && !watcher.latenciesMs.empty() && watcher.latenciesMs.back() < 1000;
    return ok ? 0 : 1;
}
