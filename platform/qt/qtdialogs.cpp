#include "qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

namespace velmora {

std::optional<Rgb> QtDialogs::chooseColour(Rgb initial) {
    const QColor colour = QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue),
                                                 QApplication::activeWindow());
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

std::optional<std::filesystem::path> QtDialogs::chooseFile(const std::u16string &caption,
                                                           const std::u16string &filter,
                                                           bool save) {
    const QString filters =
        QString::fromStdU16String(filter) + QStringLiteral(";;") + QFileDialog::tr("All Files (*)");
    QWidget *parent = QApplication::activeWindow();
    const QString title = QString::fromStdU16String(caption);
    const QString file = save ? QFileDialog::getSaveFileName(parent, title, QString(), filters)
                              : QFileDialog::getOpenFileName(parent, title, QString(), filters);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(file.toStdU16String());
}

}  // namespace velmora
