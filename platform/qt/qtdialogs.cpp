#include "qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace velmora {

namespace {

QString withAllFiles(const std::u16string &filter) {
    return QString::fromStdU16String(filter) + QStringLiteral(";;") +
           QFileDialog::tr("All Files (*)");
}

}  // namespace

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
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdU16String(caption), QString(),
                       withAllFiles(filter));
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

std::optional<std::filesystem::path> QtDialogs::chooseSaveFile(const std::u16string &caption,
                                                               const std::u16string &filter,
                                                               const std::filesystem::path &folder,
                                                               const std::u16string &name) {
    QString start = folder.empty()
                        ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                        : QString::fromStdU16String(folder.u16string());
    if (start.isEmpty() || !QDir(start).exists()) {
        start = QDir::homePath();
    }
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdU16String(caption),
                       QDir(start).filePath(QString::fromStdU16String(name)), withAllFiles(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // "PNG 图片 (*.png)": a name typed without an extension gets "png".
    const QString patterns = QString::fromStdU16String(filter).section(QLatin1Char('('), -1);
    if (patterns.startsWith(QLatin1String("*."))) {
        dialog.setDefaultSuffix(
            patterns.mid(2).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdU16String());
}

}  // namespace velmora
