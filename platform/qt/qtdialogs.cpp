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
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdU16String(caption), QString(),
                       filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        // A name typed without an extension gets .txt, so that the open dialog's filter shows it.
        dialog.setDefaultSuffix(QStringLiteral("txt"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdU16String());
}

}  // namespace velmora
