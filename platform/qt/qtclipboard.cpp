#include "qtclipboard.h"

#include <xcb/xcb.h>

#include <QClipboard>
#include <QGuiApplication>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace velmora {

namespace {

/**
 * Whether the X server says the clipboard belongs to a window of this program's connection,
 * or nothing when this is not X11.
 */
std::optional<bool> ownedOnX11() {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t *connection = x11->connection();
    const char *name = "CLIPBOARD";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr),
        &std::free);
    if (!atom) {
        return false;
    }
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr),
        &std::free);
    if (!owner || owner->owner == XCB_NONE) {
        return false;
    }
    // Every window a connection makes carries that connection's resource base.
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

std::atomic<int> heldBackWarnings{0};
QtMessageHandler previousHandler = nullptr;

void holdBackClipboardWarnings(QtMsgType type, const QMessageLogContext &context,
                               const QString &message) {
    if (type == QtWarningMsg && context.category != nullptr &&
        std::strcmp(context.category, "qt.qpa.clipboard") == 0) {
        ++heldBackWarnings;
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

}  // namespace

QtClipboard::QtClipboard() {
    heldBackWarnings = 0;
    previousHandler = qInstallMessageHandler(&holdBackClipboardWarnings);
}

QtClipboard::~QtClipboard() { qInstallMessageHandler(previousHandler); }

void QtClipboard::copyFinished() {
    if (const int count = heldBackWarnings.exchange(0); count > 0) {
        qWarning(
            "velmora: another program kept taking the clipboard during a copy (%d of "
            "Qt's clipboard warnings left out)",
            count);
    }
}

bool QtClipboard::clear() {
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    return true;
}

bool QtClipboard::setText(const std::u16string &text) {
    auto *data = new QMimeData;  // the clipboard takes it over
    data->setText(QString::fromStdU16String(text));
    m_ours = data;
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    return true;
}

std::optional<std::u16string> QtClipboard::text() {
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdU16String();
}

std::optional<bool> QtClipboard::holds(const std::u16string &text) {
    if (const std::optional<bool> owned = ownedOnX11()) {
        return *owned && !m_ours.isNull() && QStringView(m_ours->text()) == QStringView(text);
    }
    return QStringView(QGuiApplication::clipboard()->text(QClipboard::Clipboard)) ==
           QStringView(text);
}

}  // namespace velmora
