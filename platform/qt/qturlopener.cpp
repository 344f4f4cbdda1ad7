#include "qturlopener.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace velmora {

bool QtUrlOpener::open(const std::string &url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    return address.isValid() && QDesktopServices::openUrl(address);
}

bool QtUrlOpener::openFile(const std::filesystem::path &file, OpenFailure &why) {
    why = {};  // the desktop's opener says nothing of why it failed
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(file.c_str())));
}

}  // namespace velmora
