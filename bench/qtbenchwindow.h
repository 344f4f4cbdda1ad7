#pragma once

// The Qt window as the program makes it, on the real clipboard, message boxes, dialogs and
// screen, for the benchmarks that time what a user does in it.

#include "platform/qt/qtclipboard.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qtmessageboxes.h"
#include "platform/qt/qtscreen.h"
#include "platform/qt/qturlopener.h"
#include "ui/qt/mainwindow.h"

namespace velmora::bench {

/** The window and the services it borrows, made in the order it needs them; not yet shown. */
struct QtBenchWindow {
    QtClipboard clipboard;
    QtMessageBoxes messages;
    QtUrlOpener urlOpener;
    QtDialogs dialogs;
    QtScreen screen;
    MainWindow window{{clipboard, messages, urlOpener, dialogs}, screen, "https://example.com/"};
};

}  // namespace velmora::bench
