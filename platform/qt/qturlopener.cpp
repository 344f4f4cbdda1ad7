#include "qturlopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

bool QtUrlOpener::open(const std::string &url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    return address.isValid() && QDesktopServices::openUrl(address);
}

}  // namespace velmora
